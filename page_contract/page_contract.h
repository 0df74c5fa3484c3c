#pragma once

#include <algorithm>
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

// The main window's operations that page script reaches through window.external.
enum class Operation {
    IsOurCustomBrowser,
    CloseActiveWindow,
    CustomFunction,
    CustomFunctionWithParams,
    OpenWindow
};

// One method of window.external. The dispatcher reads the operation and the argument count; the
// page's own window.external reads the name, the count and what it does itself before the call
// travels to the client.
struct Method {
    std::string_view name;
    Operation operation;
    // How many of the script's leading arguments the method reads.
    int argumentCount;
    // The first argument is an address, resolved against the calling page's own address.
    bool resolvesUrl;
    // The page gets true back at once; every other method answers nothing.
    bool answersTrue;
};

inline constexpr std::array<Method, 5> kMethods = {{
    {"CB_IsOurCustomBrowser", Operation::IsOurCustomBrowser, 0, false, true},
    {"CB_Close", Operation::CloseActiveWindow, 0, false, false},
    {"CB_CustomFunction", Operation::CustomFunction, 0, false, false},
    {"CB_CustomFunctionWithParams", Operation::CustomFunctionWithParams, 2, false, false},
    {"CB_OpenWindow", Operation::OpenWindow, 6, true, false},
}};

// The most arguments any method reads: more never travel further than the bridge.
inline constexpr int kMostArguments = std::ranges::max(kMethods, {}, &Method::argumentCount).argumentCount;

// The method of that name, compared exactly and case-sensitively; null for any other name.
constexpr const Method* findMethod(std::string_view name) {
    const auto method = std::ranges::find(kMethods, name, &Method::name);
    return method == kMethods.end() ? nullptr : &*method;
}

inline constexpr int kActionShowNotification = 1;
inline constexpr int kActionStopFlashing = 2;
inline constexpr int kActionFlash = 3;

inline constexpr char kRecordDelimiter = '|';
inline constexpr char kRecordEscape = '\\';

} // namespace quillo::contract
