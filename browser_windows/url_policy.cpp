#include "browser_windows/url_policy.h"

#include <algorithm>
#include <cctype>

namespace quillo {

namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view lowerCase) {
    return text.size() == lowerCase.size() &&
           std::equal(text.begin(), text.end(), lowerCase.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

bool isControlOrSpace(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7f;
}

} // namespace

bool isOpenableAddress(std::string_view url) {
    // Spaces and control characters never occur in a resolved address; lenient parsers would strip
    // them and might then read a different scheme than the one checked here.
    if (url.empty() || std::any_of(url.begin(), url.end(), isControlOrSpace))
        return false;

    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view scheme = url.substr(0, colon);
    if (!equalsIgnoringCase(scheme, "http") && !equalsIgnoringCase(scheme, "https"))
        return false;

    std::string_view rest = url.substr(colon + 1);
    if (!rest.starts_with("//"))
        return false;
    rest.remove_prefix(2);
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (authority.find('\\') != std::string_view::npos)
        return false;

    std::string_view hostAndPort = authority;
    if (const std::size_t at = hostAndPort.rfind('@'); at != std::string_view::npos)
        hostAndPort.remove_prefix(at + 1);
    std::string_view host = hostAndPort;
    if (!host.starts_with('[')) {
        if (const std::size_t portColon = host.rfind(':'); portColon != std::string_view::npos) {
            const std::string_view port = host.substr(portColon + 1);
            if (!std::all_of(port.begin(), port.end(),
                             [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
                return false;
            host = host.substr(0, portColon);
        }
    }
    return !host.empty();
}

} // namespace quillo
