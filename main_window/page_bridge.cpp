#include "main_window/chat_main_dlg.h"

#include "browser_host/web_browser2.h"

// The page bridge: what the main window reads from and writes into the chat service's page.

void CChatMainDlg::OnDocumentComplete() {}

void CChatMainDlg::TriggerAccept() {}

void CChatMainDlg::RefreshPage() {
    if (m_browser != nullptr)
        m_browser->Refresh();
}

void CChatMainDlg::GoBackPage() {
    // No earlier page is the usual failure; it is dropped without a word to the operator.
    if (m_browser != nullptr)
        m_browser->GoBack();
}
