#include "browser_windows/window_frame.h"

#include <QWidget>

#include <algorithm>

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

} // namespace quillo::windows
