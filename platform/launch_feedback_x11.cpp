#include "platform/launch_feedback_x11.h"

#include "platform/launch_token.h"
#include "platform/x11_display.h"

#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

namespace quillo {

// Tells the window manager which launch the window answers, then asks for the focus with the time
// of the operator's click that started the launch: a window manager that prevents focus stealing
// compares that time, not the client's last input, with the other windows'.
bool activateForX11Launch(QWidget* window, const std::string& startupId) {
    Display* display = x11Display();
    if (display == nullptr || window->windowHandle() == nullptr)
        return false;
    const auto id = static_cast<Window>(window->winId());
    XChangeProperty(display, id, XInternAtom(display, "_NET_STARTUP_ID", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(startupId.data()), int(startupId.size()));
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1; // the request comes from an application
    event.xclient.data.l[1] = static_cast<long>(startupTimestamp(startupId).value_or(CurrentTime));
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    // Before the start that handed the id over ends the launch, which makes the id unknown.
    XSync(display, False);
    return true;
}

// The start-up notification protocol: the text in 20-byte client messages to the root window, the
// first of type _NET_STARTUP_INFO_BEGIN, from a window of the sender's own.
bool completeX11Launch(const std::string& startupId) {
    Display* display = x11Display();
    if (display == nullptr)
        return false;
    const Window root = DefaultRootWindow(display);
    const Window sender = XCreateSimpleWindow(display, root, -100, -100, 1, 1, 0, 0, 0);
    const Atom begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
    const Atom more = XInternAtom(display, "_NET_STARTUP_INFO", False);
    bool first = true;
    for (const StartupMessageChunk& chunk : startupMessageChunks(startupRemoveMessage(startupId))) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = sender;
        event.xclient.message_type = first ? begin : more;
        event.xclient.format = 8;
        std::memcpy(event.xclient.data.b, chunk.data(), chunk.size());
        XSendEvent(display, root, False, PropertyChangeMask, &event);
        first = false;
    }
    XDestroyWindow(display, sender);
    XSync(display, False);
    return true;
}

} // namespace quillo
