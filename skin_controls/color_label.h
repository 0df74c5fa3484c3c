#pragma once

#include "skin_controls/color_ref.h"
#include "skin_controls/solid_brush.h"

#include <QLabel>
#include <memory>

// A static text in colours its owner chooses: the text on a cell of the background colour, and
// the whole control in that colour once a background has been set.
class CColorLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CColorLabel)

public:
    explicit CColorLabel(QWidget* parent = nullptr);
    explicit CColorLabel(const QString& text, QWidget* parent = nullptr);
    ~CColorLabel() override;

    void SetForeColor(quillo::ColorRef color);
    void SetBackColor(quillo::ColorRef color);

    struct Colors {
        quillo::ColorRef text;
        quillo::ColorRef textBackground;
        // The brush the whole control is painted with; none before any background was set, so
        // the parent's background shows.
        const quillo::SolidBrush* brush;
    };
    Colors CtlColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void RedrawNow();

    quillo::ColorRef m_textColor;
    quillo::ColorRef m_backColor;
    std::unique_ptr<quillo::SolidBrush> m_backBrush;
};
