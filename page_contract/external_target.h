#pragma once

#include <cstdint>
#include <string>

namespace quillo {

// The window that holds the page making a call, as the window layer hands it in; only that layer
// knows what is inside.
class CallerWindow;

// The operations that page script reaches through window.external; the main window provides them.
class ExternalTarget {
public:
    virtual ~ExternalTarget() = default;

    virtual bool IsOurCustomBrowser() = 0;
    // Ends the caller's own window; null: who calls is not known.
    virtual void CloseActiveWindow(const CallerWindow* caller) = 0;
    virtual void CustomFunction() = 0;
    virtual void CustomFunctionWithParams(std::string text, std::int32_t action) = 0;
    virtual void OpenWindow(std::string url, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, std::int32_t sixth) = 0;
};

} // namespace quillo
