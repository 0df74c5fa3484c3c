#include "skin_controls/cursor_source.h"

#include <QCursor>

namespace quillo {

namespace {
std::function<QPoint()>& cursorSource() {
    static std::function<QPoint()> source;
    return source;
}
} // namespace

QPoint CursorScreenPos() {
    if (const auto& source = cursorSource())
        return source();
    return QCursor::pos();
}

void SetCursorSourceForTests(std::function<QPoint()> source) {
    cursorSource() = std::move(source);
}

} // namespace quillo
