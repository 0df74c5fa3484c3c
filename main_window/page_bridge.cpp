// The page bridge: what the main window reads from and writes into the chat service's page.

#include "main_window/chat_main_dlg.h"

#include "browser_host/custom_occ_manager.h"
#include "browser_host/element_walk.h"
#include "browser_host/web_browser2.h"
#include "page_services/engine_wait.h"
#include "page_services/page_origin.h"
#include "settings/settings_store.h"

#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>

// Only the chat service's own pages may change the operator's order number: a visitor's site
// that happens to carry the element must not decide where the next start leads.
bool CChatMainDlg::mayStoreOrderNumber(const QUrl& page) const {
    return m_siteFactory != nullptr && quillo::isTrustedPage(m_siteFactory->services().trust, page);
}

void CChatMainDlg::OnDocumentComplete() {
    QWebEnginePage* document = m_browser != nullptr ? m_browser->GetDocument() : nullptr;
    if (document == nullptr)
        return;
    QPointer<CChatMainDlg> self(this);
    QPointer<QWebEnginePage> page(document);
    const QUrl scanned = document->url();
    quillo::runElementWalk(
        *document, quillo::ElementWalk::Scan, [self, page, scanned](const QStringList& orderTexts) {
            if (self.isNull() || page.isNull())
                return;
            // The page may have moved on while the walk ran; both addresses must be the
            // service's.
            if (!self->mayStoreOrderNumber(scanned) || !self->mayStoreOrderNumber(page->url()))
                return;
            // Every non-empty one is stored, in document order, so the last of them is
            // what remains and an empty element keeps what an earlier page stored. The
            // text is kept as it stands.
            for (const QString& text : orderTexts) {
                if (!text.isEmpty())
                    self->WriteSetting(text.toStdString().c_str(), quillo::kOrderIdValue);
            }
        });
}

void CChatMainDlg::TriggerAccept() {
    QWebEnginePage* document = m_browser != nullptr ? m_browser->GetDocument() : nullptr;
    if (document == nullptr)
        return;
    // While a box that the engine waits on is open (the console's own alert, a file chooser), no
    // page takes anything. The accept is kept until the box is answered, and the box comes
    // forward, so the operator sees what holds the chat.
    if (QWidget* box = quillo::page_services::EngineWait::box()) {
        if (m_pendingAccepts++ == 0)
            quillo::page_services::EngineWait::whenOver(*this, [this] { runPendingAccepts(); });
        qCInfo(lcMainWindow) << "accept kept until the box the engine waits on is answered";
        box->raise();
        box->activateWindow();
        return;
    }
    quillo::runElementWalk(*document, quillo::ElementWalk::Accept);
}

void CChatMainDlg::runPendingAccepts() {
    for (int n = std::exchange(m_pendingAccepts, 0); n > 0; --n)
        TriggerAccept();
}

void CChatMainDlg::RefreshPage() {
    if (m_browser != nullptr)
        m_browser->Refresh();
}

void CChatMainDlg::GoBackPage() {
    // No earlier page is the usual failure; it is dropped without a word to the operator.
    if (m_browser != nullptr)
        m_browser->GoBack();
}
