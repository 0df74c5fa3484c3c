#pragma once

#include <QDialog>

class CWebBrowser2;

// A secondary browser window that a page opened: captioned, sizable, one browser.
class CCustomBrowserDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CCustomBrowserDlg)

public:
    explicit CCustomBrowserDlg(QWidget* parent = nullptr);
    ~CCustomBrowserDlg() override;
};
