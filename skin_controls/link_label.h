#pragma once

#include "skin_controls/link_label_logic.h"

#include <QBasicTimer>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QUrl>
#include <functional>
#include <optional>

// A static text turned into a hyperlink: light text on the skin's blue, underlined while the
// cursor is over it, a hand cursor, the address as tooltip, and a click that opens the address in
// the user's web browser.
class CLinkLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CLinkLabel)

public:
    explicit CLinkLabel(const QString& text = QString(), QWidget* parent = nullptr);
    ~CLinkLabel() override;

    // Takes the label over as a link, as binding it to its dialog control does.
    void PreSubclassWindow();
    void SetLinkUrl(const QString& address);
    const QString& linkUrl() const { return m_url; }
    // Opens the address in the user's web browser; whether a browser was started.
    bool OpenUrl(const QUrl& address);
    void FitToText();
    void LoadHandCursor();

    // The hover poll's tick, as the timer delivers it; tests drive ticks through here.
    void OnTimer();
    bool cursorOver() const { return m_hover.cursorOver(); }
    bool isHoverTimerActive() const { return m_hoverPoll.isActive(); }
    bool underlined() const { return font().underline(); }

    // Opening addresses in tests must not start a browser.
    using Opener = std::function<bool(const QUrl& address)>;
    static void setOpenerForTests(Opener opener);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void OnLinkClicked();
    void apply(const quillo::LinkHoverLogic::Effects& effects);
    quillo::LabelAlignment labelAlignment() const;

    quillo::LinkHoverLogic m_hover;
    QString m_url;
    QFont m_underlinedFont;
    QFont m_plainFont;
    std::optional<QCursor> m_handCursor;
    // The hover poll (IDT_LINK_HOVER).
    QBasicTimer m_hoverPoll;
    // The label's top-left corner on the screen as the last mouse move found it.
    std::optional<QPoint> m_screenOrigin;
    bool m_attached = false;
    bool m_pressed = false;
};
