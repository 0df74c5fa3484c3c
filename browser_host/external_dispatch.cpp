#include "browser_host/external_dispatch.h"

#include "browser_host/page_contract.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

using namespace quillo;

namespace {

constexpr DISPID kIsOurCustomBrowser = 1;
constexpr DISPID kClose = 2;
constexpr DISPID kCustomFunction = 3;
constexpr DISPID kCustomFunctionWithParams = 4;
constexpr DISPID kOpenWindow = 5;

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string cutAtCharacter(std::string text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

std::string asText(const Variant& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return cutAtCharacter(*text, kMaxScriptText);
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

} // namespace

CExternalDispatch::CExternalDispatch(TargetFinder findTarget)
    : m_findTarget(std::move(findTarget)) {}

std::uint32_t CExternalDispatch::AddRef() {
    return ++m_refCount;
}

std::uint32_t CExternalDispatch::Release() {
    // The application owns the object; the count never ends its life and never wraps below zero.
    if (m_refCount > 0)
        --m_refCount;
    return m_refCount;
}

HRESULT CExternalDispatch::GetTypeInfoCount(unsigned*) const {
    return E_NOTIMPL;
}

HRESULT CExternalDispatch::GetTypeInfo(unsigned, std::uint32_t, void**) const {
    return E_NOTIMPL;
}

HRESULT CExternalDispatch::GetIDsOfNames(std::span<const std::string> names, std::span<DISPID> ids) const {
    HRESULT result = S_OK;
    for (std::size_t i = 0; i < names.size() && i < ids.size(); ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (std::size_t m = 0; m < contract::kMethodNames.size(); ++m) {
            if (names[i] == contract::kMethodNames[m]) {
                ids[i] = static_cast<DISPID>(m + 1);
                break;
            }
        }
        if (ids[i] == DISPID_UNKNOWN)
            result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT CExternalDispatch::Invoke(DISPID id, unsigned flags, std::span<const Variant> args, Variant* result) {
    ExternalTarget* target = m_findTarget ? m_findTarget() : nullptr;
    if (target == nullptr || id < kIsOurCustomBrowser || id > kOpenWindow)
        return S_OK;
    if ((flags & DISPATCH_PROPERTYGET) != 0 && result != nullptr)
        *result = true;
    if ((flags & DISPATCH_METHOD) == 0)
        return S_OK;

    switch (id) {
    case kIsOurCustomBrowser: {
        const bool answer = target->IsOurCustomBrowser();
        if (result != nullptr)
            *result = answer;
        break;
    }
    case kClose:
        target->CloseActiveWindow();
        break;
    case kCustomFunction:
        target->CustomFunction();
        break;
    case kCustomFunctionWithParams: {
        // Never read beyond the arguments given: a short call does nothing.
        if (args.size() < std::size_t(contract::kMethodArgumentCounts[kCustomFunctionWithParams - 1]))
            break;
        const auto action = asInt32(args[0]);
        if (!action)
            break;
        target->CustomFunctionWithParams(asText(args[1]), *action);
        break;
    }
    case kOpenWindow: {
        if (args.size() < std::size_t(contract::kMethodArgumentCounts[kOpenWindow - 1]))
            break;
        std::int32_t numbers[5] = {};
        bool valid = true;
        for (std::size_t i = 0; i < 5 && valid; ++i) {
            const auto number = asInt32(args[4 - i]);
            valid = number.has_value();
            numbers[i] = number.value_or(0);
        }
        if (!valid)
            break;
        target->OpenWindow(asText(args[5]), numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]);
        break;
    }
    default:
        break;
    }
    return S_OK;
}
