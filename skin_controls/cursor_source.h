#pragma once

#include <QPoint>
#include <functional>

namespace quillo {

// Where the hover polls find the cursor: the real one, or one a test moves by hand.
QPoint CursorScreenPos();
// An empty function restores the real cursor.
void SetCursorSourceForTests(std::function<QPoint()> source);

} // namespace quillo
