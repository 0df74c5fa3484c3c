#include "app/chat_app.h"

#include "browser_host/custom_occ_manager.h"
#include "browser_host/external_dispatch.h"
#include "browser_host/page_origin.h"
#include "main_window/chat_main_dlg.h"
#include "main_window/settings_store.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QUrl>
#include <QWebEngineProfile>

namespace {

// The pages that may drive the client: the start page's origin, the stored address's, and the
// chat service's and the maker's hosts. The address is read on its own so that reading it leaves
// the main window's record of missing settings alone.
quillo::OriginTrust trustedOrigins(const QString& startPage) {
    quillo::OriginTrust trust;
    trust.trustOrigin(quillo::OriginOfUrl(QUrl(startPage, QUrl::TolerantMode)));
    const std::unique_ptr<quillo::SettingsBackend> settings = quillo::createUserSettingsBackend();
    char url[quillo::kUrlBufferSize] = {};
    bool missing = false;
    if (quillo::ReadSetting(*settings, quillo::kSettingsKey, url, quillo::kUrlValue, sizeof url, missing) ==
            quillo::kErrorSuccess &&
        !missing)
        trust.trustOrigin(quillo::OriginOfUrl(QUrl(QString::fromUtf8(url), QUrl::TolerantMode)));
    const quillo::StartPageHosts hosts = CChatMainDlg::defaultHosts();
    trust.trustHost(hosts.chatHost);
    trust.trustHost(hosts.makerHost);
    return trust;
}

} // namespace

CChatApp::CChatApp() = default;

CChatApp::~CChatApp() {
    AfxEnableControlContainer(nullptr);
}

bool CChatApp::InitInstance() {
    // One profile for the run, on disk, so the operator stays logged in from one day to the next.
    m_profile = std::make_unique<QWebEngineProfile>(QStringLiteral("Quillo"));

    // window.external and the site factory exist before any browser does.
    m_pExternal =
        std::make_unique<CExternalDispatch>([this]() -> quillo::ExternalTarget* { return m_pMainWnd; });
    m_occManager = std::make_unique<CCustomOccManager>(*m_profile, *m_pExternal);
    // The context menu's commands on the main window's browser come here, as the application's
    // commands; every other browser's menu acts on its own browser.
    m_occManager->setCommandRouter([this](CWebBrowser2& browser, CCustomOccManager::Command command) {
        if (m_pMainWnd == nullptr || m_pMainWnd->browser() != &browser)
            return false;
        if (command == CCustomOccManager::Command::Refresh)
            OnRefresh();
        else
            OnBack();
        return true;
    });
    AfxEnableControlContainer(m_occManager.get());

    {
        CChatMainDlg dialog;
        m_pMainWnd = &dialog;
        // The start page is known once the dialog is initialised; the trusted origins must be in
        // place before the event loop lets its first document come in.
        dialog.OnInitDialog();
        m_occManager->setTrustedOrigins(trustedOrigins(dialog.startPage()));
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    return false;
}

void CChatApp::OnRefresh() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->RefreshPage();
}

void CChatApp::OnBack() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->GoBackPage();
}

void CChatApp::ActivateMainWindow() {
    if (m_pMainWnd == nullptr)
        return;
    m_pMainWnd->setWindowState(m_pMainWnd->windowState() & ~Qt::WindowMinimized);
    m_pMainWnd->show();
    m_pMainWnd->raise();
    m_pMainWnd->activateWindow();
    // Activation is the window manager's to grant; if it did not, the window asks for attention.
    QTimer::singleShot(500, m_pMainWnd, [window = m_pMainWnd] {
        if (!window->isActiveWindow())
            QApplication::alert(window);
    });
}

void CChatApp::EndSession() {
    if (m_pMainWnd == nullptr)
        return;
    // Message boxes, the about box and secondary windows first, innermost loops before the main one.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog != m_pMainWnd && dialog->isVisible())
            dialog->reject();
    }
    m_pMainWnd->OnCancel();
}
