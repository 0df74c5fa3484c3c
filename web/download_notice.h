#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
class QWebEngineDownloadRequest;

namespace quillo::web {

// A small window that follows one download: its progress, then the finished file with a way to
// its folder, or why it did not arrive. It never blocks the operator's work.
class DownloadNotice final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadNotice)

public:
    static constexpr char kTitle[] = "Download";
    static constexpr char kOpenFolder[] = "Open folder";

    // path is where the accepted download is being saved.
    DownloadNotice(QWebEngineDownloadRequest& download, const QString& path, QWidget* parent);
    ~DownloadNotice() override;

private:
    void update();
    void openFolder();

    QPointer<QWebEngineDownloadRequest> m_download;
    QString m_path;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_openFolder = nullptr;
    QPushButton* m_cancelOrClose = nullptr;
};

} // namespace quillo::web
