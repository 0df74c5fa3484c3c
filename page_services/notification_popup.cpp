#include "page_services/notification_popup.h"

#include "notification/notify_text.h"
#include "notification/popup_stack.h"
#include "resources/qt_rgb.h"
#include "resources/resource_loader.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace quillo::page_services {

namespace {} // namespace

NotificationPopup::NotificationPopup(notify::PopupStack* stack)
    : QWidget(nullptr)
    , m_stack(stack) {
    // As the chat request popup: above other windows, never the focus window, and placed by the
    // client rather than a window manager that would push it back onto the screen.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(notify::kPopupWidth, notify::kPopupRise);
    setObjectName(QStringLiteral("card"));
    setStyleSheet(QStringLiteral("#card { background: %1; border: 1px solid %2; }"
                                 "QLabel { color: %2; font-family: %3; font-size: %4pt; }"
                                 "QLabel#title { color: %5; font-weight: bold; }")
                      .arg(toQColor(notify::kTextAreaBackground).name(), toQColor(notify::kTextColour).name(),
                           QString::fromLatin1(notify::kTextFace),
                           QString::number(notify::kTextPointSize + 1),
                           toQColor(notify::kLastFieldColour).name()));
    setAttribute(Qt::WA_StyledBackground);

    auto* icon = new QLabel(this);
    icon->setPixmap(res::loadAppIcon().pixmap(32, 32));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_body = new QLabel(this);
    m_body->setTextFormat(Qt::PlainText);
    m_body->setWordWrap(true);
    m_body->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* header = new QHBoxLayout;
    header->addWidget(icon, 0, Qt::AlignTop);
    header->addWidget(m_title, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(header);
    layout->addWidget(m_body, 1);
    // Clicks on the texts count as clicks on the card.
    for (QLabel* label : {icon, m_title, m_body})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A chat popup that rises or goes under the card takes the card along.
    if (m_stack)
        connect(m_stack, &notify::PopupStack::chatPopupHeightChanged, this, [this] {
            if (isVisible())
                place();
        });
}

NotificationPopup::~NotificationPopup() = default;

void NotificationPopup::showText(const QString& title, const QString& body) {
    m_title->setText(title);
    m_body->setText(body);
    QRect area;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    apply(m_motion.start({area.x(), area.y(), area.width(), area.height()}));
}

void NotificationPopup::timerEvent(QTimerEvent* event) {
    if (const int id = m_timers.idOf(event); id != 0) {
        const notify::PopupStep step = m_motion.tick(id);
        apply(step);
        if (step.report)
            emit dismissed();
    }
    QWidget::timerEvent(event);
}

void NotificationPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isVisible()) {
        // The whole card is the one action: hide it and let the page's notification handle it.
        hide();
        for (const int id : {notify::IDT_POPUP_SLIDE, notify::IDT_POPUP_DISMISS})
            m_timers.kill(id);
        m_motion = {};
        emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

void NotificationPopup::place() {
    const Rect& rect = m_motion.window();
    move(rect.x, rect.y - (m_stack ? m_stack->chatPopupHeight() : 0));
}

void NotificationPopup::apply(const notify::PopupStep& step) {
    m_timers.change(step.stopTimers, step.startTimers);
    if (step.moveTo) {
        // Only the part risen above the base line is seen, as with the chat request popup.
        place();
        setMask(QRegion(0, 0, width(), std::min(m_motion.risen(), height())));
        if (isVisible())
            raise();
    }
    if (step.show) {
        QPointer<QWidget> focused = QApplication::focusWidget();
        show();
        if (focused)
            focused->setFocus();
    }
    if (step.hide)
        hide();
}

} // namespace quillo::page_services
