#include "notification/chat_notify_dlg.h"

CChatNotifyDlg::CChatNotifyDlg(QWidget* owner)
    : QWidget(nullptr) {
    Q_UNUSED(owner);
}

CChatNotifyDlg::~CChatNotifyDlg() = default;

bool CChatNotifyDlg::ShowNotification(std::string) {
    return true;
}
