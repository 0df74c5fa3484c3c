#pragma once

#include "notification/notify_text.h"
#include "notification/slide_up_card.h"

#include <QPixmap>
#include <QRect>
#include <string>

class QTextEdit;

// The slide-up notification of a chat request: a small card that rises at the bottom right of the
// screen without taking the focus, shows who asks and for what, and reports when it hides.
class CChatNotifyDlg final : public quillo::notify::SlideUpCard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CChatNotifyDlg)

public:
    static constexpr quillo::notify::PopupTimer IDT_POPUP_SLIDE = quillo::notify::IDT_POPUP_SLIDE;
    static constexpr quillo::notify::PopupTimer IDT_POPUP_DISMISS = quillo::notify::IDT_POPUP_DISMISS;
    // So that tests and window managers can name a window that shows no title.
    static constexpr const char* kWindowTitle = "Quillo notification";
    static const QRect kTextAreaRect;
    // The accept button drawn into the picture, as assistive technology is shown it.
    static const QRect kAcceptAreaRect;

    // Creates the popup hidden, on the base line of the corner it shares through `stack`.
    explicit CChatNotifyDlg(quillo::notify::PopupStack* stack = nullptr);
    ~CChatNotifyDlg() override;

    // Shows a chat request record (name|message|time waited|waiting for): replaces the text at
    // once and starts the slide from the base line. Always true.
    bool ShowNotification(std::string record);

    // Timer ticks and clicks as the window receives them; public so tests can drive them.
    void OnTimer(quillo::notify::PopupTimer timer) { tick(timer); }
    void OnLButtonUp(int x, int y) { click({x, y}); }

    QTextEdit* textArea() const { return m_richText; }

signals:
    // A request's text as the popup shows it (who asks, what, how long they waited), sent as its
    // display starts: for what announces it besides the popup.
    void requestShown(const QString& text);
    // Sent synchronously each time the popup hides: accepted when its accept area was clicked.
    void chatPopupClosed(bool accepted);
    // The same moment, told apart further: a click elsewhere is not the display time running out.
    void requestEnded(quillo::notify::PopupEnd end);

protected:
    void displayEnded(quillo::notify::PopupEnd end) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setText(const quillo::notify::NotifyText& text);

    QPixmap m_background;
    QTextEdit* m_richText = nullptr;
};
