#pragma once

#include <functional>

class CWebBrowser2;

namespace quillo {

// The commands of a browser's context menu.
enum class BrowserCommand { Refresh, Back };

// Takes a command chosen in a browser's context menu; false leaves it to that browser.
using BrowserCommandRouter = std::function<bool(CWebBrowser2& browser, BrowserCommand command)>;

} // namespace quillo
