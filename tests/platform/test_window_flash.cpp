#include "platform/window_flash.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Flashing as the window manager sees it: the urgency hint of the real window, and the client
// message to the root window that asks for the attention mark to go.
class TestWindowFlash final : public QObject {
    Q_OBJECT

private slots:
    void resultIsTheHintAfterTheCall() {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(urgent(window) == false);
        for (const bool expected : {true, false, true}) {
            QCOMPARE(quillo::flashWindow(&window), expected);
            QCOMPARE(urgent(window), expected);
        }
        quillo::clearWindowFlash(&window);
        QCOMPARE(urgent(window), false);
        QCOMPARE(quillo::flashWindow(&window), true);
        QVERIFY(!quillo::flashWindow(nullptr));
    }

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

private:
    static bool urgent(const QWidget& window) {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        Display* display = x11->display();
        XWMHints* hints = XGetWMHints(display, static_cast<Window>(window.winId()));
        const bool set = hints != nullptr && (hints->flags & XUrgencyHint) != 0;
        if (hints != nullptr)
            XFree(hints);
        return set;
    }
};

QTEST_MAIN(TestWindowFlash)
#include "test_window_flash.moc"
