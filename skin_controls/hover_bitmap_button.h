#pragma once

#include "skin_controls/hover_button_logic.h"

#include <QAbstractButton>
#include <QBasicTimer>
#include <QPixmap>
#include <optional>

// A caption button of the skinned frame: one bitmap normally, another while the cursor rests on
// it. Hover is found by a one-shot poll after each mouse move, not by leave events.
class CHoverBitmapButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CHoverBitmapButton)

public:
    explicit CHoverBitmapButton(QWidget* parent = nullptr);
    ~CHoverBitmapButton() override;

    // Drops every bitmap the button holds and loads this one as its only bitmap.
    bool LoadBitmaps(unsigned id);
    // Stores the ids; loads and draws nothing.
    void SetBitmapIds(unsigned normalId, unsigned hoverId);

    // The poll's tick, as the timer delivers it; tests drive ticks through here.
    void OnTimer();
    bool isHoverTimerActive() const { return m_hoverPoll.isActive(); }
    unsigned loadedBitmap() const { return m_logic.loadedBitmap(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    quillo::HoverButtonLogic m_logic;
    // The button's top-left corner on the screen as the last mouse move found it.
    std::optional<QPoint> m_screenOrigin;
    QPixmap m_bitmap;
    // The one-shot hover poll (IDT_BUTTON_HOVER).
    QBasicTimer m_hoverPoll;
};
