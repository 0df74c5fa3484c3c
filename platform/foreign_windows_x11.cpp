#include "platform/foreign_windows.h"

#include "platform/x11_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>
#include <string>

namespace quillo {
namespace {

std::string windowTitle(Display* display, Window window) {
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && type == utf8) {
        title.assign(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr)
        XFree(data);
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name != nullptr) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

bool hasClass(Display* display, Window window, const char* windowClass) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool match = hint.res_class != nullptr && std::strcmp(hint.res_class, windowClass) == 0;
    if (hint.res_name != nullptr)
        XFree(hint.res_name);
    if (hint.res_class != nullptr)
        XFree(hint.res_class);
    return match;
}

// Client windows sit either directly under the root or inside the window manager's frame, so the
// search goes two levels deep and stops at the first window that carries a class hint.
Window findClient(Display* display, Window parent, const char* windowClass, const char* title, int depth) {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XClassHint hint{};
        const bool isClient = XGetClassHint(display, children[i], &hint) != 0;
        if (hint.res_name != nullptr)
            XFree(hint.res_name);
        if (hint.res_class != nullptr)
            XFree(hint.res_class);
        if (isClient) {
            if (hasClass(display, children[i], windowClass) && windowTitle(display, children[i]) == title)
                found = children[i];
        } else if (depth > 0) {
            found = findClient(display, children[i], windowClass, title, depth - 1);
        }
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

} // namespace

bool closeForeignWindow(const char* windowClass, const char* title) {
    Display* display = x11Display();
    if (display == nullptr)
        return false;
    const Window window = findClient(display, DefaultRootWindow(display), windowClass, title, 2);
    if (window == 0)
        return false;
    // WM_DELETE_WINDOW is the X11 form of the close box: the program decides how to close.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return true;
}

} // namespace quillo
