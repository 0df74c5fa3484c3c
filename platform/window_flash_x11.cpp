#include "platform/window_flash.h"

#include "platform/x11_display.h"

#include <QApplication>
#include <QWidget>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quillo {
namespace {

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

// Some window managers (kwin) mark a window as demanding attention when its urgency hint
// appears and keep the mark when the hint goes; the mark is theirs, so they are asked to drop it.
void removeDemandsAttention(QWidget* window) {
    Display* display = x11Display();
    if (display == nullptr || !window->windowHandle())
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window->winId());
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 0; // _NET_WM_STATE_REMOVE
    event.xclient.data.l[1] =
        static_cast<long>(XInternAtom(display, "_NET_WM_STATE_DEMANDS_ATTENTION", False));
    event.xclient.data.l[3] = 1; // the request comes from an application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(display);
}

} // namespace

bool flashWindow(QWidget* window) {
    if (window == nullptr)
        return false;
    return setUrgency(window, !window->property(kFlashProperty).toBool());
}

void clearWindowFlash(QWidget* window) {
    if (window == nullptr)
        return;
    setUrgency(window, false);
    removeDemandsAttention(window);
}

} // namespace quillo
