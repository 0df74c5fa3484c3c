#include "page_services/page_marks.h"

#include <charconv>

namespace quillo::page_services {

NotificationTag readNotificationTag(std::string_view tag) {
    const std::size_t mark = tag.find(kMarkSeparator);
    if (mark == std::string_view::npos)
        return {std::string(tag), false};
    const std::string_view marks = tag.substr(mark);
    return {std::string(tag.substr(0, mark)), marks.starts_with(kStayMark)};
}

bool replacesNotification(std::string_view origin, std::string_view tag, std::string_view shownOrigin,
                          std::string_view shownTag) {
    const NotificationTag mine = readNotificationTag(tag);
    return !mine.tag.empty() && origin == shownOrigin && mine.tag == readNotificationTag(shownTag).tag;
}

std::optional<MediaErrorReport> parseMediaErrorReport(std::string_view consoleMessage,
                                                      std::string_view token) {
    if (token.empty() || !consoleMessage.starts_with(kMediaErrorPrefix))
        return std::nullopt;
    std::string_view rest = consoleMessage.substr(kMediaErrorPrefix.size());
    if (!rest.starts_with(token) || rest.substr(token.size(), 1) != "\t")
        return std::nullopt;
    rest.remove_prefix(token.size() + 1);
    MediaErrorReport report;
    const std::size_t afterOrigin = rest.find('\t');
    if (afterOrigin == std::string_view::npos || afterOrigin == 0)
        return std::nullopt;
    report.frameOrigin = std::string(rest.substr(0, afterOrigin));
    rest.remove_prefix(afterOrigin + 1);
    const std::size_t afterCode = rest.find('\t');
    if (afterCode == std::string_view::npos)
        return std::nullopt;
    const std::string_view code = rest.substr(0, afterCode);
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), report.code);
    if (error != std::errc() || end != code.data() + code.size())
        return std::nullopt;
    rest.remove_prefix(afterCode + 1);
    const std::size_t afterSource = rest.find('\t');
    report.source = std::string(rest.substr(0, afterSource));
    if (report.source.empty())
        return std::nullopt;
    if (afterSource != std::string_view::npos)
        report.message = std::string(rest.substr(afterSource + 1));
    return report;
}

std::string_view mediaErrorName(int code) {
    // The codes of the page's MediaError.
    switch (code) {
    case 1:
        return "loading aborted";
    case 2:
        return "network error";
    case 3:
        return "could not be decoded";
    case 4:
        return "source not supported";
    default:
        return "unknown error";
    }
}

bool OncePerSource::first(const std::string& source) {
    if (m_seen.size() >= kMaxSources)
        return false;
    return m_seen.insert(source).second;
}

} // namespace quillo::page_services
