#include "platform/sleep_notices.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QTimer>

#include <time.h>

namespace quillo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
constexpr int kCallTimeoutMs = 5000;

// logind on the system bus. A delay lock, held while the machine is awake, makes logind wait for
// the notice of a sleep to be handled before the machine sleeps; without it the notice could be
// read only after the wake, and every sleep would look short.
class LogindSleepNotices final : public SleepNotices {
    Q_OBJECT

public:
    LogindSleepNotices()
        : m_bus(QDBusConnection::systemBus()) {
        if (!m_bus.isConnected()) {
            const QString why = m_bus.lastError().message();
            QTimer::singleShot(0, this, [this, why] {
                emit ready(false, QStringLiteral("no system bus (%1)")
                                      .arg(why.isEmpty() ? QStringLiteral("not connected") : why));
            });
            return;
        }
        m_bus.connect(kService, kPath, kManager, QStringLiteral("PrepareForSleep"), this,
                      SLOT(onPrepareForSleep(bool)));
        takeDelayLock();
    }

private slots:
    void onPrepareForSleep(bool starting) {
        if (starting) {
            emit goingToSleep();
            // Handled: the machine may sleep now.
            m_lock = QDBusUnixFileDescriptor();
            return;
        }
        emit wokeUp();
        takeDelayLock();
    }

private:
    void takeDelayLock() {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kManager, QStringLiteral("Inhibit"));
        call << QStringLiteral("sleep") << QStringLiteral("Quillo")
             << QStringLiteral("Checks the chat console after the sleep") << QStringLiteral("delay");
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
            const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *finished;
            finished->deleteLater();
            if (!reply.isError())
                m_lock = reply.value();
            if (m_reported)
                return;
            m_reported = true;
            if (!reply.isError()) {
                emit ready(true, QStringLiteral("logind announces sleeps; a delay lock is held"));
                return;
            }
            const QDBusError::ErrorType error = reply.error().type();
            if (error == QDBusError::ServiceUnknown || error == QDBusError::NoReply ||
                error == QDBusError::Timeout)
                emit ready(false, QStringLiteral("logind does not answer on the system bus (%1)")
                                      .arg(reply.error().message()));
            else
                emit ready(true, QStringLiteral("logind announces sleeps; no delay lock (%1)")
                                     .arg(reply.error().message()));
        });
    }

    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_lock;
    bool m_reported = false;
};

} // namespace

qint64 SleepNotices::clockMs() {
    // Unlike the monotonic clock, the boot-time clock goes on counting while the machine sleeps.
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::unique_ptr<SleepNotices> createSleepNotices() {
    return std::make_unique<LogindSleepNotices>();
}

} // namespace quillo

#include "sleep_notices_logind.moc"
