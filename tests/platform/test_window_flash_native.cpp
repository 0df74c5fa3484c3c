#include "platform/window_flash_win.h"

#include <doctest/doctest.h>

using namespace quillo;

namespace {

HWND createWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuilloFlashTest";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "flash", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

} // namespace

TEST_CASE("each flash reports the state after it, and clearing starts over") {
    HWND window = createWindow();
    REQUIRE(window != nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    CHECK(flashNativeWindow(window));
    CHECK_FALSE(flashNativeWindow(window));
    CHECK(flashNativeWindow(window));
    clearNativeWindowFlash(window);
    CHECK(flashNativeWindow(window));
    DestroyWindow(window);
}

TEST_CASE("no window, or one already destroyed, is never flashed") {
    CHECK_FALSE(flashNativeWindow(nullptr));
    HWND window = createWindow();
    REQUIRE(window != nullptr);
    DestroyWindow(window);
    CHECK_FALSE(flashNativeWindow(window));
    clearNativeWindowFlash(window);
}
