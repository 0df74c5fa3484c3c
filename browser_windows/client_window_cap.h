#pragma once

namespace quillo {

// How many windows the chat service's pages may have open in the client at once, apart from the
// pool that CB_OpenWindow fills. A console opens a few; a page gone wrong must not open windows
// without end. A refusal is logged once until a window closes again, so a page that keeps asking
// leaves one line.
class ClientWindowCap final {
public:
    static constexpr int kMaxOpen = 20;

    enum class Answer {
        Open,
        Refuse,
        // Refused as the last was, with nothing closed since: no new line.
        RefuseUnlogged,
    };

    explicit ClientWindowCap(int maxOpen = kMaxOpen);

    // A window is asked for; counted as open when the answer is Open.
    Answer request();
    // An open window has closed. A close with none open is ignored.
    void closed();
    int openCount() const { return m_open; }

private:
    int m_max;
    int m_open = 0;
    bool m_refusalLogged = false;
};

} // namespace quillo
