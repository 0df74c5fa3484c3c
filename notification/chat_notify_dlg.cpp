#include "notification/chat_notify_dlg.h"

#include "notification/popup_stack.h"
#include "resources/qt_rgb.h"
#include "resources/resource_ids.h"
#include "resources/resource_loader.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

using namespace quillo;

namespace {} // namespace

const QRect CChatNotifyDlg::kTextAreaRect{QPoint(5, 45), QPoint(187, 88)};

CChatNotifyDlg::CChatNotifyDlg(notify::PopupStack* stack)
    : QWidget(nullptr)
    , m_stack(stack)
    , m_background(res::loadBitmap(res::IDB_POPUP_BACKGROUND)) {
    // Never in the taskbar, above other windows, and never the focus window: the operator may be
    // typing elsewhere when a request arrives. On X11 the window manager is bypassed, because it
    // would push a window that starts below the screen edge back onto the screen when it is mapped.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setFocusPolicy(Qt::NoFocus);
    resize(notify::kPopupWidth, notify::kPopupRise);

    // A text edit accepts the clicks on it, so they never count as clicks on the card.
    m_richText = new QTextEdit(this);
    m_richText->setGeometry(kTextAreaRect);
    m_richText->setFrameStyle(QFrame::NoFrame);
    m_richText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_richText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_richText->setAcceptRichText(false);
    m_richText->document()->setDocumentMargin(1);
    QPalette palette = m_richText->palette();
    palette.setColor(QPalette::Base, toQColor(notify::kTextAreaBackground));
    palette.setColor(QPalette::Text, toQColor(notify::kTextColour));
    m_richText->setPalette(palette);
    m_richText->viewport()->setAutoFillBackground(true);
}

CChatNotifyDlg::~CChatNotifyDlg() = default;

bool CChatNotifyDlg::ShowNotification(std::string record) {
    setText(notify::ComposeNotifyText(record));
    const QRect area = workArea();
    apply(m_motion.start({area.x(), area.y(), area.width(), area.height()}));
    return true;
}

void CChatNotifyDlg::OnTimer(int id) {
    apply(m_motion.tick(id));
}

void CChatNotifyDlg::OnLButtonUp(int x, int y) {
    apply(m_motion.click(x, y));
}

QRect CChatNotifyDlg::windowRect() const {
    const Rect& rect = m_motion.window();
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

void CChatNotifyDlg::setWorkAreaProvider(std::function<QRect()> provider) {
    m_workAreaProvider = std::move(provider);
}

QRect CChatNotifyDlg::workArea() const {
    if (m_workAreaProvider)
        return m_workAreaProvider();
    // The work area leaves out the taskbar or panels, wherever they are docked.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return {};
}

void CChatNotifyDlg::setText(const notify::NotifyText& text) {
    m_richText->setPlainText(QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size())));

    QTextCursor cursor(m_richText->document());
    cursor.select(QTextCursor::Document);
    QTextCharFormat base;
    base.setForeground(toQColor(notify::kTextColour));
    base.setFontFamilies({QString::fromLatin1(notify::kTextFace)});
    base.setFontPointSize(notify::kTextPointSize);
    cursor.mergeCharFormat(base);

    for (const auto& span : {text.waitingSpan, text.lastFieldSpan}) {
        if (!span)
            continue;
        cursor.setPosition(span->position);
        cursor.setPosition(span->position + span->positionLength, QTextCursor::KeepAnchor);
        QTextCharFormat colour;
        colour.setForeground(toQColor(span->colour));
        cursor.mergeCharFormat(colour);
    }
    // The widget's own cursor stays unselected: an unfocused rich edit hides its selection, Qt
    // would paint it over the coloured span.
}

void CChatNotifyDlg::apply(const notify::PopupStep& step) {
    m_timers.change(step.stopTimers, step.startTimers);
    if (step.moveTo) {
        const Rect& rect = *step.moveTo;
        setGeometry(rect.x, rect.y, rect.width, rect.height);
        // Only what has risen above the base line is seen, so an always-on-top card never covers
        // a panel at the bottom of the screen.
        setMask(QRegion(0, 0, rect.width, std::min(m_motion.risen(), rect.height)));
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
    if (m_stack)
        m_stack->setChatPopupHeight(isVisible() ? std::min(m_motion.risen(), notify::kPopupRise) : 0);
    if (step.report)
        emit chatPopupClosed(*step.report, 0);
}

void CChatNotifyDlg::timerEvent(QTimerEvent* event) {
    if (const int id = m_timers.idOf(event); id != 0)
        OnTimer(id);
    QWidget::timerEvent(event);
}

void CChatNotifyDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        OnLButtonUp(at.x(), at.y());
    }
    QWidget::mouseReleaseEvent(event);
}

void CChatNotifyDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(notify::kTextAreaBackground));
    painter.drawPixmap(0, 0, m_background);
}
