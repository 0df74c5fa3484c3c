#include "alerts/sleep_recovery.h"

namespace quillo::alerts {

SleepRecovery::SleepRecovery(TimeMs longSleepMs)
    : m_longSleepMs(longSleepMs) {}

SleepActions SleepRecovery::onSleep(TimeMs now) {
    if (!m_sleepingSince)
        m_sleepingSince = now;
    m_awakeAfterWake = false;
    return {};
}

SleepActions SleepRecovery::onWake(TimeMs now) {
    const bool repeated = !m_sleepingSince && m_awakeAfterWake;
    if (!repeated) {
        // Without a start, or with a clock that ran backwards, the sleep may have been long.
        const bool longSleep =
            !m_sleepingSince || now < *m_sleepingSince || now - *m_sleepingSince > m_longSleepMs;
        if (longSleep)
            m_reloadWaiting = true;
    }
    m_sleepingSince.reset();
    m_awakeAfterWake = true;

    SleepActions actions;
    actions.ping = true;
    if (m_lastLoad == LoadResult::NetworkError) {
        actions.reload = true;
        if (m_network != NetworkState::Down)
            m_reloadWaiting = false;
    }
    if (reloadAllowed()) {
        actions.reload = true;
        m_reloadWaiting = false;
    }
    return actions;
}

SleepActions SleepRecovery::onNetwork(NetworkState state) {
    m_network = state;
    return reloadIfAllowed();
}

SleepActions SleepRecovery::onPopupVisible(bool visible) {
    m_popupVisible = visible;
    return reloadIfAllowed();
}

SleepActions SleepRecovery::onLoadFinished(LoadResult result) {
    m_lastLoad = result;
    if (result == LoadResult::Ok && !m_sleepingSince)
        m_reloadWaiting = false;
    return {};
}

bool SleepRecovery::reloadAllowed() const {
    return m_reloadWaiting && !m_sleepingSince && !m_popupVisible && m_network != NetworkState::Down;
}

SleepActions SleepRecovery::reloadIfAllowed() {
    if (!reloadAllowed())
        return {};
    m_reloadWaiting = false;
    return {false, true};
}

} // namespace quillo::alerts
