#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quillo {

// Notifications shown by the desktop's own notification service, where the session has one.
class DesktopNotifications : public QObject {
    Q_OBJECT

public:
    struct Notification {
        // The program the notification comes from, as the desktop names it.
        QString appName;
        QString title;
        QString body;
        QImage icon;
    };
    // Called once, later, with the service's id for the notification, or nullopt when no service
    // took it (none runs, or it did not answer in time).
    using Shown = std::function<void(std::optional<quint32> id)>;

    using QObject::QObject;

    // replacesId, when not 0, is the id of a notification this one takes the place of.
    virtual void show(const Notification& notification, quint32 replacesId, Shown shown) = 0;
    virtual void close(quint32 id) = 0;

signals:
    // The operator clicked the notification (its default action).
    void activated(quint32 id);
    // The notification is gone from the screen, for whatever reason.
    void closed(quint32 id);
};

std::unique_ptr<DesktopNotifications> createDesktopNotifications();

} // namespace quillo
