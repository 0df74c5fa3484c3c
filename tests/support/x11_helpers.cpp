#include "tests/support/e2e_harness.h"

#include <QDeadlineTimer>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <thread>

using namespace Qt::StringLiterals;

namespace quillo::e2e::x11 {

namespace {

constexpr int kPollStepMs = 50;

// One short-lived connection per query keeps the helpers free of shared state.
class Connection {
public:
    Connection()
        : m_display(XOpenDisplay(nullptr)) {}
    ~Connection() {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* get() const { return m_display; }
    explicit operator bool() const { return m_display != nullptr; }

private:
    Display* m_display;
};

// Xlib reports errors (a window that vanished mid-walk) through a handler that exits by default.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

struct ErrorGuard {
    ErrorGuard()
        : previous(XSetErrorHandler(ignoreErrors)) {}
    ~ErrorGuard() { XSetErrorHandler(previous); }
    int (*previous)(Display*, XErrorEvent*);
};

QString titleOf(Display* display, Window window) {
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && type == utf8)
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(count));
    if (data != nullptr)
        XFree(data);
    if (title.isEmpty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name != nullptr) {
            title = QString::fromLocal8Bit(name);
            XFree(name);
        }
    }
    return title;
}

std::optional<Window> windowProperty(Display* display, Window window, const char* name) {
    const Atom atom = XInternAtom(display, name, False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::optional<Window> result;
    if (XGetWindowProperty(display, window, atom, 0, 1, False, XA_WINDOW, &type, &format, &count, &remaining,
                           &data) == Success &&
        data != nullptr && count == 1 && format == 32)
        result = *reinterpret_cast<Window*>(data);
    if (data != nullptr)
        XFree(data);
    return result;
}

bool hasWindowType(Display* display, Window window, Atom wanted) {
    const Atom property = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, window, property, 0, 32, False, XA_ATOM, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        found = std::find(atoms, atoms + count, wanted) != atoms + count;
    }
    if (data != nullptr)
        XFree(data);
    return found;
}

// Depth-first over viewable windows, topmost first, down to depth levels below parent.
Window findViewable(Display* display, Window parent, int depth, const std::function<bool(Window)>& match) {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = count; i > 0 && found == 0; --i) {
        const Window child = children[i - 1];
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, child, &attributes) || attributes.map_state != IsViewable)
            continue;
        if (match(child))
            found = child;
        else if (depth > 0)
            found = findViewable(display, child, depth - 1, match);
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

std::optional<WindowId> pollForWindow(int ms, const std::function<bool(Display*, Window)>& match) {
    const QDeadlineTimer deadline(ms);
    for (;;) {
        {
            Connection connection;
            if (connection) {
                ErrorGuard guard;
                Display* display = connection.get();
                const Window found = findViewable(display, DefaultRootWindow(display), 3,
                                                  [&](Window window) { return match(display, window); });
                if (found != 0)
                    return WindowId(found);
            }
        }
        if (deadline.hasExpired())
            return std::nullopt;
        QTest::qWait(kPollStepMs);
    }
}

Window topLevelAncestor(Display* display, Window window) {
    Window current = window;
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, current, &root, &parent, &children, &count))
            return current;
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == 0)
            return current;
        current = parent;
    }
}

QRect screenRect(Display* display, Window window, bool includeBorder) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes))
        return {};
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    const int border = includeBorder ? attributes.border_width : 0;
    return QRect(x - border, y - border, attributes.width + 2 * border, attributes.height + 2 * border);
}

// A call that does not end in time fails rather than holding the test until ctest kills it.
bool xdotool(const QStringList& arguments) {
    constexpr int kLimitMs = 30000;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(u"xdotool"_s, arguments);
    if (!process.waitForFinished(kLimitMs)) {
        qWarning("xdotool %s did not end within %d ms", qPrintable(arguments.join(u' ')), kLimitMs);
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// xdotool's --sync waits for the pointer to move, for ever when it is there already.
QStringList moveTo(int x, int y) {
    QStringList arguments{u"mousemove"_s};
    Connection connection;
    Window root = 0;
    Window child = 0;
    int rootX = -1;
    int rootY = -1;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    if (!connection ||
        !XQueryPointer(connection.get(), DefaultRootWindow(connection.get()), &root, &child, &rootX, &rootY,
                       &winX, &winY, &mask) ||
        rootX != x || rootY != y)
        arguments << u"--sync"_s;
    return arguments << QString::number(x) << QString::number(y);
}

} // namespace

bool displayAvailable() {
    return bool(Connection());
}

std::optional<WindowId> findWindowByTitle(const QString& title, int ms) {
    return pollForWindow(ms,
                         [&](Display* display, Window window) { return titleOf(display, window) == title; });
}

QList<WindowId> windowsByTitle(const QString& title) {
    QList<WindowId> windows;
    Connection connection;
    if (!connection)
        return windows;
    ErrorGuard guard;
    Display* display = connection.get();
    findViewable(display, DefaultRootWindow(display), 3, [&](Window window) {
        if (titleOf(display, window) == title)
            windows.append(WindowId(window));
        return false;
    });
    return windows;
}

bool requestClose(WindowId window) {
    Connection connection;
    if (!connection)
        return false;
    ErrorGuard guard;
    Display* display = connection.get();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, Window(window), False, NoEventMask, &event) != 0;
    XSync(display, False);
    return sent;
}

std::optional<WindowId> findWindowByType(const QString& type, int ms) {
    const QByteArray name = type.toLatin1();
    return pollForWindow(ms, [&](Display* display, Window window) {
        return hasWindowType(display, window, XInternAtom(display, name.constData(), False));
    });
}

QList<WindowId> topLevelWindows() {
    QList<WindowId> windows;
    Connection connection;
    if (!connection)
        return windows;
    ErrorGuard guard;
    Display* display = connection.get();
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return windows;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            windows.append(WindowId(children[i]));
    }
    if (children != nullptr)
        XFree(children);
    return windows;
}

std::optional<WindowId> waitForNewPopup(const QList<WindowId>& before, int ms) {
    return pollForWindow(ms, [&](Display* display, Window window) {
        XWindowAttributes attributes{};
        return !before.contains(WindowId(window)) && XGetWindowAttributes(display, window, &attributes) &&
               attributes.override_redirect && DefaultRootWindow(display) == attributes.root && [&] {
                   Window root = 0;
                   Window parent = 0;
                   Window* children = nullptr;
                   unsigned int count = 0;
                   const bool ok = XQueryTree(display, window, &root, &parent, &children, &count);
                   if (children != nullptr)
                       XFree(children);
                   return ok && parent == root;
               }();
    });
}

QRect frameGeometry(WindowId window) {
    Connection connection;
    if (!connection)
        return {};
    ErrorGuard guard;
    return screenRect(connection.get(), topLevelAncestor(connection.get(), Window(window)), true);
}

QRect clientGeometry(WindowId window) {
    Connection connection;
    if (!connection)
        return {};
    ErrorGuard guard;
    return screenRect(connection.get(), Window(window), false);
}

bool isUndecorated(WindowId window) {
    return frameGeometry(window) == clientGeometry(window);
}

bool isUrgent(WindowId window) {
    Connection connection;
    if (!connection)
        return false;
    ErrorGuard guard;
    XWMHints* hints = XGetWMHints(connection.get(), Window(window));
    if (hints == nullptr)
        return false;
    const bool urgent = (hints->flags & XUrgencyHint) != 0;
    XFree(hints);
    return urgent;
}

bool isViewable(WindowId window) {
    Connection connection;
    if (!connection)
        return false;
    ErrorGuard guard;
    XWindowAttributes attributes{};
    return XGetWindowAttributes(connection.get(), Window(window), &attributes) &&
           attributes.map_state == IsViewable;
}

std::optional<WindowId> activeWindow() {
    Connection connection;
    if (!connection)
        return std::nullopt;
    ErrorGuard guard;
    Display* display = connection.get();
    if (const auto active = windowProperty(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW"))
        return *active != 0 ? std::optional<WindowId>(*active) : std::nullopt;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus > PointerRoot ? std::optional<WindowId>(focus) : std::nullopt;
}

bool click(int x, int y, int button) {
    return xdotool(moveTo(x, y) << u"click"_s << QString::number(button));
}

bool clicks(int x, int y, int count, int delayMs) {
    // No --sync: xdotool then waits some fifteen seconds when the pointer is already there. The
    // server takes the move before the clicks that follow it anyway.
    return xdotool({u"mousemove"_s, QString::number(x), QString::number(y), u"click"_s, u"--repeat"_s,
                    QString::number(count), u"--delay"_s, QString::number(delayMs), u"1"_s});
}

bool moveMouse(int x, int y) {
    return xdotool(moveTo(x, y));
}

bool moveMouseOverAndAway(QPoint over, QPoint away) {
    return xdotool(moveTo(over.x(), over.y()) + moveTo(away.x(), away.y()));
}

bool key(const QString& combo) {
    return xdotool({u"key"_s, combo});
}

bool typeText(const QString& text) {
    return xdotool({u"type"_s, u"--delay"_s, u"20"_s, text});
}

bool drag(int fromX, int fromY, int toX, int toY, int button) {
    // Several steps, so the target sees a real motion and not a jump. The first waits as a hand
    // does: a client that hands the move to the window manager on the press needs that round trip
    // before the pointer moves, or a loaded machine loses the first step.
    QStringList arguments = {u"mousemove"_s,
                             u"--sync"_s,
                             QString::number(fromX),
                             QString::number(fromY),
                             u"mousedown"_s,
                             QString::number(button),
                             u"sleep"_s,
                             u"0.25"_s};
    constexpr int kSteps = 8;
    for (int step = 1; step <= kSteps; ++step) {
        arguments << u"sleep"_s << u"0.03"_s << u"mousemove"_s
                  << QString::number(fromX + (toX - fromX) * step / kSteps)
                  << QString::number(fromY + (toY - fromY) * step / kSteps);
    }
    arguments << u"sleep"_s << u"0.05"_s << u"mouseup"_s << QString::number(button);
    return xdotool(arguments);
}

bool wheel(int x, int y, int notches, const QString& heldKey) {
    QStringList arguments = {u"mousemove"_s, u"--sync"_s, QString::number(x), QString::number(y)};
    if (!heldKey.isEmpty())
        arguments << u"keydown"_s << heldKey;
    // X11 reports wheel notches as clicks of buttons 4 (away) and 5 (towards).
    arguments << u"click"_s << u"--repeat"_s << QString::number(std::abs(notches)) << u"--delay"_s << u"50"_s
              << (notches > 0 ? u"4"_s : u"5"_s);
    if (!heldKey.isEmpty())
        arguments << u"keyup"_s << heldKey;
    return xdotool(arguments);
}

bool activate(WindowId window) {
    const QString id = QString::number(window);
    if (windowManagerRunning())
        return xdotool({u"windowactivate"_s, u"--sync"_s, id});
    return xdotool({u"windowraise"_s, id}) && xdotool({u"windowfocus"_s, u"--sync"_s, id});
}

std::optional<WindowId> findPopupWindow(const QString& instanceName, int ms) {
    const QByteArray wanted = instanceName.toLocal8Bit();
    return pollForWindow(ms, [&](Display* display, Window window) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, window, &attributes) || !attributes.override_redirect)
            return false;
        XClassHint hint{};
        if (!XGetClassHint(display, window, &hint))
            return false;
        const bool matches = hint.res_name != nullptr && wanted == hint.res_name;
        XFree(hint.res_name);
        XFree(hint.res_class);
        return matches;
    });
}

bool resizeWindow(WindowId window, int width, int height) {
    return xdotool({u"windowsize"_s, u"--sync"_s, QString::number(window), QString::number(width),
                    QString::number(height)});
}

bool screenshot(const QString& path) {
    return QProcess::execute(u"import"_s, {u"-window"_s, u"root"_s, path}) == 0;
}

bool windowManagerRunning() {
    Connection connection;
    if (!connection)
        return false;
    ErrorGuard guard;
    Display* display = connection.get();
    const auto check = windowProperty(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK");
    if (!check)
        return false;
    // A stale property from a window manager that has died points at a window that is gone.
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, *check, &attributes) != 0;
}

WindowManager::~WindowManager() {
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
}

std::unique_ptr<WindowManager> startWindowManager(int ms) {
    auto manager = std::unique_ptr<WindowManager>(new WindowManager);
    if (windowManagerRunning())
        return manager;
    manager->m_process = std::make_unique<QProcess>();
    manager->m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    endWithParent(*manager->m_process);
    const QDeadlineTimer deadline(ms);
    while (!windowManagerRunning()) {
        if (deadline.hasExpired())
            return nullptr;
        // The previous test's manager may still hold the screen while it ends, and openbox then
        // exits at once: start it again until the screen is free or the time is up.
        if (manager->m_process->state() == QProcess::NotRunning) {
            manager->m_process->start(u"openbox"_s, {u"--sm-disable"_s});
            if (!manager->m_process->waitForStarted(5000))
                return nullptr;
        }
        QTest::qWait(kPollStepMs);
    }
    return manager;
}

ForeignWindow::ForeignWindow(const QString& windowClass, const QString& title)
    : m_display(XOpenDisplay(nullptr)) {
    if (m_display == nullptr)
        return;
    Display* display = m_display;
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, 200, 200, 320, 160, 1, BlackPixel(display, 0),
                                              WhitePixel(display, 0));
    const QByteArray className = windowClass.toLatin1();
    const QByteArray name = title.toUtf8();
    QByteArray instance = "foreign";
    XClassHint hint{instance.data(), const_cast<char*>(className.constData())};
    XSetClassHint(display, window, &hint);
    XStoreName(display, window, name.constData());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(name.constData()), int(name.size()));
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);
    m_window = window;
    m_open = true;

    // Wait until it is on the screen, as an installer's dialog would be.
    const QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired()) {
        XEvent event{};
        if (XCheckTypedWindowEvent(display, window, MapNotify, &event))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ForeignWindow::~ForeignWindow() {
    if (m_display == nullptr)
        return;
    if (m_open)
        XDestroyWindow(m_display, m_window);
    XCloseDisplay(m_display);
}

void ForeignWindow::pump() {
    if (m_display == nullptr)
        return;
    const Atom protocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
    while (XPending(m_display) > 0) {
        XEvent event{};
        XNextEvent(m_display, &event);
        if (event.type == ClientMessage && event.xclient.message_type == protocols &&
            Atom(event.xclient.data.l[0]) == deleteWindow && m_open) {
            m_closeRequestedAt = std::chrono::steady_clock::now();
            XDestroyWindow(m_display, m_window);
            XFlush(m_display);
            m_open = false;
        }
    }
}

bool ForeignWindow::wasCloseRequested() {
    pump();
    return m_closeRequestedAt.has_value();
}

std::optional<std::chrono::steady_clock::time_point> ForeignWindow::closeRequestedAt() {
    pump();
    return m_closeRequestedAt;
}

bool ForeignWindow::isOpen() {
    pump();
    return m_open;
}

unsigned long serverTime() {
    Connection connection;
    if (!connection)
        return 0;
    Display* display = connection.get();
    // A property change on a window of our own comes back stamped with the server's time.
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    const Atom atom = XInternAtom(display, "QUILLO_TEST_TIME", False);
    XChangeProperty(display, window, atom, XA_STRING, 8, PropModeReplace, nullptr, 0);
    XEvent event{};
    XWindowEvent(display, window, PropertyChangeMask, &event);
    XDestroyWindow(display, window);
    return event.xproperty.time;
}

RootMessages::RootMessages()
    : m_display(XOpenDisplay(nullptr)) {
    if (m_display == nullptr)
        return;
    // Start-up notification goes out with PropertyChangeMask, requests to the window manager with
    // SubstructureRedirectMask | SubstructureNotifyMask; selecting the notify half is enough to
    // see them beside the window manager.
    XSelectInput(m_display, DefaultRootWindow(m_display), PropertyChangeMask | SubstructureNotifyMask);
    XSync(m_display, False);
}

RootMessages::~RootMessages() {
    if (m_display != nullptr)
        XCloseDisplay(m_display);
}

void RootMessages::pump() {
    if (m_display == nullptr)
        return;
    const Atom begin = XInternAtom(m_display, "_NET_STARTUP_INFO_BEGIN", False);
    const Atom more = XInternAtom(m_display, "_NET_STARTUP_INFO", False);
    const Atom activeWindow = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
    while (XPending(m_display) > 0) {
        XEvent event{};
        XNextEvent(m_display, &event);
        if (event.type != ClientMessage)
            continue;
        const XClientMessageEvent& message = event.xclient;
        if (message.message_type == activeWindow && message.format == 32) {
            m_activations.append(
                {message.window, message.data.l[0], static_cast<unsigned long>(message.data.l[1])});
        } else if ((message.message_type == begin || message.message_type == more) && message.format == 8) {
            QByteArray& text = m_partial[message.window];
            if (message.message_type == begin)
                text.clear();
            const QByteArray piece(message.data.b, 20);
            const qsizetype end = piece.indexOf('\0');
            text += piece.left(end < 0 ? 20 : end);
            if (end >= 0) {
                m_startup.append(QString::fromUtf8(text));
                m_partial.remove(message.window);
            }
        }
    }
}

QStringList RootMessages::startupMessages() {
    pump();
    return m_startup;
}

QList<RootMessages::Activation> RootMessages::activations() {
    pump();
    return m_activations;
}

} // namespace quillo::e2e::x11
