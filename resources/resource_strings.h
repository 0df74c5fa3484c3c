#pragma once

// Texts that the resources carry: the window-menu string, the context menu, the dialogs' captions
// and fixed labels. The version and the legal notice are in the generated version_info.h. The
// context menu's entries are translated; the titles, labels and the About box stay as they are,
// since pages, scripts and the documentation name them.

// Marks a text for the translators, who find it by this mark; the window that shows it translates
// it in the scope named. The same as Qt's own mark, so either may be seen first.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace quillo::res {

inline constexpr char kAboutMenuText[] = "&About QuilloPlus...";
inline constexpr char kAboutTitle[] = "About QuilloPlus";
inline constexpr char kAboutVersionText[] = "QuilloPlus Version 1.0";
inline constexpr char kMainWindowTitle[] = "Quillo";
inline constexpr char kCustomBrowserTitle[] = "Custom Browser - Window";
inline constexpr char kVersionLabelText[] = "Version 1.0 +";
inline constexpr char kLinkLabelText[] = "Learn about more Tarnwick products for your web site, click here.";

inline constexpr char kContextMenuRefresh[] = QT_TRANSLATE_NOOP("CCustomControlSite", "Refresh");
inline constexpr char kContextMenuBack[] = QT_TRANSLATE_NOOP("CCustomControlSite", "Back");
// The editing entries a text field adds above them.
inline constexpr char kContextMenuUndo[] = QT_TRANSLATE_NOOP("CCustomControlSite", "&Undo");
inline constexpr char kContextMenuRedo[] = QT_TRANSLATE_NOOP("CCustomControlSite", "&Redo");
inline constexpr char kContextMenuCut[] = QT_TRANSLATE_NOOP("CCustomControlSite", "Cu&t");
inline constexpr char kContextMenuCopy[] = QT_TRANSLATE_NOOP("CCustomControlSite", "&Copy");
inline constexpr char kContextMenuPaste[] = QT_TRANSLATE_NOOP("CCustomControlSite", "&Paste");
inline constexpr char kContextMenuSelectAll[] = QT_TRANSLATE_NOOP("CCustomControlSite", "Select &All");
inline constexpr char kContextMenuNoSuggestions[] =
    QT_TRANSLATE_NOOP("CCustomControlSite", "No spelling suggestions");
inline constexpr char kContextMenuSpellingLanguages[] =
    QT_TRANSLATE_NOOP("CCustomControlSite", "Spelling &Languages");

} // namespace quillo::res
