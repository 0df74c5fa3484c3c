#include "browser_windows/client_window_cap.h"

#include <algorithm>

namespace quillo {

ClientWindowCap::ClientWindowCap(int maxOpen)
    : m_max(std::max(maxOpen, 0)) {}

ClientWindowCap::Answer ClientWindowCap::request() {
    if (m_open < m_max) {
        ++m_open;
        return Answer::Open;
    }
    if (m_refusalLogged)
        return Answer::RefuseUnlogged;
    m_refusalLogged = true;
    return Answer::Refuse;
}

void ClientWindowCap::closed() {
    if (m_open == 0)
        return;
    --m_open;
    m_refusalLogged = false;
}

} // namespace quillo
