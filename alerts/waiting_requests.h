#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillo::alerts {

// The desktop entry the launcher count is meant for.
inline constexpr std::string_view kLauncherAppUri = "application://example.tarnwick.Quillo.desktop";

// The properties of one com.canonical.Unity.LauncherEntry Update signal.
struct LauncherEntry {
    std::int64_t count = 0;
    bool countVisible = false;
    bool urgent = false;
    friend bool operator==(const LauncherEntry&, const LauncherEntry&) = default;
};

// The chat requests that wait for the operator, counted for the tray icon and the launcher.
//
// A request waits from the moment its popup shows until the operator deals with it. The popup
// shows one request at a time, always the newest:
// - shown: the new request waits; one the popup showed until then is replaced but still waits.
// - accepted (the popup's accept, or the keyboard's accept of the newest): the newest waiting
//   request, the one on the popup if it shows one, waits no more.
// - closed (any click on the popup other than accept): the request on the popup waits no more.
// - display time over: the popup hides but its request still waits, since nobody answered it.
// - console activated: the operator now sees the requests in the console, so those no longer on
//   the popup wait no more; the one on the popup stops waiting when its popup hides.
// The popup reports some endings twice (a click during the slide, then the display time); an
// ending without a request on the popup changes nothing.
//
// A trusted page's own notification waits too, from when it shows until it ends: clicked, closed
// by the page, or gone from the screen. Only its end ends its wait; the console's activation and
// the chat popup's answers leave it waiting.
class WaitingRequests final {
public:
    using NotificationKey = std::uint64_t;

    // What the keyboard's accept acts on: the newest of all waiting requests.
    enum class Newest { None, ChatOnPopup, ChatInConsole, Notification };
    struct NewestRequest {
        Newest kind = Newest::None;
        // The notification's key, for Newest::Notification.
        NotificationKey key = 0;
        friend bool operator==(const NewestRequest&, const NewestRequest&) = default;
    };

    // Each returns whether the count or the attention changed, so the shell updates only then.
    bool onShown();
    bool onAccepted();
    bool onClosed();
    bool onDisplayOver();
    bool onConsoleActivated();
    // A key shown twice counts once; an end of one not waiting changes nothing.
    bool onNotificationShown(NotificationKey key);
    bool onNotificationEnded(NotificationKey key);

    NewestRequest newest() const;

    int count() const;
    // The tray icon shows attention and the launcher entry is urgent while anything waits.
    bool attention() const { return count() > 0; }
    LauncherEntry launcherEntry() const;
    // The tray icon's tooltip: the program's name, then how many requests wait.
    std::string tooltip() const;

private:
    bool changedFrom(int before) const;

    // The order in which requests arrived, of both kinds, so the newest can be told.
    using Arrival = std::uint64_t;

    // The request on the popup, and whether the console was activated while it showed.
    bool m_onPopup = false;
    bool m_popupSeen = false;
    Arrival m_popupArrival = 0;
    // Chat requests no longer on the popup that still wait, oldest first.
    std::vector<Arrival> m_offPopup;
    // Waiting notifications, oldest first.
    std::vector<std::pair<NotificationKey, Arrival>> m_notifications;
    Arrival m_nextArrival = 1;
};

} // namespace quillo::alerts
