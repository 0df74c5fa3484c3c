#pragma once

#include <QPoint>
#include <functional>

class QMouseEvent;

namespace quillo {

// Where the receiving widget's origin is on the screen, from a mouse event's own two positions,
// which always agree with each other. Qt's idea of a reparented frameless window's position can lag
// behind the window manager's (seen with openbox), so mapToGlobal() would be off.
QPoint screenOriginOf(const QMouseEvent& event);

// Where the hover polls find the cursor: the real one, or one a test moves by hand.
QPoint cursorScreenPos();
// An empty function restores the real cursor.
void setCursorSourceForTests(std::function<QPoint()> source);

} // namespace quillo
