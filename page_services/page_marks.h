#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace quillo::page_services {

// What the client's script in a trusted page tells the client beside the engine, which passes on
// neither a notification's wish to stay nor a failed sound.

// Appended to a notification's tag when the page asked it to stay until the operator acts
// (requireInteraction), as the engine drops that wish. U+2063, invisible, starts the mark; an
// untagged notification gets a number after the mark so that it replaces no other.
inline constexpr std::string_view kMarkSeparator = "\xE2\x81\xA3";
inline constexpr std::string_view kStayMark = "\xE2\x81\xA3stay";

struct NotificationTag {
    // The tag as the page gave it.
    std::string tag;
    bool stays = false;
};

// A notification's tag as the engine has it (UTF-8), read and stripped of the client's marks.
NotificationTag readNotificationTag(std::string_view tag);

// Whether a notification takes the place of one already shown, as a browser decides: the same
// origin and the same non-empty tag, whatever the marks say.
bool replacesNotification(std::string_view origin, std::string_view tag, std::string_view shownOrigin,
                          std::string_view shownTag);

// How long a notification stays on the desktop's service, in its terms: 0 until acted on, -1 the
// service's own default.
constexpr int expireTimeoutFor(bool stays) {
    return stays ? 0 : -1;
}

// A media element or Audio() object of a trusted page that failed, as the client's script reports it
// on the console: the prefix, the run's token, then the reporting frame's origin, the media
// error's code, the source and the engine's message, separated by tabs. The prefix is no secret;
// the token is, known only to the client and its script in its private world, so a page's own
// console line cannot pass for a report.
inline constexpr std::string_view kMediaErrorPrefix = "\xE2\x81\xA3quillo-media-error\t";

struct MediaErrorReport {
    // As the frame's script serialised it ("https://chat.example").
    std::string frameOrigin;
    int code = 0;
    std::string source;
    std::string message;
};

// Nullopt for any console message that is not such a report with this token; never a report
// while the token is empty.
std::optional<MediaErrorReport> parseMediaErrorReport(std::string_view consoleMessage,
                                                      std::string_view token);

// The meaning of a media error's code, for the log ("source not supported").
std::string_view mediaErrorName(int code);

// Says yes once for each source, so a sound that fails on every chat is logged once. Sources
// beyond a generous number are taken as already seen: a page cannot grow the set without end.
class OncePerSource final {
public:
    static constexpr std::size_t kMaxSources = 512;
    bool first(const std::string& source);

private:
    std::set<std::string> m_seen;
};

} // namespace quillo::page_services
