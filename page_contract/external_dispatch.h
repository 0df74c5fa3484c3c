#pragma once

#include "page_contract/external_target.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace quillo {

// A script value as it crosses into the client: undefined, null, a boolean, a number or a string.
using Variant = std::variant<std::monostate, std::nullptr_t, bool, double, std::string>;

// Longest text a page may hand over; longer text is cut at a character boundary.
inline constexpr std::size_t kMaxScriptText = 64 * 1024;

} // namespace quillo

// window.external: the five method names, each mapped to the main window's operation with the
// arguments it reads. One object serves every page of the run.
class CExternalDispatch final {
public:
    using TargetFinder = std::function<quillo::ExternalTarget*()>;

    explicit CExternalDispatch(TargetFinder findTarget);
    CExternalDispatch(const CExternalDispatch&) = delete;
    CExternalDispatch& operator=(const CExternalDispatch&) = delete;

    // Runs the method of that name (exact and case-sensitive) with the script's arguments in the
    // order the page gave them; a method reads the leading arguments it needs, and one given fewer
    // does nothing. `caller` is the window of the page that calls, null when not known. Returns
    // whether the name is one of the five.
    bool call(std::string_view name, std::span<const quillo::Variant> args,
              const quillo::CallerWindow* caller = nullptr);

private:
    TargetFinder m_findTarget;
};
