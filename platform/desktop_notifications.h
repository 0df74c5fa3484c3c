#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace quillo {

// Notifications shown by the desktop's own notification service, where the session has one.
class DesktopNotifications : public QObject {
    Q_OBJECT

public:
    // The values are the service's own.
    enum class Urgency : uchar { Low = 0, Normal = 1, Critical = 2 };
    // What a notification asks the service for beyond its text: buttons, urgency, time on screen.
    struct Notification {
        // The program the notification comes from, as the desktop names it.
        QString appName;
        QString title;
        QString body;
        QImage icon;
        // Buttons besides the click on the notification itself, as (key, label); a press comes
        // back as actionInvoked with the key.
        QList<std::pair<QString, QString>> actions;
        // Unset leaves it to the service.
        std::optional<Urgency> urgency;
        // Milliseconds on the screen: -1 is the service's default, 0 until the operator acts.
        qint32 expireTimeoutMs = -1;
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
    // The operator pressed one of the notification's buttons, named by its key.
    void actionInvoked(quint32 id, const QString& action);
    // The notification is gone from the screen, for whatever reason.
    void closed(quint32 id);
};

std::unique_ptr<DesktopNotifications> createDesktopNotifications();

} // namespace quillo
