#pragma once

#include "notification/popup_motion.h"
#include "platform/window_timers.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace quillo::notify {
class PopupStack;
}

namespace quillo::page_services {

// A page's notification in the client's own popup style, for a desktop without a notification
// service: a navy card that rises at the bottom right without taking the focus and hides again.
class NotificationPopup final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationPopup)

public:
    static constexpr char kWindowTitle[] = "Quillo page notification";

    // Rises above whatever the chat popup in `stack` shows; not owned.
    explicit NotificationPopup(notify::PopupStack* stack);
    ~NotificationPopup() override;

    // Replaces what the card shows and starts its rise again.
    void showText(const QString& title, const QString& body);

signals:
    void clicked();
    // Hidden at the end of its display time.
    void dismissed();

protected:
    void timerEvent(QTimerEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void apply(const notify::PopupStep& step);
    // Where the motion has the card, lifted above the chat popup.
    void place();

    QPointer<notify::PopupStack> m_stack;
    QLabel* m_title = nullptr;
    QLabel* m_body = nullptr;
    notify::PopupMotion m_motion;
    WindowTimers m_timers{this};
};

} // namespace quillo::page_services
