#pragma once

#include <array>
#include <string_view>

// What the client and the chat service's pages agree on. The client's C++ takes them from here and
// hands them to its injected scripts as configuration; the pages spell them on their own side.
namespace quillo::contract {

inline constexpr std::string_view kVersionElementId = "chatVersion";
inline constexpr std::string_view kOrderIdElementId = "divLogonOrderID";
inline constexpr std::string_view kAcceptElementId = "cmdHidden";
inline constexpr std::string_view kVersionText = "1.0.1";
inline constexpr std::string_view kAcceptText = "Accept()";

inline constexpr std::string_view kIsOurCustomBrowser = "CB_IsOurCustomBrowser";
inline constexpr std::string_view kClose = "CB_Close";
inline constexpr std::string_view kCustomFunction = "CB_CustomFunction";
inline constexpr std::string_view kCustomFunctionWithParams = "CB_CustomFunctionWithParams";
inline constexpr std::string_view kOpenWindow = "CB_OpenWindow";
// In dispatch-identifier order: the n-th name has identifier n + 1.
inline constexpr std::array<std::string_view, 5> kMethodNames = {kIsOurCustomBrowser, kClose, kCustomFunction,
                                                                 kCustomFunctionWithParams, kOpenWindow};
// How many script arguments each method reads, in the same order.
inline constexpr std::array<int, 5> kMethodArgumentCounts = {0, 0, 0, 2, 6};

inline constexpr int kActionShowNotification = 1;
inline constexpr int kActionStopFlashing = 2;
inline constexpr int kActionFlash = 3;

inline constexpr char kRecordDelimiter = '|';
inline constexpr char kRecordEscape = '\\';

} // namespace quillo::contract
