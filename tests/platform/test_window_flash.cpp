#include "platform/window_flash.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// The flash's result against what the window manager sees: the urgency hint of the real window.
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
