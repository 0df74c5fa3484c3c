#include "web/script_dialogs.h"

#include "web/engine_wait.h"
#include "web/web_log.h"
#include "web/web_platform.h"

#include <QMessageBox>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>

namespace quillo::web {

namespace {

// A box lays out all of its text; a page's 10 MB message would hold the client up doing so.
constexpr qsizetype kMaxShownChars = 2000;

} // namespace

ScriptDialogPage::ScriptDialogPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    // A box belongs to the page that asked; it goes when the window moves on or ends.
    connect(this, &QWebEnginePage::loadStarted, this, [this] {
        if (m_box)
            m_box->close();
    });
}

ScriptDialogPage::~ScriptDialogPage() {
    delete m_box;
}

bool ScriptDialogPage::mayWaitForOperator() const {
    const WebPlatform* platform = WebPlatform::of(*profile());
    const QWebEngineView* view = QWebEngineView::forPage(this);
    // Without the client around it (a bare browser) there is no console to keep running.
    return platform == nullptr || view == nullptr || view->window() == platform->mainWindow();
}

void ScriptDialogPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg) {
    if (mayWaitForOperator()) {
        const EngineWait wait;
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
    } else
        showWithoutWaiting(securityOrigin, msg, false);
}

bool ScriptDialogPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) {
    if (mayWaitForOperator()) {
        const EngineWait wait;
        return QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
    }
    showWithoutWaiting(securityOrigin, msg, true);
    return false;
}

bool ScriptDialogPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                        const QString& defaultValue, QString* result) {
    if (mayWaitForOperator()) {
        const EngineWait wait;
        return QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
    }
    showWithoutWaiting(securityOrigin, msg, true);
    return false;
}

bool ScriptDialogPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    const QByteArray scheme = url.scheme().toLatin1();
    // Schemes the client gave the engine are loaded by it, not by the desktop.
    const bool clientScheme =
        !QWebEngineUrlScheme::schemeByName(scheme).name().isEmpty() || profile()->urlSchemeHandler(scheme);
    switch (clientScheme ? NavigationAction::Load : DecideNavigation(scheme.toStdString())) {
    case NavigationAction::Load:
        break;
    case NavigationAction::HandToDesktop:
        qCInfo(lcWeb).noquote() << "mail address from" << WebPlatform::originText(this->url())
                                << "handed to the desktop";
        break;
    case NavigationAction::Refuse:
        qCInfo(lcWeb).noquote() << "navigation to" << url.toDisplayString() << "from"
                                << WebPlatform::originText(this->url())
                                << "refused: it would start another program of the desktop";
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

void ScriptDialogPage::showWithoutWaiting(const QUrl& securityOrigin, const QString& msg,
                                          bool answeredCancel) {
    if (m_box) {
        ++m_notShown;
        return;
    }
    const QString origin = WebPlatform::originText(securityOrigin);
    qCInfo(lcWeb) << (answeredCancel ? "question" : "message") << "from" << origin
                  << (answeredCancel ? "shown without waiting and answered Cancel" : "shown without waiting");
    QWebEngineView* view = QWebEngineView::forPage(this);
    auto* box = new QMessageBox(QMessageBox::Information, tr("Message from %1").arg(origin),
                                msg.left(kMaxShownChars), QMessageBox::Ok, view ? view->window() : nullptr);
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

} // namespace quillo::web
