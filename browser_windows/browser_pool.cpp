#include "browser_windows/browser_pool.h"

#include <algorithm>

namespace quillo {

BrowserPool::BrowserPool(int size)
    : m_slots(static_cast<std::size_t>(std::max(size, 0)), SlotState::Unopened) {}

SlotState BrowserPool::state(int slot) const {
    if (slot < 0 || slot >= size())
        return SlotState::Unopened;
    return m_slots[static_cast<std::size_t>(slot)];
}

std::optional<int> BrowserPool::nextSlot() const {
    if (m_count < size())
        return m_count;
    const auto ended = std::find(m_slots.begin(), m_slots.end(), SlotState::Ended);
    if (ended == m_slots.end())
        return std::nullopt;
    return static_cast<int>(ended - m_slots.begin());
}

std::optional<int> BrowserPool::open() {
    const std::optional<int> slot = nextSlot();
    if (!slot)
        return std::nullopt;
    m_slots[static_cast<std::size_t>(*slot)] = SlotState::Open;
    if (*slot == m_count)
        ++m_count;
    return slot;
}

void BrowserPool::end(int slot) {
    if (state(slot) == SlotState::Open)
        m_slots[static_cast<std::size_t>(slot)] = SlotState::Ended;
}

} // namespace quillo
