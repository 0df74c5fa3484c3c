#pragma once

// Texts that the resources carry: the window-menu string, the context menu, the dialogs' captions
// and fixed labels. The version and the legal notice are in the generated version_info.h.

namespace quillo::res {

inline constexpr char kAboutMenuText[] = "&About QuilloPlus...";
inline constexpr char kAboutTitle[] = "About QuilloPlus";
inline constexpr char kAboutVersionText[] = "QuilloPlus Version 1.0";
inline constexpr char kMainWindowTitle[] = "Quillo";
inline constexpr char kCustomBrowserTitle[] = "Custom Browser - Window";
inline constexpr char kVersionLabelText[] = "Version 1.0 +";
inline constexpr char kLinkLabelText[] = "Learn about more Tarnwick products for your web site, click here.";

inline constexpr char kContextMenuRefresh[] = "Refresh";
inline constexpr char kContextMenuBack[] = "Back";

} // namespace quillo::res
