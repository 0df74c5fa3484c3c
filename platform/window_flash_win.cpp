#include "platform/window_flash_win.h"

namespace quillo {
namespace {

constexpr char kFlashedProperty[] = "QuilloFlashed";

} // namespace

// FlashWindow's own result is the caption's state before the call on Windows but after it under
// Wine, so the state this seam reports is the one it recorded on the window.
bool flashNativeWindow(HWND window) {
    if (window == nullptr || !IsWindow(window))
        return false;
    const bool flashed = GetPropA(window, kFlashedProperty) == nullptr;
    FlashWindow(window, TRUE);
    if (flashed)
        SetPropA(window, kFlashedProperty, reinterpret_cast<HANDLE>(1));
    else
        RemovePropA(window, kFlashedProperty);
    return flashed;
}

void clearNativeWindowFlash(HWND window) {
    if (window == nullptr || !IsWindow(window))
        return;
    RemovePropA(window, kFlashedProperty);
    FlashWindow(window, FALSE);
}

} // namespace quillo
