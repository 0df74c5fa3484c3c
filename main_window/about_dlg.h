#pragma once

#include <QDialog>

// The About box: icon, product name and version, legal notice, OK.
class CAboutDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDlg)

public:
    explicit CAboutDlg(QWidget* parent);
    ~CAboutDlg() override;
};
