#include "platform/launcher_entry.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace quillo {

namespace {

// Docks match the signal by the app URI it carries; the path only has to be the program's own
// and stable, so it is derived from the URI as the Unity library derives it.
QString objectPath(const QString& appUri) {
    quint32 hash = 5381;
    for (const char c : appUri.toUtf8())
        hash = hash * 33 + quint32(static_cast<unsigned char>(c));
    return QStringLiteral("/com/canonical/unity/launcherentry/%1").arg(hash);
}

} // namespace

bool sendLauncherEntry(const QString& appUri, qint64 count, bool countVisible, bool urgent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage signal = QDBusMessage::createSignal(
        objectPath(appUri), QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    const QVariantMap properties{
        {QStringLiteral("count"), QVariant::fromValue(count)},
        {QStringLiteral("count-visible"), countVisible},
        {QStringLiteral("urgent"), urgent},
    };
    signal << appUri << properties;
    return bus.send(signal);
}

} // namespace quillo
