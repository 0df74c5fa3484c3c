#include "platform/foreign_windows.h"

#include <windows.h>

namespace quillo {

bool closeForeignWindow(const char* windowClass, const char* title) {
    HWND window = FindWindowA(windowClass, title);
    if (window == nullptr)
        return false;
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

} // namespace quillo
