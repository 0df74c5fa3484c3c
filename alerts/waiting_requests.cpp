#include "alerts/waiting_requests.h"

#include <algorithm>

namespace quillo::alerts {

bool WaitingRequests::onShown() {
    const int before = count();
    if (m_onPopup && !m_popupSeen)
        m_offPopup.push_back(m_popupArrival);
    m_onPopup = true;
    m_popupSeen = false;
    m_popupArrival = m_nextArrival++;
    return changedFrom(before);
}

bool WaitingRequests::onAccepted() {
    const int before = count();
    if (m_onPopup) {
        m_onPopup = false;
        m_popupSeen = false;
    } else if (!m_offPopup.empty()) {
        m_offPopup.pop_back();
    }
    return changedFrom(before);
}

bool WaitingRequests::onClosed() {
    const int before = count();
    m_onPopup = false;
    m_popupSeen = false;
    return changedFrom(before);
}

bool WaitingRequests::onDisplayOver() {
    const int before = count();
    if (m_onPopup && !m_popupSeen)
        m_offPopup.push_back(m_popupArrival);
    m_onPopup = false;
    m_popupSeen = false;
    return changedFrom(before);
}

bool WaitingRequests::onConsoleActivated() {
    const int before = count();
    m_offPopup.clear();
    m_popupSeen = m_onPopup;
    return changedFrom(before);
}

bool WaitingRequests::onNotificationShown(NotificationKey key) {
    const int before = count();
    if (std::find_if(m_notifications.begin(), m_notifications.end(),
                     [key](const auto& waiting) { return waiting.first == key; }) == m_notifications.end())
        m_notifications.emplace_back(key, m_nextArrival++);
    return changedFrom(before);
}

bool WaitingRequests::onNotificationEnded(NotificationKey key) {
    const int before = count();
    std::erase_if(m_notifications, [key](const auto& waiting) { return waiting.first == key; });
    return changedFrom(before);
}

WaitingRequests::NewestRequest WaitingRequests::newest() const {
    NewestRequest newest;
    Arrival arrival = 0;
    if (!m_offPopup.empty()) {
        newest = {Newest::ChatInConsole, 0};
        arrival = m_offPopup.back();
    }
    if (m_onPopup && m_popupArrival > arrival) {
        newest = {Newest::ChatOnPopup, 0};
        arrival = m_popupArrival;
    }
    if (!m_notifications.empty() && m_notifications.back().second > arrival)
        newest = {Newest::Notification, m_notifications.back().first};
    return newest;
}

int WaitingRequests::count() const {
    return int(m_offPopup.size() + m_notifications.size()) + (m_onPopup ? 1 : 0);
}

LauncherEntry WaitingRequests::launcherEntry() const {
    return {count(), count() > 0, attention()};
}

std::string WaitingRequests::tooltip() const {
    const int n = count();
    if (n == 0)
        return "Quillo";
    return "Quillo: " + std::to_string(n) + (n == 1 ? " chat request waits" : " chat requests wait");
}

bool WaitingRequests::changedFrom(int before) const {
    return count() != before;
}

} // namespace quillo::alerts
