#pragma once

#include "notification/popup_motion.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillo::notify {

// Whether a chat request is also shown as a desktop notification: on native Wayland, where the
// compositor places the popup as it likes (mid-screen on some), and nowhere else.
bool showsRequestOnDesktop(std::string_view platformName);

// The key of the desktop notification's button that accepts the chat.
inline constexpr std::string_view kAcceptAction = "accept";

// The desktop notification that doubles the chat popup, apart from any bus: which notice is up for
// which request, and what to close when. The notice outlasts the popup's display time: it stays
// until the request is accepted, the operator dismisses it (on the popup or the desktop) or a newer
// request takes its place. The service answers a show later, so the request may have ended, or a
// newer one come, before the notice of an older one has an id.
class RequestNotice final {
public:
    using Id = std::uint32_t;
    using Serial = std::uint64_t;

    // A request rose on the popup: the serial to show its notice under.
    Serial requestShown();
    // The notice the next show takes the place of, 0 for none.
    Id replaces() const { return m_id; }
    // The service's answer to a show (nullopt: no service took it). Returns a notice to close at
    // once: one whose request has ended, or that a newer request already stands for.
    std::optional<Id> shown(Serial serial, std::optional<Id> id);
    // The popup's display ended: the notice to close, if one is up and the request has ended with
    // it (accepted or dismissed); a display that ran out leaves the request waiting on the notice.
    std::optional<Id> popupEnded(PopupEnd end);
    // True when the operator's press on a notice's button is to accept the waiting chat.
    bool actionInvoked(Id id, std::string_view action) const;
    // The service took the notice away by itself.
    void closedByService(Id id);

private:
    Serial m_serial = 0;
    // A request waits for the operator.
    bool m_showing = false;
    Id m_id = 0;
};

} // namespace quillo::notify
