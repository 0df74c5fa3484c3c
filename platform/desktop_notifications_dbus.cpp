#include "platform/desktop_notifications.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSet>
#include <QTimer>

namespace quillo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
// A service that has not answered by then is taken as absent; the popup shows the text instead.
constexpr int kCallTimeoutMs = 3000;
// How long the client's end waits for the service to take each closing notification.
constexpr int kClosingTimeoutMs = 500;
constexpr int kIconSize = 48;

// The "image-data" hint: width, height, bytes per line, alpha, bits per sample, channels, pixels.
QVariant imageHint(const QImage& icon) {
    const QImage image = icon.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument argument;
    argument.beginStructure();
    argument << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    argument.endStructure();
    return QVariant::fromValue(argument);
}

// The freedesktop notification service on the session bus.
class DbusNotifications final : public DesktopNotifications {
    Q_OBJECT

public:
    DbusNotifications()
        : m_bus(QDBusConnection::sessionBus()) {
        if (!m_bus.isConnected())
            return;
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                      SLOT(onActionInvoked(uint, QString)));
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                      SLOT(onNotificationClosed(uint, uint)));
    }

    // What is still on the desktop goes with the client: a notification left behind would answer
    // no click. Each close waits for the service, since the process ends right after.
    ~DbusNotifications() override {
        for (const quint32 id : std::as_const(m_open)) {
            QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                               QStringLiteral("CloseNotification"));
            call << id;
            m_bus.call(call, QDBus::Block, kClosingTimeoutMs);
        }
    }

    void show(const Notification& notification, quint32 replacesId, Shown shown) override {
        if (!m_bus.isConnected()) {
            QTimer::singleShot(0, this, [shown = std::move(shown)] { shown(std::nullopt); });
            return;
        }
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
        QVariantMap hints;
        if (!notification.icon.isNull())
            hints.insert(QStringLiteral("image-data"), imageHint(notification.icon));
        if (notification.urgency)
            hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(*notification.urgency)));
        QStringList actions{kDefaultAction, QStringLiteral("Open")};
        for (const auto& [key, label] : notification.actions)
            actions << key << label;
        call << notification.appName << replacesId << QString() << notification.title << notification.body
             << actions << hints << notification.expireTimeoutMs;
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, shown = std::move(shown)](QDBusPendingCallWatcher* finished) {
                    const QDBusPendingReply<quint32> reply = *finished;
                    finished->deleteLater();
                    if (reply.isError()) {
                        shown(std::nullopt);
                        return;
                    }
                    m_open.insert(reply.value());
                    shown(reply.value());
                });
    }

    void close(quint32 id) override {
        if (!m_bus.isConnected())
            return;
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
        call << id;
        m_bus.asyncCall(call, kCallTimeoutMs);
    }

private slots:
    void onActionInvoked(uint id, const QString& action) {
        if (action == kDefaultAction)
            emit activated(id);
        else
            emit actionInvoked(id, action);
    }
    void onNotificationClosed(uint id, uint) {
        // Every program's notifications are announced; only ours are of interest.
        if (m_open.remove(id))
            emit closed(id);
    }

private:
    QDBusConnection m_bus;
    // Shown and not yet reported closed by the service.
    QSet<quint32> m_open;
};

} // namespace

std::unique_ptr<DesktopNotifications> createDesktopNotifications() {
    return std::make_unique<DbusNotifications>();
}

} // namespace quillo

#include "desktop_notifications_dbus.moc"
