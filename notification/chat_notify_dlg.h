#pragma once

#include <QWidget>
#include <string>

// The slide-up notification of a chat request.
class CChatNotifyDlg final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CChatNotifyDlg)

public:
    explicit CChatNotifyDlg(QWidget* owner);
    ~CChatNotifyDlg() override;

    bool ShowNotification(std::string record);

signals:
    // Sent synchronously each time the popup hides: wParam 1 when the accept area was clicked.
    void chatPopupClosed(int wParam, int lParam);
};
