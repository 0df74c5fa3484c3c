#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace quillo {

// The machine's sleeps as the system announces them: logind's PrepareForSleep on the system bus
// where there is one. Where nothing announces sleeps, no notice ever comes.
class SleepNotices : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Milliseconds on a clock that keeps counting while the machine sleeps, so the difference of
    // two readings around a sleep is how long it lasted.
    static qint64 clockMs();

signals:
    // Sent once, soon after creation: whether notices can come, and what the system said.
    void ready(bool listening, const QString& detail);
    // The machine is about to sleep; the sleep waits until the receivers have returned.
    void goingToSleep();
    void wokeUp();
};

std::unique_ptr<SleepNotices> createSleepNotices();

} // namespace quillo
