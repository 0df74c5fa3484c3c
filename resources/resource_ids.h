#pragma once

// Identifiers of the program's resources and of the controls in its dialogs.

namespace quillo::res {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_CHAT_MAIN = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_CUSTOM_BROWSER = 131;
inline constexpr int IDR_CONTEXT_MENU = 136;
inline constexpr int IDD_CHAT_NOTIFY = 138;

inline constexpr int IDB_POPUP_BACKGROUND = 145;
inline constexpr int IDB_TOP_LEFT = 148;
inline constexpr int IDB_TOP_LOGO = 151;
inline constexpr int IDB_TOP_BAR = 152;
inline constexpr int IDB_TOP_RIGHT = 154;
inline constexpr int IDB_CLOSE = 155;
inline constexpr int IDB_CLOSE_HOVER = 157;
inline constexpr int IDB_MAXIMIZE = 158;
inline constexpr int IDB_MINIMIZE = 159;
inline constexpr int IDB_LEFT_EDGE = 160;
inline constexpr int IDB_BOTTOM_LEFT = 161;
inline constexpr int IDB_MAXIMIZE_HOVER = 162;
inline constexpr int IDB_MINIMIZE_HOVER = 163;
inline constexpr int IDB_RIGHT_EDGE = 164;
inline constexpr int IDB_BOTTOM_RIGHT = 166;
inline constexpr int IDB_BOTTOM_BAR = 168;

// Controls of the main window and of the secondary browser window.
inline constexpr int IDC_BROWSER = 1000;
inline constexpr int IDC_TOP_BAR = 1002;
inline constexpr int IDC_TOP_LEFT = 1003;
inline constexpr int IDC_TOP_LOGO = 1004;
inline constexpr int IDC_TOP_RIGHT = 1005;
inline constexpr int IDC_BTN_CLOSE = 1006;
inline constexpr int IDC_BTN_MAXIMIZE = 1007;
inline constexpr int IDC_BTN_MINIMIZE = 1008;
inline constexpr int IDC_LEFT_EDGE = 1009;
inline constexpr int IDC_RIGHT_EDGE = 1010;
inline constexpr int IDC_BOTTOM_BAR = 1011;
inline constexpr int IDC_BOTTOM_LEFT = 1012;
inline constexpr int IDC_BOTTOM_RIGHT = 1013;
inline constexpr int IDC_LINK_LABEL = 1014;
inline constexpr int IDC_VERSION_LABEL = 1015;

// Commands.
inline constexpr int IDM_ABOUTBOX = 16;
inline constexpr int ID_REFRESH = 32771;
inline constexpr int ID_BACK = 32772;

} // namespace quillo::res
