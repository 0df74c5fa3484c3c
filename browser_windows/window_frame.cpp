#include "browser_windows/window_frame.h"

#include "browser_host/web_browser2.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

Q_LOGGING_CATEGORY(lcWindowKeys, "quillo.window", QtInfoMsg)

namespace quillo::windows {

namespace {
QMargins s_frameMargins;
} // namespace

QMargins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

QSize contentSizeFor(const QRect& outer, const QMargins& frame) {
    return {std::max(1, outer.width() - frame.left() - frame.right()),
            std::max(1, outer.height() - frame.top() - frame.bottom())};
}

QMargins knownFrameMargins() {
    return s_frameMargins;
}

void noteFrameMargins(const QMargins& frame) {
    if (!frame.isNull())
        s_frameMargins = frame;
}

void keyboardBackToPage(QWidget& window, CWebBrowser2* browser) {
    if (browser == nullptr || !window.isActiveWindow() || CWebBrowser2::hasFocusWithin(window))
        return;
    browser->setFocus(Qt::OtherFocusReason);
}

bool holdEndKey(const QKeyEvent& event, QWidget& window, CWebBrowser2* browser) {
    // With any modifier too: none of them makes these keys the dialog's.
    const int key = event.key();
    if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (!event.isAutoRepeat())
        qCInfo(lcWindowKeys).noquote() << (key == Qt::Key_Escape ? "Escape" : "Enter") << "reached the window"
                                       << window.windowTitle() << "and not its page: nothing ends";
    keyboardBackToPage(window, browser);
    return true;
}

} // namespace quillo::windows
