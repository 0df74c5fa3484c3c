#pragma once

#include "alerts/alert_time.h"

#include <optional>

namespace quillo::alerts {

// A sleep longer than this may have outlived the console's connection: reload it after.
inline constexpr TimeMs kLongSleepMs = 10 * 60 * 1000;

enum class NetworkState { Unknown, Down, Up };
// How the console's last load ended; only a failure of the network itself asks for a reload.
enum class LoadResult { Ok, NetworkError, OtherError };

// What the shell does now, in this order.
struct SleepActions {
    // Check at once that the console still answers (the hang check's ping).
    bool ping = false;
    // Reload the console.
    bool reload = false;
    friend bool operator==(const SleepActions&, const SleepActions&) = default;
};

// What to do with the console around a sleep of the machine (logind's PrepareForSleep).
//
// The clock must count the time asleep: the wall clock or CLOCK_BOOTTIME. CLOCK_MONOTONIC (so
// std::chrono::steady_clock and QElapsedTimer on Linux) stands still while the machine sleeps and
// would make every sleep look short.
//
// - Going to sleep notes the time; a second notice before the wake keeps the first.
// - Every wake pings the console at once; if its last load failed at the network level it is
//   reloaded at once too.
// - A wake after more than the long-sleep limit (kLongSleepMs unless given), or after a sleep of unknown
// length (no start was seen, or
//   the clock ran backwards), also asks for one reload once the network is up (or its state is
//   unknown) and no chat request's popup shows; else it waits for both. The popup closing before
//   the network is up leaves the reload waiting for the network.
// - A successful load after the wake serves the waiting reload, and so does the reload at once
//   unless the network is known to be down; at most one reload waits. Nothing reloads between
//   going to sleep and the wake.
// - A wake that repeats another (two in a row, the second without a sleep) only pings.
class SleepRecovery final {
public:
    // A test of the whole client cannot sleep for ten minutes; it passes a shorter limit.
    explicit SleepRecovery(TimeMs longSleepMs = kLongSleepMs);

    SleepActions onSleep(TimeMs now);
    SleepActions onWake(TimeMs now);
    SleepActions onNetwork(NetworkState state);
    SleepActions onPopupVisible(bool visible);
    // Every load of the console that ends, the client's own reloads included.
    SleepActions onLoadFinished(LoadResult result);

    bool asleep() const { return m_sleepingSince.has_value(); }
    bool reloadWaiting() const { return m_reloadWaiting; }

private:
    bool reloadAllowed() const;
    SleepActions reloadIfAllowed();

    TimeMs m_longSleepMs;
    std::optional<TimeMs> m_sleepingSince;
    // Whether the last event about sleep was a wake, so a repeated wake can be told apart.
    bool m_awakeAfterWake = false;
    bool m_reloadWaiting = false;
    bool m_popupVisible = false;
    NetworkState m_network = NetworkState::Unknown;
    LoadResult m_lastLoad = LoadResult::Ok;
};

} // namespace quillo::alerts
