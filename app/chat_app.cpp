#include "app/chat_app.h"

#include "browser_host/custom_occ_manager.h"
#include "browser_host/external_dispatch.h"
#include "main_window/chat_main_dlg.h"

#include <QWebEngineProfile>

namespace {
CChatApp* s_pApp = nullptr;
}

CChatApp::CChatApp() {
    s_pApp = this;
}

CChatApp::~CChatApp() {
    AfxEnableControlContainer(nullptr);
    if (s_pApp == this)
        s_pApp = nullptr;
}

CChatApp* CChatApp::instance() {
    return s_pApp;
}

bool CChatApp::InitInstance() {
    // One profile for the run, on disk, so the operator stays logged in from one day to the next.
    m_profile = std::make_unique<QWebEngineProfile>(QStringLiteral("Quillo"));

    // window.external and the site factory exist before any browser does.
    m_external =
        std::make_unique<CExternalDispatch>([this]() -> quillo::ExternalTarget* { return m_pMainWnd; });
    m_pExternal = m_external.get();
    m_occManager = std::make_unique<CCustomOccManager>(*m_profile, *m_external);
    AfxEnableControlContainer(m_occManager.get());

    {
        CChatMainDlg dialog;
        m_pMainWnd = &dialog;
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

// The program brings no help content, so the help command has nothing to show.
void CChatApp::OnHelp() {}
