#include "main_window/chat_main_dlg.h"

#include "browser_windows/custom_browser_dlg.h"

// The pool of secondary browser windows that pages open.

void CChatMainDlg::OpenWindow(std::string, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                              std::int32_t) {}
