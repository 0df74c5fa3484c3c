#include "platform/window_flash.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <X11/Xlib.h>

// What the window manager is asked when a flash stops, seen as a window manager sees it: as a
// client message to the root window.
class TestWindowFlash final : public QObject {
    Q_OBJECT

private slots:
    void stoppingAsksTheWindowManagerToDropTheAttentionMark() {
        Display* display = XOpenDisplay(nullptr);
        QVERIFY(display);
        const Window root = DefaultRootWindow(display);
        XSelectInput(display, root, SubstructureNotifyMask);
        const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
        const Atom attention = XInternAtom(display, "_NET_WM_STATE_DEMANDS_ATTENTION", False);
        XSync(display, False);

        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto id = static_cast<Window>(window.winId());
        quillo::flashWindow(&window);
        quillo::clearWindowFlash(&window);

        bool removed = false;
        QElapsedTimer waited;
        waited.start();
        while (!removed && waited.elapsed() < 5000) {
            while (!removed && XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                removed = event.type == ClientMessage && event.xclient.window == id &&
                          event.xclient.message_type == state && event.xclient.data.l[0] == 0 &&
                          Atom(event.xclient.data.l[1]) == attention;
            }
            QTest::qWait(10);
        }
        XCloseDisplay(display);
        QVERIFY2(removed, "no _NET_WM_STATE request to remove _NET_WM_STATE_DEMANDS_ATTENTION");
    }
};

QTEST_MAIN(TestWindowFlash)
#include "test_window_flash.moc"
