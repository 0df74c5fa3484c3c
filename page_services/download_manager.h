#pragma once

#include "page_services/download_policy.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <set>

class QFileDialog;
class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWidget;

namespace quillo::page_services {

class DownloadNotice;
class PageDownloads;

// Saves what pages download without ever holding up the engine, which runs every page, the
// console's too, on the client's one thread: a download is accepted within the engine's call into
// a partial file in the download folder, and the operator is asked where to save it in a window
// that waits on its own. The answer moves the partial file to its place, or drops it.
class DownloadManager final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadManager)

public:
    // The window that questions about a page's downloads belong to; for no page, the main window.
    using DialogParent = std::function<QWidget*(const QWebEnginePage* page)>;

    DownloadManager(DialogParent dialogParent, QObject* parent);
    ~DownloadManager() override;

    // For the profile's downloadRequested: decides within the call and never waits.
    void onDownloadRequested(QWebEngineDownloadRequest* download);

    // Where downloads go first: the desktop's download folder, made when missing as a browser
    // does; the home folder only when it cannot be made. Never the working directory.
    QString downloadFolder();

protected:
    // Notes the operator's clicks and keys in pages: only a download that the operator started
    // reopens a page's questions after the operator declined one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Stage {
        // The question is open; the transfer goes on into the partial file meanwhile.
        Asking,
        // The operator chose a place; the file moves there once the transfer has ended.
        Saving,
        // Cancelled; the partial file goes once the engine has let go of it.
        Dropping,
    };
    struct Pending {
        QPointer<QWebEngineDownloadRequest> download;
        // The page's state, which the page owns; null for a download of no page, and once the
        // page has gone.
        QPointer<PageDownloads> owner;
        bool fromPage = false;
        QString url;
        QString partial;
        Stage stage = Stage::Asking;
        QPointer<QFileDialog> question;
        // The offered place while asking, the operator's choice after.
        QString target;
        QPointer<DownloadNotice> notice;
    };

    void follow(quint32 id);
    void restart(QWebEngineDownloadRequest* download);
    void ask(quint32 id, const QWebEnginePage* page, const QString& folder, const QString& name);
    void onAnswer(quint32 id, bool save);
    void onQuestionGone(quint32 id);
    void onStateChanged(quint32 id);
    void moveIntoPlace(quint32 id);
    // Cancels the download, closes its question and removes its partial file.
    void drop(quint32 id);
    // Forgets the download and removes its partial file.
    void finish(quint32 id);
    // Forgets the download and leaves its files; its partial file's path, if it was known.
    std::optional<QString> forget(quint32 id);
    void closeQuestion(Pending& pending, bool declined);
    // The page's download state, made on first use.
    PageDownloads& pageState(QWebEnginePage& page);
    // The gate the download went through; null once its page has gone.
    DownloadGate* gateOf(const Pending& pending);
    void logQuietRefusals(DownloadGate& gate);
    void onPageGone(PageDownloads& state);
    bool isTaken(const QString& path) const;
    void removeFiles(const QString& partial);
    void unreserve(const QString& partial);

    DialogParent m_dialogParent;
    // Downloads of no page share one gate.
    DownloadGate m_pagelessGate;
    QElapsedTimer m_clock;
    std::map<quint32, Pending> m_pending;
    // Partial files of this run, taken before the engine has created them.
    std::set<QString> m_reserved;
    bool m_folderFailureLogged = false;
};

} // namespace quillo::page_services
