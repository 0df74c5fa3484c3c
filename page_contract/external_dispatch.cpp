#include "page_contract/external_dispatch.h"

#include "page_contract/page_contract.h"
#include "page_contract/utf8_text.h"

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
        return cutAtCharacterBoundary(*text, kMaxScriptText);
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

// args holds exactly the arguments the method reads, in script order.
void run(contract::Operation operation, ExternalTarget& target, std::span<const Variant> args,
         const CallerWindow* caller) {
    switch (operation) {
    case contract::Operation::IsOurCustomBrowser:
        target.IsOurCustomBrowser();
        break;
    case contract::Operation::CloseActiveWindow:
        target.CloseActiveWindow(caller);
        break;
    case contract::Operation::CustomFunction:
        target.CustomFunction();
        break;
    case contract::Operation::CustomFunctionWithParams:
        withParams(target, args);
        break;
    case contract::Operation::OpenWindow:
        openWindow(target, args);
        break;
    }
}

} // namespace

CExternalDispatch::CExternalDispatch(TargetFinder findTarget)
    : m_findTarget(std::move(findTarget)) {}

bool CExternalDispatch::call(std::string_view name, std::span<const Variant> args,
                             const CallerWindow* caller) {
    const contract::Method* method = contract::findMethod(name);
    if (method == nullptr)
        return false;
    ExternalTarget* target = m_findTarget ? m_findTarget() : nullptr;
    const auto count = std::size_t(method->argumentCount);
    // Never read beyond the arguments given: a short call does nothing. A longer one gives the
    // method its leading arguments, the ones the page means for it.
    if (target != nullptr && args.size() >= count)
        run(method->operation, *target, args.first(count), caller);
    return true;
}
