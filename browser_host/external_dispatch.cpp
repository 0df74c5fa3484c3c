#include "browser_host/external_dispatch.h"

#include "browser_host/page_contract.h"
#include "browser_host/utf8_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

using namespace quillo;

namespace {

std::string asText(const Variant& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return CutAtCharacterBoundary(*text, kMaxScriptText);
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? "true" : "false";
    if (const auto* number = std::get_if<double>(&value)) {
        // The shortest text that reads back as the same number, as script would write it.
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *number);
        return error == std::errc() ? std::string(buffer, end) : std::string();
    }
    return {}; // undefined and null become empty text
}

// A 32-bit integer argument must be a finite number; fractions are cut toward zero and values
// beyond the range are clamped, so nothing a page passes wraps into a different window position.
std::optional<std::int32_t> asInt32(const Variant& value) {
    const auto* number = std::get_if<double>(&value);
    if (number == nullptr || !std::isfinite(*number))
        return std::nullopt;
    const double clamped = std::clamp(std::trunc(*number), double(std::numeric_limits<std::int32_t>::min()),
                                      double(std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::int32_t>(clamped);
}

// Each handler gets exactly the arguments its method reads, in script order.
using Handler = void (*)(ExternalTarget& target, std::span<const Variant> args);

struct Method {
    std::string_view name;
    Handler run;
};

void withParams(ExternalTarget& target, std::span<const Variant> args) {
    if (const auto action = asInt32(args[1]))
        target.CustomFunctionWithParams(asText(args[0]), *action);
}

void openWindow(ExternalTarget& target, std::span<const Variant> args) {
    std::array<std::int32_t, 5> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const auto number = asInt32(args[i + 1]);
        if (!number)
            return;
        numbers[i] = *number;
    }
    target.OpenWindow(asText(args[0]), numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]);
}

// In the contract's order, so each method's argument count is the contract's too.
constexpr std::array<Method, 5> kMethods = {{
    {contract::kIsOurCustomBrowser,
     [](ExternalTarget& target, std::span<const Variant>) {
         target.IsOurCustomBrowser();
     }},
    {contract::kClose,
     [](ExternalTarget& target, std::span<const Variant>) {
         target.CloseActiveWindow();
     }},
    {contract::kCustomFunction,
     [](ExternalTarget& target, std::span<const Variant>) {
         target.CustomFunction();
     }},
    {contract::kCustomFunctionWithParams, withParams},
    {contract::kOpenWindow, openWindow},
}};
static_assert(std::ranges::equal(kMethods, contract::kMethodNames, {}, &Method::name));

} // namespace

CExternalDispatch::CExternalDispatch(TargetFinder findTarget)
    : m_findTarget(std::move(findTarget)) {}

bool CExternalDispatch::Call(std::string_view name, std::span<const Variant> args) {
    const auto method = std::ranges::find(kMethods, name, &Method::name);
    if (method == kMethods.end())
        return false;
    ExternalTarget* target = m_findTarget ? m_findTarget() : nullptr;
    const auto count = std::size_t(contract::kMethodArgumentCounts[std::size_t(method - kMethods.begin())]);
    // Never read beyond the arguments given: a short call does nothing. A longer one gives the
    // method its leading arguments, the ones the page means for it.
    if (target != nullptr && args.size() >= count)
        method->run(*target, args.first(count));
    return true;
}
