#pragma once

#include "notification/slide_up_card.h"

class QLabel;

namespace quillo::notify {

// A page's notification in the client's own popup style, for a desktop without a notification
// service: a navy card that rises at the bottom right without taking the focus, above whatever
// the chat popup shows, and hides again.
class WebNotificationCard final : public SlideUpCard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebNotificationCard)

public:
    static constexpr char kWindowTitle[] = "Quillo page notification";

    // Rises above whatever the chat popup in `stack` shows; not owned.
    explicit WebNotificationCard(PopupStack* stack);
    ~WebNotificationCard() override;

    // Replaces what the card shows and starts its rise again. A card that stays is there until
    // clicked or closed.
    void showText(const QString& title, const QString& body, const QPixmap& icon, bool stays);
    // Hides the card as its close button does.
    void dismiss();

signals:
    // The whole card is the one action: a click anywhere but its close button hides it.
    void clicked();
    // Hidden at the end of its display time, or closed.
    void dismissed();

protected:
    void displayEnded(PopupEnd end) override;

private:
    QLabel* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_body = nullptr;
};

} // namespace quillo::notify
