#include "platform/window_flash.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quillo {
namespace {

Display* x11Display() {
    // Other platform plugins (offscreen) may hold an X connection whose windows are not X windows.
    auto* x11 = qGuiApp && QGuiApplication::platformName() == QLatin1String("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    return x11 ? x11->display() : nullptr;
}

const char* kFlashProperty = "quilloFlashed";

bool setUrgency(QWidget* window, bool urgent) {
    window->setProperty(kFlashProperty, urgent);
    Display* display = x11Display();
    if (display == nullptr) {
        // Native Wayland and other platforms: the toolkit's one-shot request for attention, which
        // the compositor may honour or ignore.
        if (urgent)
            QApplication::alert(window, 0);
        return urgent;
    }
    if (!window->windowHandle())
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
