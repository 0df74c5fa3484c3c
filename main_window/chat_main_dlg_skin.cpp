#include "main_window/chat_main_dlg.h"

#include "browser_host/web_browser2.h"

#include <QMouseEvent>
#include <QResizeEvent>

// The skinned frame: bitmap pieces, caption buttons and labels around the browser.

void CChatMainDlg::CreateSkinControls() {}

void CChatMainDlg::LayoutSkin() {
    if (m_browser != nullptr)
        m_browser->setGeometry(10, 76, std::max(0, width() - 20), std::max(0, height() - 110));
}

void CChatMainDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutSkin();
}

void CChatMainDlg::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
}
void CChatMainDlg::mouseMoveEvent(QMouseEvent* event) {
    QDialog::mouseMoveEvent(event);
}
void CChatMainDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
}
