#pragma once

#include "notification/popup_motion.h"

#include <QBasicTimer>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

namespace quillo::notify {

class PopupStack;

// The shell of a card that slides up at the bottom right of the screen: a frameless window of its
// own above the others that never takes the focus from the window that has it, rises out of the
// base line with only its risen part seen, stays for its display time and hides. Where it sits in
// the corner it shares with the other card is the stack's to say. The chat request popup and a
// page's notification card are thin on it.
class SlideUpCard : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SlideUpCard)

public:
    enum class Stacking {
        // On the work area's bottom edge, growing as it rises; tells the stack how much it takes.
        OnBaseLine,
        // Of fixed size, on top of whatever the card on the base line shows.
        AboveBaseCard,
    };

    ~SlideUpCard() override;

    // A timer's tick or a click as the window receives them; public so tests can drive them.
    void tick(PopupTimer timer);
    void click(QPoint at);
    // Ends a showing display as its accept area's click would; nothing when none shows.
    void accept();

    bool isTimerActive(PopupTimer timer) const;
    // Where the motion has the window, before the stack lifts it.
    QRect windowRect() const;
    int risen() const { return m_motion.risen(); }
    PopupMotion::State state() const { return m_motion.state(); }
    // The work area that placement uses; by default the primary screen's available geometry.
    void setWorkAreaProvider(std::function<QRect()> provider);

protected:
    // Created hidden, a window of its own: no other window's box or modality holds it. `stack`,
    // when there is one, is not owned.
    SlideUpCard(PopupStack* stack, Stacking stacking, const char* title);

    // A new display from the base line, whatever the card shows now; one that stays has no
    // display time.
    void startDisplay(bool stays = false);
    // Ends a showing display, reported as `how`; nothing when none shows.
    void endDisplay(PopupEnd how);
    // The display has ended and the card is hidden; runs synchronously, after everything else.
    virtual void displayEnded(PopupEnd end) = 0;

    void timerEvent(QTimerEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void apply(const PopupStep& step);
    void place();
    QBasicTimer& timer(PopupTimer which);
    QRect workArea() const;

    QPointer<PopupStack> m_stack;
    const Stacking m_stacking;
    PopupMotion m_motion;
    QBasicTimer m_slide;
    QBasicTimer m_dismiss;
    std::function<QRect()> m_workAreaProvider;
};

} // namespace quillo::notify
