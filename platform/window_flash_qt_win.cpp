#include "platform/window_flash.h"
#include "platform/window_flash_win.h"

#include <QWidget>

namespace quillo {

bool flashWindow(QWidget* window) {
    return window != nullptr && flashNativeWindow(reinterpret_cast<HWND>(window->winId()));
}

void clearWindowFlash(QWidget* window) {
    if (window != nullptr)
        clearNativeWindowFlash(reinterpret_cast<HWND>(window->winId()));
}

} // namespace quillo
