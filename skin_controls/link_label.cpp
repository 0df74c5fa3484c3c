#include "skin_controls/link_label.h"

#include "platform/link_open.h"
#include "resources/qt_rgb.h"
#include "skin_controls/cursor_source.h"
#include "skin_controls/skin_colors.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {
CLinkLabel::Opener& opener() {
    static CLinkLabel::Opener instance;
    return instance;
}

// A label to the eye, a link to assistive technology: named by its text, described by its address,
// and followed by its press action.
class LinkLabelAccessible final : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(CLinkLabel* label)
        : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text which) const override {
        const auto* label = static_cast<const CLinkLabel*>(widget());
        const QString own = QAccessibleWidget::text(which);
        if (!own.isEmpty())
            return own;
        if (which == QAccessible::Name)
            return label->text();
        if (which == QAccessible::Description)
            return label->linkUrl();
        return own;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override {
        if (actionName != pressAction())
            return;
        auto* label = static_cast<CLinkLabel*>(widget());
        label->OpenUrl(QUrl(label->linkUrl()));
    }
};

QAccessibleInterface* linkLabelAccessible(const QString&, QObject* object) {
    if (auto* label = qobject_cast<CLinkLabel*>(object))
        return new LinkLabelAccessible(label);
    return nullptr;
}

} // namespace

CLinkLabel::CLinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    static const bool accessibleAsLink = [] {
        QAccessible::installFactory(linkLabelAccessible);
        return true;
    }();
    (void)accessibleAsLink;
    // Moves must arrive without a pressed button: they start the hover state.
    setMouseTracking(true);
}

CLinkLabel::~CLinkLabel() = default;

void CLinkLabel::setOpenerForTests(Opener replacement) {
    opener() = std::move(replacement);
}

void CLinkLabel::PreSubclassWindow() {
    if (m_url.isEmpty())
        m_url = text();
    if (text().isEmpty())
        setText(m_url);

    m_plainFont = font();
    m_underlinedFont = font();
    m_underlinedFont.setUnderline(true);
    m_attached = true;

    FitToText();
    LoadHandCursor();
    // The label keeps the font it has until the cursor first leaves it; the plain copy looks the same.
    setToolTip(m_url);
}

void CLinkLabel::SetLinkUrl(const QString& address) {
    m_url = address;
    if (!m_attached)
        return;
    FitToText();
    setToolTip(m_url);
}

quillo::LabelAlignment CLinkLabel::labelAlignment() const {
    using Alignment = quillo::LabelAlignment;
    Alignment result;
    if (alignment() & Qt::AlignHCenter)
        result.horizontal = Alignment::Horizontal::Centre;
    else if (alignment() & Qt::AlignRight)
        result.horizontal = Alignment::Horizontal::Right;
    if (alignment() & Qt::AlignVCenter)
        result.vertical = Alignment::Vertical::Centre;
    return result;
}

void CLinkLabel::FitToText() {
    if (!m_attached)
        return;
    const QRect window = geometry();
    const QRect client = contentsRect();
    const QFontMetrics metrics(m_underlinedFont);
    const quillo::Rect fitted = quillo::FitToText(
        {window.x(), window.y(), window.width(), window.height()}, client.width(), client.height(),
        metrics.horizontalAdvance(text()), metrics.height(), labelAlignment());
    setGeometry(fitted.x, fitted.y, fitted.width, fitted.height);
}

void CLinkLabel::LoadHandCursor() {
    if (m_handCursor)
        return;
    m_handCursor = QCursor(Qt::PointingHandCursor);
    setCursor(*m_handCursor);
}

bool CLinkLabel::OpenUrl(const QUrl& address) {
    if (const Opener& replacement = opener())
        return replacement(address);
    return quillo::openInWebBrowser(address);
}

void CLinkLabel::apply(const quillo::LinkHoverLogic::Effects& effects) {
    if (effects.setUnderlinedFont)
        setFont(m_underlinedFont);
    if (effects.setPlainFont)
        setFont(m_plainFont);
    if (effects.startTimer)
        m_hoverPoll.start(quillo::LinkHoverLogic::kPollMs, Qt::PreciseTimer, this);
    if (effects.killTimer)
        m_hoverPoll.stop();
    if (effects.invalidateWhole)
        update();
    if (const auto& r = effects.invalidateRect)
        update(r->x, r->y, r->width, r->height);
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* event) {
    m_screenOrigin = quillo::screenOriginOf(*event);
    apply(m_hover.OnMouseMove());
    QLabel::mouseMoveEvent(event);
}

void CLinkLabel::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_hoverPoll.timerId()) {
        OnTimer();
        return;
    }
    QLabel::timerEvent(event);
}

void CLinkLabel::OnTimer() {
    const QPoint cursor = quillo::cursorScreenPos() - m_screenOrigin.value_or(mapToGlobal(QPoint(0, 0)));
    apply(m_hover.OnTimer(cursor.x(), cursor.y(), width(), height()));
}

void CLinkLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (clicked)
        OnLinkClicked();
}

void CLinkLabel::OnLinkClicked() {
    m_hover.onClick();
    // Whether the browser opened is not the label's business: nothing is shown either way.
    OpenUrl(QUrl(m_url));
}

void CLinkLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), quillo::toQColor(quillo::kSkinBackColor));
    painter.setFont(font());
    painter.setPen(quillo::toQColor(m_hover.textColor()));
    painter.drawText(contentsRect(), int(alignment()), text());
}
