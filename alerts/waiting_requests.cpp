#include "alerts/waiting_requests.h"

namespace quillo::alerts {

bool WaitingRequests::onShown() {
    const int before = count();
    if (m_onPopup && !m_popupSeen)
        ++m_offPopup;
    m_onPopup = true;
    m_popupSeen = false;
    return changedFrom(before);
}

bool WaitingRequests::onAccepted() {
    const int before = count();
    if (m_onPopup) {
        m_onPopup = false;
        m_popupSeen = false;
    } else if (m_offPopup > 0) {
        --m_offPopup;
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
        ++m_offPopup;
    m_onPopup = false;
    m_popupSeen = false;
    return changedFrom(before);
}

bool WaitingRequests::onConsoleActivated() {
    const int before = count();
    m_offPopup = 0;
    m_popupSeen = m_onPopup;
    return changedFrom(before);
}

int WaitingRequests::count() const {
    return m_offPopup + (m_onPopup ? 1 : 0);
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
