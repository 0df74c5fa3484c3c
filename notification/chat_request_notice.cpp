#include "notification/chat_request_notice.h"

#include "notification/chat_notify_dlg.h"
#include "platform/desktop_notifications.h"
#include "resources/resource_loader.h"
#include "resources/resource_strings.h"

#include <QLoggingCategory>
#include <QPointer>

Q_LOGGING_CATEGORY(lcRequestNotice, "quillo.notification", QtInfoMsg)

namespace quillo::notify {

ChatRequestNotice::ChatRequestNotice(CChatNotifyDlg& popup, std::unique_ptr<DesktopNotifications> desktop)
    : QObject(&popup)
    , m_popup(popup)
    , m_desktop(std::move(desktop)) {
    connect(&popup, &CChatNotifyDlg::requestShown, this, &ChatRequestNotice::onRequestShown);
    connect(&popup, &CChatNotifyDlg::requestEnded, this, &ChatRequestNotice::onPopupEnded);
    connect(m_desktop.get(), &DesktopNotifications::actionInvoked, this,
            [this](quint32 id, const QString& action) {
                if (!m_notice.actionInvoked(id, action.toStdString()))
                    return;
                qCInfo(lcRequestNotice) << "chat request accepted from its desktop notification" << id;
                onAccept();
            });
    connect(m_desktop.get(), &DesktopNotifications::closed, this,
            [this](quint32 id) { m_notice.closedByService(id); });
    qCInfo(lcRequestNotice) << "chat requests are also shown as desktop notifications";
}

// The desktop notifications close what is still up as they go, before the client ends.
ChatRequestNotice::~ChatRequestNotice() = default;

void ChatRequestNotice::onRequestShown(const QString& text) {
    const RequestNotice::Serial serial = m_notice.requestShown();
    // Urgent and without expiry: a request must not leave the screen unanswered.
    const DesktopNotifications::Notification notification{
        .appName = QString::fromLatin1(res::kMainWindowTitle),
        .title = tr("Chat request"),
        .body = text,
        .icon = res::loadAppIcon().pixmap(48, 48).toImage(),
        .actions = {{QString::fromUtf8(kAcceptAction.data(), qsizetype(kAcceptAction.size())), tr("Accept")}},
        .urgency = DesktopNotifications::Urgency::Critical,
        .expireTimeoutMs = 0,
    };
    m_desktop->show(notification, m_notice.replaces(),
                    [self = QPointer<ChatRequestNotice>(this), serial](std::optional<quint32> id) {
                        if (!self)
                            return;
                        if (!id && !self->m_toldNoService) {
                            self->m_toldNoService = true;
                            qCInfo(lcRequestNotice) << "no notification service took the chat request; the "
                                                       "popup alone shows it";
                        }
                        if (const std::optional<RequestNotice::Id> stale = self->m_notice.shown(serial, id))
                            self->m_desktop->close(*stale);
                    });
}

void ChatRequestNotice::onPopupEnded(PopupEnd end) {
    if (const std::optional<RequestNotice::Id> id = m_notice.popupEnded(end))
        m_desktop->close(*id);
}

void ChatRequestNotice::onAccept() {
    const PopupMotion::State state = m_popup.state();
    if (state == PopupMotion::State::Sliding || state == PopupMotion::State::Displayed) {
        // As its accept area would; the popup's end closes the notice.
        m_popup.accept();
        return;
    }
    // The popup's display time ran out while the request still waits in the console.
    onPopupEnded(PopupEnd::Accepted);
    emit acceptedWithoutPopup();
}

} // namespace quillo::notify
