#pragma once

namespace quillo {

// Asks the top-level window of another program with this window class and title to close, as its
// own close box would. Returns whether such a window was found.
bool closeForeignWindow(const char* windowClass, const char* title);

} // namespace quillo
