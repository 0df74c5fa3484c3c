#pragma once

// Texts that the resources carry: the window-menu string, the context menu, the dialogs' captions
// and fixed labels, and the version block.

namespace quillo::res {

inline constexpr char kAboutMenuText[] = "&About QuilloPlus...";
inline constexpr char kAboutTitle[] = "About QuilloPlus";
inline constexpr char kAboutVersionText[] = "QuilloPlus Version 1.0";
inline constexpr char kLegalNotice[] = "Copyright (C) 2026 Tarnwick";
inline constexpr char kMainWindowTitle[] = "Quillo";
inline constexpr char kCustomBrowserTitle[] = "Custom Browser - Window";
inline constexpr char kVersionLabelText[] = "Version 1.0 +";
inline constexpr char kLinkLabelText[] = "Learn about more Tarnwick products for your web site, click here.";

inline constexpr char kContextMenuPopup[] = "Popup";
inline constexpr char kContextMenuRefresh[] = "Refresh";
inline constexpr char kContextMenuBack[] = "Back";

inline constexpr char kApplicationVersion[] = "1.0.0.4";
inline constexpr char kFileDescription[] = "Quillo  MFC Application";
inline constexpr char kProductName[] = "Quillo  Application";

} // namespace quillo::res
