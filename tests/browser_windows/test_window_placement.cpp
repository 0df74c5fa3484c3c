#include "browser_windows/window_placement.h"

#include <QTest>
#include <climits>
#include <vector>

using quillo::WindowRect;
using quillo::WindowSize;

using Screens = std::vector<WindowRect>;
Q_DECLARE_METATYPE(WindowRect)
Q_DECLARE_METATYPE(Screens)

namespace QTest {
template <> char* toString(const WindowRect& r) {
    return qstrdup(QByteArray::number(r.x) + ',' + QByteArray::number(r.y) + ' ' +
                   QByteArray::number(r.width) + 'x' + QByteArray::number(r.height));
}
} // namespace QTest

namespace {
const WindowSize kMinimum{136, 39};
const Screens kOneScreen{{0, 0, 1920, 1080}};
// A second screen to the right of the first, lower and smaller.
const Screens kTwoScreens{{0, 0, 1920, 1080}, {1920, 200, 1280, 720}};
} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void place_data() {
        QTest::addColumn<WindowRect>("requested");
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<WindowRect>("placed");

        QTest::newRow("on screen: as asked")
            << WindowRect{100, 50, 640, 480} << kOneScreen << WindowRect{100, 50, 640, 480};
        QTest::newRow("partly off the right edge: as asked")
            << WindowRect{1800, 900, 640, 480} << kOneScreen << WindowRect{1800, 900, 640, 480};
        QTest::newRow("one pixel on screen: as asked")
            << WindowRect{-639, 0, 640, 480} << kOneScreen << WindowRect{-639, 0, 640, 480};
        QTest::newRow("zero size: raised to the minimum")
            << WindowRect{10, 20, 0, 0} << kOneScreen << WindowRect{10, 20, 136, 39};
        QTest::newRow("negative size: raised to the minimum")
            << WindowRect{10, 20, -500, -1} << kOneScreen << WindowRect{10, 20, 136, 39};
        QTest::newRow("narrow only: width raised, height kept")
            << WindowRect{10, 20, 50, 300} << kOneScreen << WindowRect{10, 20, 136, 300};
        QTest::newRow("huge size: cut to the screen it lands on")
            << WindowRect{0, 0, 32767, 32767} << kOneScreen << WindowRect{0, 0, 1920, 1080};
        QTest::newRow("huge size on the second screen: cut to that screen, position kept")
            << WindowRect{2000, 300, INT_MAX, INT_MAX} << kTwoScreens << WindowRect{2000, 300, 1280, 720};
        QTest::newRow("wider than the screen only: width cut, height kept")
            << WindowRect{100, 50, 5000, 480} << kOneScreen << WindowRect{100, 50, 1920, 480};
        QTest::newRow("no screens known: cut to what the window system holds")
            << WindowRect{0, 0, INT_MAX, INT_MAX} << Screens{} << WindowRect{0, 0, 32767, 32767};
        QTest::newRow("left of the screen: moved to its left edge, size kept")
            << WindowRect{-2000, 100, 640, 480} << kOneScreen << WindowRect{0, 100, 640, 480};
        QTest::newRow("just touching the left edge counts as off")
            << WindowRect{-640, 100, 640, 480} << kOneScreen << WindowRect{0, 100, 640, 480};
        QTest::newRow("below the screen: moved up to its bottom edge")
            << WindowRect{300, 5000, 640, 480} << kOneScreen << WindowRect{300, 600, 640, 480};
        QTest::newRow("off a corner: moved into the corner")
            << WindowRect{-5000, -5000, 640, 480} << kOneScreen << WindowRect{0, 0, 640, 480};
        QTest::newRow("far off at the integer limit: moved on screen")
            << WindowRect{INT_MIN, INT_MAX, 640, 480} << kOneScreen << WindowRect{0, 600, 640, 480};
        QTest::newRow("larger than the screen and off it: the screen's size, at its corner")
            << WindowRect{5000, 0, 4000, 3000} << kOneScreen << WindowRect{0, 0, 1920, 1080};
        QTest::newRow("right of both screens: onto the nearer, second one")
            << WindowRect{4000, 300, 640, 480} << kTwoScreens << WindowRect{2560, 300, 640, 480};
        QTest::newRow("above the second screen, beside the first: onto the nearer first")
            << WindowRect{2000, 0, 200, 100} << kTwoScreens << WindowRect{1720, 0, 200, 100};
        QTest::newRow("below the second screen: moved up into it")
            << WindowRect{2500, 2000, 640, 480} << kTwoScreens << WindowRect{2500, 440, 640, 480};
        QTest::newRow("on the second screen: as asked")
            << WindowRect{2000, 300, 640, 480} << kTwoScreens << WindowRect{2000, 300, 640, 480};
        QTest::newRow("no screens known: position kept")
            << WindowRect{-5000, -5000, 10, 10} << Screens{} << WindowRect{-5000, -5000, 136, 39};
    }

    void place() {
        QFETCH(WindowRect, requested);
        QFETCH(Screens, screens);
        QFETCH(WindowRect, placed);
        QCOMPARE(quillo::placeWindow(requested, kMinimum, screens), placed);
    }
};

QTEST_APPLESS_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
