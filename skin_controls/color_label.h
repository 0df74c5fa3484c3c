#pragma once

#include <QColor>
#include <QLabel>
#include <optional>

// A static text in colours its owner chooses: the text on a cell of the background colour, and
// the whole control in that colour once a background has been set.
class CColorLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CColorLabel)

public:
    explicit CColorLabel(QWidget* parent = nullptr);
    explicit CColorLabel(const QString& text, QWidget* parent = nullptr);
    ~CColorLabel() override;

    void SetForeColor(const QColor& color);
    void SetBackColor(const QColor& color);

    struct Colors {
        QColor text;
        QColor textBackground;
        // What the whole control is painted with; nothing before any background was set, so the
        // parent's background shows.
        std::optional<QColor> fill;
    };
    Colors CtlColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void redrawNow();

    QColor m_textColor;
    QColor m_backColor;
    std::optional<QColor> m_fill;
};
