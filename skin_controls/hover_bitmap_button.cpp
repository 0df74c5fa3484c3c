#include "skin_controls/hover_bitmap_button.h"

#include "resources/resource_loader.h"
#include "skin_controls/cursor_source.h"

#include <QMouseEvent>
#include <QPainter>

CHoverBitmapButton::CHoverBitmapButton(QWidget* parent)
    : QAbstractButton(parent) {
    // Moves must arrive without a pressed button: they arm the hover poll.
    setMouseTracking(true);
    // Reachable by Tab, but a click leaves the keyboard with the page.
    setFocusPolicy(Qt::TabFocus);
}

CHoverBitmapButton::~CHoverBitmapButton() = default;

bool CHoverBitmapButton::LoadBitmaps(unsigned id) {
    m_bitmap = quillo::res::loadBitmap(static_cast<int>(id));
    m_logic.loadBitmap(id);
    return !m_bitmap.isNull();
}

void CHoverBitmapButton::SetBitmapIds(unsigned normalId, unsigned hoverId) {
    m_logic.SetBitmapIds(normalId, hoverId);
}

QSize CHoverBitmapButton::sizeHint() const {
    return m_bitmap.isNull() ? QSize(19, 19) : m_bitmap.size();
}

void CHoverBitmapButton::paintEvent(QPaintEvent*) {
    // Unscaled from the top-left corner: a bitmap wider than the button loses its last columns.
    QPainter painter(this);
    if (!m_bitmap.isNull())
        painter.drawPixmap(0, 0, m_bitmap);
}

void CHoverBitmapButton::mouseMoveEvent(QMouseEvent* event) {
    m_screenOrigin = quillo::screenOriginOf(*event);
    m_logic.OnMouseMove();
    m_hoverPoll.start(quillo::HoverButtonLogic::kPollMs, Qt::PreciseTimer, this);
    QAbstractButton::mouseMoveEvent(event);
}

void CHoverBitmapButton::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_hoverPoll.timerId()) {
        OnTimer();
        return;
    }
    QAbstractButton::timerEvent(event);
}

void CHoverBitmapButton::OnTimer() {
    const QPoint origin = m_screenOrigin.value_or(mapToGlobal(QPoint(0, 0)));
    const quillo::Rect onScreen{origin.x(), origin.y(), width(), height()};
    const QPoint cursor = quillo::cursorScreenPos();
    if (const auto id = m_logic.onTick(onScreen, cursor.x(), cursor.y())) {
        m_bitmap = quillo::res::loadBitmap(static_cast<int>(*id));
        update();
    }
    m_hoverPoll.stop();
}
