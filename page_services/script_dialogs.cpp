#include "page_services/script_dialogs.h"

#include "page_services/engine_wait.h"
#include "page_services/page_marks.h"
#include "page_services/page_services.h"
#include "page_services/web_log.h"
#include "page_services/window_modality.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>
#include <optional>

namespace quillo::page_services {

namespace {

// The chooser's filters for what the page accepts (".pdf", "image/*", "text/plain"), then all files.
QStringList nameFilters(const QStringList& accepted) {
    QStringList patterns;
    const QMimeDatabase mimeTypes;
    for (const QString& entry : accepted) {
        if (entry.startsWith(QLatin1Char('.'))) {
            patterns << QLatin1Char('*') + entry;
        } else if (entry.endsWith(QLatin1String("/*"))) {
            const QString group = entry.chopped(1);
            for (const QMimeType& type : mimeTypes.allMimeTypes()) {
                if (type.name().startsWith(group))
                    patterns << type.globPatterns();
            }
        } else if (const QMimeType type = mimeTypes.mimeTypeForName(entry); type.isValid()) {
            patterns << type.globPatterns();
        }
    }
    patterns.removeDuplicates();
    if (patterns.isEmpty())
        return {};
    return {QObject::tr("Files the page accepts (%1)").arg(patterns.join(QLatin1Char(' '))),
            QObject::tr("All files (*)")};
}

// A box lays out all of its text; a page's 10 MB message would hold the client up doing so.
constexpr qsizetype kMaxShownChars = 2000;

} // namespace

ScriptDialogPage::ScriptDialogPage(QWebEngineProfile& profile, PageServices& services, QObject* parent)
    : QWebEnginePage(&profile, parent)
    , m_services(services) {
    // A box belongs to the page that asked; it goes when the window moves on or ends.
    connect(this, &QWebEnginePage::loadStarted, this, [this] {
        if (m_box)
            m_box->close();
        if (m_waiting)
            m_waiting->reject();
    });
}

ScriptDialogPage::~ScriptDialogPage() {
    delete m_box;
}

bool ScriptDialogPage::mayWaitForOperator() const {
    const QWebEngineView* view = QWebEngineView::forPage(this);
    // A page in no window holds up no console.
    return view == nullptr || view->window() == m_services.mainWindow();
}

QWidget* ScriptDialogPage::window() const {
    const QWebEngineView* view = QWebEngineView::forPage(this);
    return view != nullptr ? view->window() : nullptr;
}

void ScriptDialogPage::waitForOperator(QDialog& box, PageState page) {
    if (QWidget* owner = window())
        makeModalToWindowOnly(box, *owner);
    // The engine needs the answer before this call returns, so the loop runs inside its call. A
    // script dialog stops its page until then; a file chooser leaves the page running.
    std::optional<EngineWait> wait;
    if (page == PageState::Stopped)
        wait.emplace(box);
    const QPointer<ScriptDialogPage> self(this);
    m_waiting = &box;
    QEventLoop loop;
    connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    // The window and its box may go while the loop runs (the client ends).
    connect(&box, &QObject::destroyed, &loop, &QEventLoop::quit);
    box.show();
    loop.exec(QEventLoop::DialogExec);
    if (self)
        m_waiting = nullptr;
}

QString ScriptDialogPage::boxTitle(const QUrl& securityOrigin) {
    return tr("Message from %1").arg(PageServices::originText(securityOrigin));
}

QMessageBox* ScriptDialogPage::messageBox(const QUrl& securityOrigin, const QString& msg,
                                          QMessageBox::StandardButtons buttons) const {
    auto* box = new QMessageBox(buttons == QMessageBox::Ok ? QMessageBox::Information : QMessageBox::Question,
                                boxTitle(securityOrigin), msg.left(kMaxShownChars), buttons, window());
    box->setTextFormat(Qt::PlainText);
    return box;
}

void ScriptDialogPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg) {
    if (!mayWaitForOperator()) {
        showWithoutWaiting(securityOrigin, msg, false);
        return;
    }
    const QPointer<QMessageBox> box = messageBox(securityOrigin, msg, QMessageBox::Ok);
    waitForOperator(*box, PageState::Stopped);
    delete box.data();
}

bool ScriptDialogPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) {
    if (!mayWaitForOperator()) {
        showWithoutWaiting(securityOrigin, msg, true);
        return false;
    }
    const QPointer<QMessageBox> box = messageBox(securityOrigin, msg, QMessageBox::Ok | QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    waitForOperator(*box, PageState::Stopped);
    const bool confirmed = box && box->result() == QMessageBox::Ok;
    delete box.data();
    return confirmed;
}

bool ScriptDialogPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                        const QString& defaultValue, QString* result) {
    if (!mayWaitForOperator()) {
        showWithoutWaiting(securityOrigin, msg, true);
        return false;
    }
    const QPointer<QInputDialog> box = new QInputDialog(window());
    box->setWindowTitle(boxTitle(securityOrigin));
    box->setLabelText(msg.left(kMaxShownChars));
    box->setTextValue(defaultValue);
    waitForOperator(*box, PageState::Stopped);
    const bool answered = box && box->result() == QDialog::Accepted;
    if (answered && result != nullptr)
        *result = box->textValue();
    delete box.data();
    return answered;
}

QStringList ScriptDialogPage::chooseFiles(FileSelectionMode mode, const QStringList&,
                                          const QStringList& acceptedMimeTypes) {
    const QPointer<QFileDialog> box =
        new QFileDialog(window(), tr("Choose files for %1").arg(PageServices::originText(url())),
                        m_services.lastChosenFolder());
    switch (mode) {
    case FileSelectOpen:
        box->setFileMode(QFileDialog::ExistingFile);
        break;
    case FileSelectOpenMultiple:
        box->setFileMode(QFileDialog::ExistingFiles);
        break;
    case FileSelectUploadFolder:
        box->setFileMode(QFileDialog::Directory);
        break;
    case FileSelectSave:
        box->setFileMode(QFileDialog::AnyFile);
        box->setAcceptMode(QFileDialog::AcceptSave);
        break;
    }
    if (const QStringList filters = nameFilters(acceptedMimeTypes); !filters.isEmpty())
        box->setNameFilters(filters);
    waitForOperator(*box, PageState::Running);
    QStringList chosen;
    if (box && box->result() == QDialog::Accepted)
        chosen = box->selectedFiles();
    delete box.data();
    if (!chosen.isEmpty())
        m_services.setLastChosenFolder(QFileInfo(chosen.constFirst()).absolutePath());
    qCInfo(lcWeb) << "file chooser of" << PageServices::originText(url()) << "answered with" << chosen.size()
                  << "files";
    return chosen;
}

bool ScriptDialogPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    const QByteArray scheme = url.scheme().toLatin1();
    // Schemes the client gave the engine are loaded by it, not by the desktop.
    const bool clientScheme =
        !QWebEngineUrlScheme::schemeByName(scheme).name().isEmpty() || profile()->urlSchemeHandler(scheme);
    // The engine names no frame: a frame's navigation is told as one of its page's frames.
    const auto from = [&] {
        const QString page = PageServices::originText(this->url());
        return isMainFrame ? page : QStringLiteral("a frame of ") + page;
    };
    switch (clientScheme ? NavigationAction::Load : decideNavigation(scheme.toStdString())) {
    case NavigationAction::Load:
        m_services.prepareLoad(*this, url);
        break;
    case NavigationAction::HandToDesktop:
        qCInfo(lcWeb).noquote() << "mail address from" << from() << "handed to the desktop";
        break;
    case NavigationAction::Refuse:
        qCInfo(lcWeb).noquote() << "navigation to" << logged(url) << "from" << from()
                                << "refused: it would start another program of the desktop";
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

void ScriptDialogPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                                int, const QString&) {
    m_services.noteConsoleMessage(*this, level, message);
}

void ScriptDialogPage::showWithoutWaiting(const QUrl& securityOrigin, const QString& msg,
                                          bool answeredCancel) {
    if (m_box) {
        ++m_notShown;
        return;
    }
    const QString origin = PageServices::originText(securityOrigin);
    qCInfo(lcWeb) << (answeredCancel ? "question" : "message") << "from" << origin
                  << (answeredCancel ? "shown without waiting and answered Cancel" : "shown without waiting");
    auto* box = messageBox(securityOrigin, msg, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A message box is modal to the whole client unless told otherwise.
    box->setWindowModality(Qt::NonModal);
    if (answeredCancel)
        box->setInformativeText(tr("The page's question was answered Cancel: a window's question never "
                                   "holds up the console."));
    connect(box, &QObject::destroyed, this, [this, origin] {
        if (m_notShown > 0)
            qCInfo(lcWeb) << m_notShown << "further dialogs from" << origin << "were not shown";
        m_notShown = 0;
    });
    m_box = box;
    box->show();
}

} // namespace quillo::page_services
