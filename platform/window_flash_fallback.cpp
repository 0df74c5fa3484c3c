#include "platform/window_flash.h"

#include <QApplication>
#include <QWidget>

namespace quillo {

// Without native flashing, the toolkit's own alert is the closest: it asks once for attention.
bool flashWindow(QWidget* window) {
    if (window == nullptr)
        return false;
    const bool flashed = !window->property("quilloFlashed").toBool();
    window->setProperty("quilloFlashed", flashed);
    if (flashed)
        QApplication::alert(window, 0);
    return flashed;
}

void clearWindowFlash(QWidget* window) {
    if (window != nullptr)
        window->setProperty("quilloFlashed", false);
}

} // namespace quillo
