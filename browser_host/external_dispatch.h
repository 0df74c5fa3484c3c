#pragma once

#include "browser_host/external_target.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillo {

using HRESULT = std::int32_t;
using DISPID = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr unsigned DISPATCH_METHOD = 1;
inline constexpr unsigned DISPATCH_PROPERTYGET = 2;

// A script value as it crosses into the client: undefined, null, a boolean, a number or a string.
using Variant = std::variant<std::monostate, std::nullptr_t, bool, double, std::string>;

// Longest text a page may hand over; longer text is cut at a character boundary.
inline constexpr std::size_t kMaxScriptText = 64 * 1024;

} // namespace quillo

// window.external: five names, each forwarded to the main window. One object serves every page of
// the run; its reference count is bookkeeping only and never ends its life.
class CExternalDispatch final {
public:
    using TargetFinder = std::function<quillo::ExternalTarget*()>;

    explicit CExternalDispatch(TargetFinder findTarget);
    CExternalDispatch(const CExternalDispatch&) = delete;
    CExternalDispatch& operator=(const CExternalDispatch&) = delete;

    std::uint32_t AddRef();
    std::uint32_t Release();

    // No type information: callers fall back to name lookup. Neither writes its out argument.
    quillo::HRESULT GetTypeInfoCount(unsigned* count) const;
    quillo::HRESULT GetTypeInfo(unsigned index, std::uint32_t locale, void** typeInfo) const;
    // Resolves each name, exactly and case-sensitively, into the same position of `ids`.
    quillo::HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<quillo::DISPID> ids) const;
    // `args` holds the script's arguments in reverse order, the last argument first.
    quillo::HRESULT Invoke(quillo::DISPID id, unsigned flags, std::span<const quillo::Variant> args,
                           quillo::Variant* result);

private:
    TargetFinder m_findTarget;
    std::uint32_t m_refCount = 0;
};
