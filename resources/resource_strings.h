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
// The editing entries a text field adds above them.
inline constexpr char kContextMenuUndo[] = "&Undo";
inline constexpr char kContextMenuRedo[] = "&Redo";
inline constexpr char kContextMenuCut[] = "Cu&t";
inline constexpr char kContextMenuCopy[] = "&Copy";
inline constexpr char kContextMenuPaste[] = "&Paste";
inline constexpr char kContextMenuSelectAll[] = "Select &All";
inline constexpr char kContextMenuNoSuggestions[] = "No spelling suggestions";
inline constexpr char kContextMenuSpellingLanguages[] = "Spelling &Languages";

} // namespace quillo::res
