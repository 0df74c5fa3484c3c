#pragma once

#include "notification/request_notice.h"

#include <QObject>
#include <memory>

class CChatNotifyDlg;

namespace quillo {
class DesktopNotifications;
}

namespace quillo::notify {

// Shows each chat request of the popup also as a desktop notification that stays, is urgent and
// carries an Accept button that accepts as the popup's accept area does, even after the popup's
// display time. It goes when the request is accepted or dismissed, when a newer request takes its
// place, and with the client. Without a notification service the popup alone shows the request.
// Lives as a child of the popup it doubles.
class ChatRequestNotice final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChatRequestNotice)

public:
    ChatRequestNotice(CChatNotifyDlg& popup, std::unique_ptr<DesktopNotifications> desktop);
    ~ChatRequestNotice() override;

signals:
    // The operator accepted on the notice after the popup had gone: the console is to accept.
    void acceptedWithoutPopup();

private:
    void onRequestShown(const QString& text);
    void onPopupEnded(PopupEnd end);
    void onAccept();

    CChatNotifyDlg& m_popup;
    std::unique_ptr<DesktopNotifications> m_desktop;
    RequestNotice m_notice;
    bool m_toldNoService = false;
};

} // namespace quillo::notify
