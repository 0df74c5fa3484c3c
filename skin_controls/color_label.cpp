#include "skin_controls/color_label.h"

#include <QPainter>

namespace {
QColor toQColor(quillo::ColorRef color) {
    return QColor(quillo::RedOf(color), quillo::GreenOf(color), quillo::BlueOf(color));
}
quillo::ColorRef toColorRef(const QColor& color) {
    return quillo::Rgb(color.red(), color.green(), color.blue());
}
} // namespace

CColorLabel::CColorLabel(QWidget* parent)
    : CColorLabel(QString(), parent) {}

CColorLabel::CColorLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
    // Until the owner chooses, the system's own colours for static text.
    , m_textColor(toColorRef(palette().color(QPalette::WindowText)))
    , m_backColor(toColorRef(palette().color(QPalette::Window))) {
    // A plain static text: left-aligned, from the top.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

CColorLabel::~CColorLabel() = default;

void CColorLabel::SetForeColor(quillo::ColorRef color) {
    m_textColor = color;
    RedrawNow();
}

void CColorLabel::SetBackColor(quillo::ColorRef color) {
    m_backColor = color;
    // The old brush goes before the new one exists: never more than one per label.
    m_backBrush.reset();
    m_backBrush = std::make_unique<quillo::SolidBrush>(color);
    RedrawNow();
}

CColorLabel::Colors CColorLabel::CtlColor() const {
    return {m_textColor, m_backColor, m_backBrush.get()};
}

void CColorLabel::RedrawNow() {
    if (isVisible())
        repaint();
    else
        update();
}

void CColorLabel::paintEvent(QPaintEvent*) {
    const Colors colors = CtlColor();
    QPainter painter(this);
    if (colors.brush != nullptr)
        painter.fillRect(rect(), toQColor(colors.brush->color()));
    // Opaque text: each line stands on a cell of the background colour.
    painter.setFont(font());
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(toQColor(colors.textBackground));
    painter.setPen(toQColor(colors.text));
    const QRect textRect = painter.boundingRect(rect(), int(alignment()), text());
    painter.fillRect(textRect.intersected(rect()), toQColor(colors.textBackground));
    painter.drawText(rect(), int(alignment()), text());
}
