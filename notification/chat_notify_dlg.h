#pragma once

#include "notification/notify_text.h"
#include "notification/popup_motion.h"
#include "platform/window_timers.h"

#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <string>

class QTextEdit;

namespace quillo::notify {
class PopupStack;
}

// The slide-up notification of a chat request: a small card that rises at the bottom right of the
// screen without taking the focus, shows who asks and for what, and reports when it hides.
class CChatNotifyDlg final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CChatNotifyDlg)

public:
    static constexpr int IDT_POPUP_SLIDE = quillo::notify::IDT_POPUP_SLIDE;
    static constexpr int IDT_POPUP_DISMISS = quillo::notify::IDT_POPUP_DISMISS;
    // So that tests and window managers can name a window that shows no title.
    static constexpr const char* kWindowTitle = "Quillo notification";
    static const QRect kTextAreaRect;

    // Creates the popup hidden, a window of its own: no other window's box or modality holds it.
    // It tells `stack` how much of the corner it takes, when there is one.
    explicit CChatNotifyDlg(quillo::notify::PopupStack* stack = nullptr);
    ~CChatNotifyDlg() override;

    // Shows a chat request record (name|message|time waited|waiting for): replaces the text at
    // once and starts the slide from the base line. Always true.
    bool ShowNotification(std::string record);

    // Timer ticks and clicks as the window receives them; public so tests can drive them.
    void OnTimer(int id);
    void OnLButtonUp(int x, int y);

    bool isTimerActive(int id) const { return m_timers.isActive(id); }
    QRect windowRect() const;
    int risen() const { return m_motion.risen(); }
    quillo::notify::PopupMotion::State state() const { return m_motion.state(); }
    QTextEdit* textArea() const { return m_richText; }
    // The work area that placement uses; by default the primary screen's available geometry.
    void setWorkAreaProvider(std::function<QRect()> provider);

signals:
    // Sent synchronously each time the popup hides: wParam 1 when the accept area was clicked.
    void chatPopupClosed(int wParam, int lParam);

protected:
    void timerEvent(QTimerEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void apply(const quillo::notify::PopupStep& step);
    void setText(const quillo::notify::NotifyText& text);
    QRect workArea() const;

    QPointer<quillo::notify::PopupStack> m_stack;
    QPixmap m_background;
    QTextEdit* m_richText = nullptr;
    quillo::notify::PopupMotion m_motion;
    quillo::WindowTimers m_timers{this};
    std::function<QRect()> m_workAreaProvider;
};
