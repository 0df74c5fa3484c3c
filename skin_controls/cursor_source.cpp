#include "skin_controls/cursor_source.h"

#include <QCursor>
#include <QMouseEvent>

namespace quillo {

namespace {
std::function<QPoint()>& cursorSource() {
    static std::function<QPoint()> source;
    return source;
}
} // namespace

QPoint screenOriginOf(const QMouseEvent& event) {
    return (event.globalPosition() - event.position()).toPoint();
}

QPoint cursorScreenPos() {
    if (const auto& source = cursorSource())
        return source();
    return QCursor::pos();
}

void setCursorSourceForTests(std::function<QPoint()> source) {
    cursorSource() = std::move(source);
}

} // namespace quillo
