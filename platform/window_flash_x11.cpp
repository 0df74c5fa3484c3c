#include "platform/window_flash.h"

#include "platform/x11_display.h"

#include <QWidget>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quillo {
namespace {

const char* kFlashProperty = "quilloFlashed";

bool setUrgency(QWidget* window, bool urgent) {
    window->setProperty(kFlashProperty, urgent);
    Display* display = x11Display();
    if (display == nullptr || !window->windowHandle())
        return urgent;
    const auto id = static_cast<Window>(window->winId());
    XWMHints* hints = XGetWMHints(display, id);
    XWMHints fresh{};
    XWMHints* target = hints != nullptr ? hints : &fresh;
    if (urgent)
        target->flags |= XUrgencyHint;
    else
        target->flags &= ~XUrgencyHint;
    XSetWMHints(display, id, target);
    if (hints != nullptr)
        XFree(hints);
    XFlush(display);
    return urgent;
}

} // namespace

bool flashWindow(QWidget* window) {
    if (window == nullptr)
        return false;
    return setUrgency(window, !window->property(kFlashProperty).toBool());
}

void clearWindowFlash(QWidget* window) {
    if (window != nullptr)
        setUrgency(window, false);
}

} // namespace quillo
