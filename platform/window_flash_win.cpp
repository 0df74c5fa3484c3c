#include "platform/window_flash.h"

#include <QWidget>
#include <windows.h>

namespace quillo {

bool flashWindow(QWidget* window) {
    if (window == nullptr)
        return false;
    return FlashWindow(reinterpret_cast<HWND>(window->winId()), TRUE) != 0;
}

void clearWindowFlash(QWidget* window) {
    if (window != nullptr)
        FlashWindow(reinterpret_cast<HWND>(window->winId()), FALSE);
}

} // namespace quillo
