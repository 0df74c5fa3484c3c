#include "notification/slide_up_card.h"

#include "notification/popup_stack.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimerEvent>

namespace quillo::notify {

SlideUpCard::SlideUpCard(PopupStack* stack, Stacking stacking, const char* title)
    : QWidget(nullptr)
    , m_stack(stack)
    , m_stacking(stacking) {
    // Never in the taskbar, above other windows, and never the focus window: the operator may be
    // typing elsewhere when a card rises. On X11 the window manager is bypassed, because it would
    // push a window that starts below the screen edge back onto the screen when it is mapped.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QString::fromLatin1(title));
    setFocusPolicy(Qt::NoFocus);
    if (m_stacking == Stacking::OnBaseLine) {
        resize(kPopupWidth, kPopupRise);
    } else {
        setFixedSize(kPopupWidth, kPopupRise);
        // A card on the base line that rises or goes takes this card along.
        if (m_stack)
            connect(m_stack, &PopupStack::chatPopupHeightChanged, this, [this] {
                if (isVisible())
                    place();
            });
    }
}

SlideUpCard::~SlideUpCard() = default;

void SlideUpCard::startDisplay(bool stays) {
    const QRect area = workArea();
    apply(m_motion.start({area.x(), area.y(), area.width(), area.height()}, stays));
}

void SlideUpCard::endDisplay(PopupEnd how) {
    apply(m_motion.end(how));
}

void SlideUpCard::tick(PopupTimer timer) {
    apply(m_motion.tick(timer));
}

void SlideUpCard::click(QPoint at) {
    apply(m_motion.click(at.x(), at.y()));
}

void SlideUpCard::accept() {
    endDisplay(PopupEnd::Accepted);
}

bool SlideUpCard::isTimerActive(PopupTimer which) const {
    return (which == PopupTimer::Slide ? m_slide : m_dismiss).isActive();
}

QRect SlideUpCard::windowRect() const {
    const Rect& rect = m_motion.window();
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

void SlideUpCard::setWorkAreaProvider(std::function<QRect()> provider) {
    m_workAreaProvider = std::move(provider);
}

QRect SlideUpCard::workArea() const {
    if (m_workAreaProvider)
        return m_workAreaProvider();
    // The work area leaves out the taskbar or panels, wherever they are docked.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return {};
}

QBasicTimer& SlideUpCard::timer(PopupTimer which) {
    return which == PopupTimer::Slide ? m_slide : m_dismiss;
}

void SlideUpCard::place() {
    const Rect& rect = m_motion.window();
    if (m_stacking == Stacking::OnBaseLine)
        setGeometry(rect.x, rect.y, rect.width, rect.height);
    else
        move(rect.x, rect.y - (m_stack ? m_stack->chatPopupHeight() : 0));
}

void SlideUpCard::apply(const PopupStep& step) {
    for (const PopupTimer which : step.stopTimers)
        timer(which).stop();
    // Starting a running timer restarts it with the new period.
    for (const auto& [which, periodMs] : step.startTimers)
        timer(which).start(periodMs, Qt::PreciseTimer, this);
    if (step.moveTo) {
        place();
        // Only what has risen above the base line is seen, so an always-on-top card never covers
        // a panel at the bottom of the screen.
        const int height = m_stacking == Stacking::OnBaseLine ? step.moveTo->height : this->height();
        setMask(QRegion(0, 0, width(), std::min(m_motion.risen(), height)));
        // No window manager keeps a bypassing window on top, so it climbs back while it rises.
        if (isVisible())
            raise();
        update();
    }
    if (step.show) {
        QPointer<QWidget> focused = QApplication::focusWidget();
        show();
        if (focused)
            focused->setFocus();
    }
    if (step.hide)
        hide();
    if (m_stack && m_stacking == Stacking::OnBaseLine)
        m_stack->setChatPopupHeight(isVisible() ? std::min(m_motion.risen(), kPopupRise) : 0);
    if (step.report)
        displayEnded(*step.report);
}

void SlideUpCard::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_slide.timerId())
        tick(PopupTimer::Slide);
    else if (event->timerId() == m_dismiss.timerId())
        tick(PopupTimer::Dismiss);
    QWidget::timerEvent(event);
}

void SlideUpCard::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        click(event->position().toPoint());
    QWidget::mouseReleaseEvent(event);
}

} // namespace quillo::notify
