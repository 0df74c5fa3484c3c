#include "page_services/download_manager.h"

#include "page_services/download_notice.h"
#include "page_services/web_log.h"
#include "page_services/web_policy.h"
#include "platform/file_move.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quillo::page_services {

namespace {

QString engineFile(const QString& partial) {
    return partial + QString::fromLatin1(kEngineSuffix.data(), qsizetype(kEngineSuffix.size()));
}

// A name is taken by anything at its path, a link to a missing file included.
bool anythingAt(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() || info.exists();
}

// Tries a name a few times: something may appear between the check and the move.
constexpr int kMoveAttempts = 3;
// How long a cancelled download's files are looked after when the engine does not report its end.
constexpr int kDropGraceMs = 5000;

} // namespace

// A page's downloads: its gate, for as long as the page lives, so a page made later, wherever it
// lives, starts with a gate of its own. Its end tells the manager, which drops the page's open
// questions.
class PageDownloads final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageDownloads)

public:
    PageDownloads(QWebEnginePage& page, std::function<void(PageDownloads&)> gone)
        : QObject(&page)
        , m_gone(std::move(gone)) {}
    ~PageDownloads() override { m_gone(*this); }

    DownloadGate gate;

private:
    std::function<void(PageDownloads&)> m_gone;
};

DownloadManager::DownloadManager(DialogParent dialogParent, QObject* parent)
    : QObject(parent)
    , m_dialogParent(std::move(dialogParent)) {
    m_clock.start();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

// The profile deletes this while it is itself being destroyed, when neither it nor its downloads
// may be called: only the files are cleaned up here.
DownloadManager::~DownloadManager() {
    const std::map<quint32, Pending> pending = std::move(m_pending);
    m_pending.clear();
    for (const auto& [id, entry] : pending) {
        removeFiles(entry.partial);
        delete entry.question.data();
    }
}

QString DownloadManager::downloadFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!folder.isEmpty() && QDir::isAbsolutePath(folder)) {
        if (QFileInfo(folder).isDir())
            return folder;
        if (QDir().mkpath(folder)) {
            qCInfo(lcWeb) << "download folder" << folder << "was missing and has been created";
            return folder;
        }
    }
    if (!m_folderFailureLogged) {
        m_folderFailureLogged = true;
        qCInfo(lcWeb) << "download folder" << folder << "could not be created; downloads go to"
                      << QDir::homePath();
    }
    return QDir::homePath();
}

bool DownloadManager::isTaken(const QString& path) const {
    return anythingAt(path) || m_reserved.count(QDir::cleanPath(path)) > 0;
}

void DownloadManager::removeFiles(const QString& partial) {
    for (const QString& path : {partial, engineFile(partial)}) {
        const QFileInfo info(path);
        if (info.isFile() && !info.isSymLink())
            QFile::remove(path);
    }
}

void DownloadManager::unreserve(const QString& partial) {
    m_reserved.erase(partial);
    m_reserved.erase(engineFile(partial));
}

void DownloadManager::onDownloadRequested(QWebEngineDownloadRequest* download) {
    if (download == nullptr || download->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    if (m_pending.count(download->id()) > 0) {
        restart(download);
        return;
    }
    QWebEnginePage* page = download->page();
    PageDownloads* owner = page != nullptr ? &pageState(*page) : nullptr;
    DownloadGate& gate = owner != nullptr ? owner->gate : m_pagelessGate;
    const QString url = download->url().toDisplayString();
    switch (gate.request(m_clock.elapsed())) {
    case DownloadVerdict::Ask:
        break;
    case DownloadVerdict::Refuse:
        qCInfo(lcWeb) << "download of" << url << "refused:"
                      << (gate.refusalReason() == RefusalReason::QuestionOpen
                              ? "the operator has not yet answered its page's question about an earlier one"
                              : "the operator declined its page's last download and has not clicked or typed "
                                "in the page since");
        download->cancel();
        return;
    case DownloadVerdict::RefuseQuietly:
        download->cancel();
        return;
    }
    logQuietRefusals(gate);

    const QString folder = downloadFolder();
    const std::string name = safeDownloadName(download->downloadFileName().toStdString());
    const auto taken = [this, &folder](const std::string& candidate) {
        return isTaken(QDir(folder).filePath(QString::fromStdString(candidate)));
    };
    const std::optional<std::string> partialName = freePartialName(name, taken);
    if (!partialName) {
        qCInfo(lcWeb) << "download of" << url << "refused: no free name in" << folder;
        gate.questionClosed(false);
        download->cancel();
        return;
    }
    const QString partial = QDir::cleanPath(QDir(folder).filePath(QString::fromStdString(*partialName)));
    m_reserved.insert(partial);
    m_reserved.insert(engineFile(partial));
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(QString::fromStdString(*partialName));
    download->accept();

    const quint32 id = download->id();
    Pending& pending = m_pending[id];
    pending.download = download;
    pending.owner = owner;
    pending.fromPage = owner != nullptr;
    pending.url = url;
    pending.partial = partial;
    follow(id);
    qCInfo(lcWeb) << "download of" << url << "fetched into" << partial << "while the operator is asked";
    ask(id, page, folder, QString::fromStdString(freeDownloadName(name, taken).value_or(name)));
}

void DownloadManager::follow(quint32 id) {
    QWebEngineDownloadRequest* download = m_pending.at(id).download;
    // The engine reports the end state before it marks the download finished; a cancel of an
    // interrupted download only changes the state.
    connect(download, &QWebEngineDownloadRequest::stateChanged, this, [this, id] { onStateChanged(id); });
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this,
            [this, id] { onStateChanged(id); });
}

void DownloadManager::restart(QWebEngineDownloadRequest* download) {
    // After a broken connection the engine may start a download over from the beginning, as a new
    // request for the same download: it goes on into the same partial file, under the same answer.
    const quint32 id = download->id();
    Pending& pending = m_pending.at(id);
    if (pending.download)
        pending.download->disconnect(this);
    pending.download = download;
    if (pending.stage == Stage::Dropping) {
        download->cancel();
        finish(id);
        return;
    }
    const QFileInfo partial(pending.partial);
    download->setDownloadDirectory(partial.absolutePath());
    download->setDownloadFileName(partial.fileName());
    download->accept();
    follow(id);
    if (pending.notice)
        pending.notice->follow(*download);
    qCInfo(lcWeb) << "download of" << pending.url << "started over by the engine";
}

void DownloadManager::ask(quint32 id, const QWebEnginePage* page, const QString& folder,
                          const QString& name) {
    auto* question = new QFileDialog(m_dialogParent(page), tr("Save download"));
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setAcceptMode(QFileDialog::AcceptSave);
    question->setFileMode(QFileDialog::AnyFile);
    // An existing name is never replaced: the file gets a free one, so there is nothing to confirm.
    question->setOption(QFileDialog::DontConfirmOverwrite);
    question->setDirectory(folder);
    question->selectFile(name);
    // Modal to nothing: the console, its chat requests and the popup go on while the question waits.
    question->setWindowModality(Qt::NonModal);
    connect(question, &QDialog::finished, this,
            [this, id](int result) { onAnswer(id, result == QDialog::Accepted); });
    // Its window can go with the question still open.
    connect(question, &QObject::destroyed, this, [this, id] { onQuestionGone(id); });
    Pending& pending = m_pending.at(id);
    pending.question = question;
    pending.target = QDir(folder).filePath(name);
    question->show();
    // The keys go to the question, as they would to a browser's; the window manager may say no.
    question->raise();
    question->activateWindow();
}

void DownloadManager::closeQuestion(Pending& pending, bool declined) {
    if (DownloadGate* gate = gateOf(pending)) {
        gate->questionClosed(declined);
        logQuietRefusals(*gate);
    }
    if (QFileDialog* question = pending.question) {
        pending.question = nullptr;
        question->disconnect(this);
        // Later: this may run while the page's window is taking itself apart.
        question->deleteLater();
    }
}

void DownloadManager::onAnswer(quint32 id, bool save) {
    const auto found = m_pending.find(id);
    if (found == m_pending.end() || found->second.stage != Stage::Asking)
        return;
    Pending& pending = found->second;
    const QStringList chosen = pending.question ? pending.question->selectedFiles() : QStringList();
    if (!save || chosen.isEmpty()) {
        qCInfo(lcWeb) << "download of" << pending.url << "declined by the operator";
        closeQuestion(pending, true);
        drop(id);
        return;
    }
    closeQuestion(pending, false);
    pending.stage = Stage::Saving;
    pending.target = chosen.constFirst();
    if (pending.download) {
        pending.notice = new DownloadNotice(*pending.download, pending.target, m_dialogParent(nullptr));
        pending.notice->show();
    }
    // Otherwise the file moves when the transfer ends.
    if (pending.download && pending.download->state() == QWebEngineDownloadRequest::DownloadCompleted)
        moveIntoPlace(id);
}

void DownloadManager::onQuestionGone(quint32 id) {
    const auto found = m_pending.find(id);
    if (found == m_pending.end() || found->second.stage != Stage::Asking)
        return;
    qCInfo(lcWeb) << "download of" << found->second.url << "dropped: its question closed with its window";
    found->second.question = nullptr;
    closeQuestion(found->second, false);
    drop(id);
}

void DownloadManager::onStateChanged(quint32 id) {
    const auto found = m_pending.find(id);
    if (found == m_pending.end())
        return;
    Pending& pending = found->second;
    if (!pending.download) {
        finish(id);
        return;
    }
    const QWebEngineDownloadRequest::DownloadState state = pending.download->state();
    // An interruption that the engine may still resume by itself is not the end.
    if (!pending.download->isFinished() && state != QWebEngineDownloadRequest::DownloadCancelled)
        return;
    if (pending.stage == Stage::Dropping) {
        finish(id);
        return;
    }
    if (state == QWebEngineDownloadRequest::DownloadCompleted) {
        // While the operator is still asked, the complete partial file waits for the answer.
        if (pending.stage == Stage::Saving)
            moveIntoPlace(id);
        return;
    }
    const QString reason = state == QWebEngineDownloadRequest::DownloadCancelled
                               ? tr("it was cancelled")
                               : pending.download->interruptReasonString();
    qCInfo(lcWeb) << "download of" << pending.url << "did not arrive:" << reason;
    if (pending.stage == Stage::Asking) {
        // Nothing is left to save: the question goes, and a notice says why.
        closeQuestion(pending, false);
        auto* notice = new DownloadNotice(*pending.download, pending.target, m_dialogParent(nullptr));
        notice->showFailed(reason);
        notice->show();
    }
    finish(id);
}

void DownloadManager::moveIntoPlace(quint32 id) {
    Pending& pending = m_pending.at(id);
    const QFileInfo chosen(pending.target);
    const QString folder = chosen.absolutePath();
    const std::string name = safeDownloadName(chosen.fileName().toStdString());
    QString path;
    FileMoveResult result = FileMoveResult::Taken;
    for (int attempt = 0; attempt < kMoveAttempts && result == FileMoveResult::Taken; ++attempt) {
        // The name is chosen now, not when the operator answered: anything that has appeared
        // meanwhile, a dangling link included, keeps its place.
        const std::optional<std::string> free = freeDownloadName(name, [&](const std::string& candidate) {
            return isTaken(QDir(folder).filePath(QString::fromStdString(candidate)));
        });
        if (!free)
            break;
        path = QDir::cleanPath(QDir(folder).filePath(QString::fromStdString(*free)));
        result = moveFileWithoutReplacing(pending.partial, path);
    }
    if (result == FileMoveResult::Moved) {
        qCInfo(lcWeb) << "download of" << pending.url << "saved as" << path;
        if (pending.notice)
            pending.notice->showSaved(path);
    } else {
        // The operator's file is kept where it is rather than lost.
        qCInfo(lcWeb) << "download of" << pending.url << "could not be saved in" << folder << "- kept as"
                      << pending.partial;
        if (pending.notice)
            pending.notice->showFailed(tr("it could not be saved in %1 and is kept as %2")
                                           .arg(folder, QDir::toNativeSeparators(pending.partial)));
        unreserve(pending.partial);
        forget(id);
        return;
    }
    finish(id);
}

void DownloadManager::drop(quint32 id) {
    Pending& pending = m_pending.at(id);
    pending.stage = Stage::Dropping;
    if (!pending.download || pending.download->isFinished() ||
        pending.download->state() == QWebEngineDownloadRequest::DownloadCancelled) {
        finish(id);
        return;
    }
    const QString partial = pending.partial;
    pending.download->cancel();
    // The files go now where the system lets them, and again when the engine has let go of them:
    // it says so when it has, except for a download whose page has gone, so a timer stands in.
    if (m_pending.count(id) > 0) {
        removeFiles(partial);
        QTimer::singleShot(kDropGraceMs, this, [this, id] { finish(id); });
    }
}

void DownloadManager::finish(quint32 id) {
    if (const std::optional<QString> partial = forget(id)) {
        removeFiles(*partial);
        unreserve(*partial);
    }
}

std::optional<QString> DownloadManager::forget(quint32 id) {
    const auto found = m_pending.find(id);
    if (found == m_pending.end())
        return std::nullopt;
    const QString partial = found->second.partial;
    if (found->second.download)
        found->second.download->disconnect(this);
    m_pending.erase(found);
    return partial;
}

PageDownloads& DownloadManager::pageState(QWebEnginePage& page) {
    if (auto* state = page.findChild<PageDownloads*>(QString(), Qt::FindDirectChildrenOnly))
        return *state;
    return *new PageDownloads(page, [manager = QPointer<DownloadManager>(this)](PageDownloads& state) {
        if (manager)
            manager->onPageGone(state);
    });
}

DownloadGate* DownloadManager::gateOf(const Pending& pending) {
    if (!pending.fromPage)
        return &m_pagelessGate;
    return pending.owner ? &pending.owner->gate : nullptr;
}

void DownloadManager::logQuietRefusals(DownloadGate& gate) {
    if (const int quiet = gate.takeQuietRefusals(); quiet > 0)
        qCInfo(lcWeb) << quiet << "further downloads of the same page refused for the same reason";
}

// Called as the page's state goes with the page, so the questions still know it as theirs.
void DownloadManager::onPageGone(PageDownloads& state) {
    std::vector<quint32> asking;
    for (const auto& [id, pending] : m_pending) {
        if (pending.owner == &state && pending.stage == Stage::Asking)
            asking.push_back(id);
    }
    for (const quint32 id : asking) {
        Pending& pending = m_pending.at(id);
        qCInfo(lcWeb) << "download of" << pending.url
                      << "dropped: its page went away before the operator answered";
        closeQuestion(pending, false);
        drop(id);
    }
    logQuietRefusals(state.gate);
}

bool DownloadManager::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) &&
        watched->isWidgetType()) {
        for (QObject* object = watched; object != nullptr; object = object->parent()) {
            if (const auto* view = qobject_cast<QWebEngineView*>(object)) {
                if (QWebEnginePage* page = view->page())
                    pageState(*page).gate.operatorActed(m_clock.elapsed());
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillo::page_services

#include "download_manager.moc"
