#pragma once

#include <windows.h>

namespace quillo {

// The native form of flashWindow and clearWindowFlash, for a window handle: same contract.
bool flashNativeWindow(HWND window);
void clearNativeWindowFlash(HWND window);

} // namespace quillo
