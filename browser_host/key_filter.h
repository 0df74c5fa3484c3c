#pragma once

namespace quillo {

// The keys whose state the filter judges by.
enum class FilteredKey { F5, O, P, N, Other };

struct KeyFilterInput {
    bool keyDown = false; // a plain key press; presses with Alt are system keys and never filtered
    bool f5Down = false;
    bool ctrlDown = false;
    bool oDown = false;
    bool pDown = false;
    bool nDown = false;
};

// True when the key press must not reach the page: F5 (refresh), Ctrl+O (open), Ctrl+P (print) and
// Ctrl+N (new window). Only the key state counts, not which key the press is for, so holding F5
// swallows every other press too; Shift is not looked at.
bool isKeySwallowed(const KeyFilterInput& input);

// The up/down state of the filtered keys, as seen from the key presses and releases that reach the
// browser. Forgetting everything when the browser loses focus keeps a release that went elsewhere
// from leaving a key stuck down.
class KeyStateTracker {
public:
    void press(FilteredKey key) { set(key, true); }
    void release(FilteredKey key) { set(key, false); }
    void forget() { *this = KeyStateTracker(); }

    // The filter's input for a press (`keyDown`) or any other key message, with Ctrl taken from
    // the message's own modifier state.
    KeyFilterInput input(bool keyDown, bool ctrlDown) const;

private:
    void set(FilteredKey key, bool down);

    bool m_f5 = false;
    bool m_o = false;
    bool m_p = false;
    bool m_n = false;
};

} // namespace quillo
