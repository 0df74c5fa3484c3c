#pragma once

#include <optional>
#include <vector>

namespace quillo {

enum class SlotState {
    Unopened, // no window yet
    Open,     // shown and showing its page
    Ended,    // closed by the operator or by CB_Close: hidden, page unloaded
};

// Which slot of the fixed pool of secondary windows a page's request gets. Slots open in index
// order; a closed slot is reused only once every slot has been used, the lowest first, so the pool
// and its count never grow past their size.
class BrowserPool final {
public:
    explicit BrowserPool(int size);

    int size() const { return static_cast<int>(m_slots.size()); }
    // Slots opened so far, never more than the pool holds.
    int count() const { return m_count; }
    // Unopened for an index outside the pool.
    SlotState state(int slot) const;

    // The slot the next request would take; none when every slot is open.
    std::optional<int> nextSlot() const;
    // Takes the next slot and marks it open; none when every slot is open.
    std::optional<int> open();
    // An open slot's window was closed. Anything else is left as it is.
    void end(int slot);

private:
    std::vector<SlotState> m_slots;
    int m_count = 0;
};

} // namespace quillo
