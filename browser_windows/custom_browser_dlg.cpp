#include "browser_windows/custom_browser_dlg.h"

CCustomBrowserDlg::CCustomBrowserDlg(QWidget* parent)
    : QDialog(parent) {}

CCustomBrowserDlg::~CCustomBrowserDlg() = default;
