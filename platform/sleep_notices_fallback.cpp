#include "platform/sleep_notices.h"

#include <QDateTime>
#include <QTimer>

namespace quillo {

namespace {

class NoSleepNotices final : public SleepNotices {
public:
    NoSleepNotices() {
        QTimer::singleShot(0, this, [this] {
            emit ready(false, QStringLiteral("this system announces no sleeps to the client"));
        });
    }
};

} // namespace

qint64 SleepNotices::clockMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

std::unique_ptr<SleepNotices> createSleepNotices() {
    return std::make_unique<NoSleepNotices>();
}

} // namespace quillo
