#include "skin_controls/color_label.h"

#include <QPainter>

CColorLabel::CColorLabel(QWidget* parent)
    : CColorLabel(QString(), parent) {}

CColorLabel::CColorLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
    // Until the owner chooses, the system's own colours for static text.
    , m_textColor(palette().color(QPalette::WindowText))
    , m_backColor(palette().color(QPalette::Window)) {
    // A plain static text: left-aligned, from the top.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

CColorLabel::~CColorLabel() = default;

void CColorLabel::SetForeColor(const QColor& color) {
    m_textColor = color;
    redrawNow();
}

void CColorLabel::SetBackColor(const QColor& color) {
    m_backColor = color;
    m_fill = color;
    redrawNow();
}

CColorLabel::Colors CColorLabel::CtlColor() const {
    return {m_textColor, m_backColor, m_fill};
}

void CColorLabel::redrawNow() {
    if (isVisible())
        repaint();
    else
        update();
}

void CColorLabel::paintEvent(QPaintEvent*) {
    const Colors colors = CtlColor();
    QPainter painter(this);
    if (colors.fill)
        painter.fillRect(rect(), *colors.fill);
    // Opaque text: each line stands on a cell of the background colour.
    painter.setFont(font());
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(colors.textBackground);
    painter.setPen(colors.text);
    const QRect textRect = painter.boundingRect(rect(), int(alignment()), text());
    painter.fillRect(textRect.intersected(rect()), colors.textBackground);
    painter.drawText(rect(), int(alignment()), text());
}
