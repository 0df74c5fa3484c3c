#pragma once

#include "alerts/sleep_recovery.h"

#include <QObject>
#include <memory>

class QWebEngineView;

namespace quillo {

class RendererRecovery;
class SleepNotices;

// Brings the console through a sleep of the machine: on the wake it asks the page for a sign of
// life at once and reloads a page whose last load failed for the network; after a long sleep it
// reloads the console once the network is up and no chat request's popup shows. What to do when
// is alerts::SleepRecovery's; this feeds it the system's notices and carries out its answers.
class ConsoleSleepWatch final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConsoleSleepWatch)

public:
    // Lives as long as the console's browser, which owns it; `recovery` is that browser's.
    ConsoleSleepWatch(QWebEngineView& console, RendererRecovery& recovery,
                      std::unique_ptr<SleepNotices> notices,
                      alerts::TimeMs longSleepMs = alerts::kLongSleepMs);
    ~ConsoleSleepWatch() override;

    // Whether a chat request's popup shows now.
    void setPopupShowing(bool showing);

private:
    void apply(const alerts::SleepActions& actions, const char* when);

    RendererRecovery& m_recovery;
    std::unique_ptr<SleepNotices> m_notices;
    alerts::SleepRecovery m_logic;
};

} // namespace quillo
