#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
class QWebEngineDownloadRequest;

namespace quillo::page_services {

// A small window that follows one download: its progress, then the saved file with a way to its
// folder, or why it did not arrive. It never blocks the operator's work. The download's owner says
// when the file has reached its place, since a finished transfer is not yet a saved file.
class DownloadNotice final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadNotice)

public:
    // path is where the download is to be saved.
    DownloadNotice(QWebEngineDownloadRequest& download, const QString& path, QWidget* parent);
    ~DownloadNotice() override;

    // The download as the engine now reports it, after it started the download over.
    void follow(QWebEngineDownloadRequest& download);
    // The file has arrived at path.
    void showSaved(const QString& path);
    // The file did not arrive, for the reason given.
    void showFailed(const QString& reason);

private:
    void update();
    void showFinished();
    void openFolder();

    QPointer<QWebEngineDownloadRequest> m_download;
    QString m_path;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_openFolder = nullptr;
    QPushButton* m_cancelOrClose = nullptr;
};

} // namespace quillo::page_services
