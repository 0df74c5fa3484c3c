#include "main_window/hit_test.h"

#include <QTest>

using namespace quillo;

Q_DECLARE_METATYPE(quillo::HitCode)

class TestSkinHitTest : public QObject {
    Q_OBJECT

private slots:
    void clientArea800x600_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<HitCode>("code");
        using enum HitCode;
        QTest::newRow("x 8 is past the left band") << 8 << 300 << Caption;
        QTest::newRow("x 7 is the left band") << 7 << 300 << Left;
        QTest::newRow("top-left corner reaches x 8") << 8 << 0 << TopLeft;
        QTest::newRow("x 9 on the top row is the top band") << 9 << 0 << Top;
        QTest::newRow("x 792 is short of the right band") << 792 << 300 << Caption;
        QTest::newRow("x 793 is the right band") << 793 << 300 << Right;
        QTest::newRow("bottom-right corner reaches x 792") << 792 << 599 << BottomRight;
        QTest::newRow("y 592 is above the bottom band") << 400 << 592 << Caption;
        QTest::newRow("y 593 is the bottom band") << 400 << 593 << Bottom;
        QTest::newRow("y 8 at the left edge falls to the caption") << 0 << 8 << Caption;
        QTest::newRow("y 7 is the top band") << 400 << 7 << Top;
        QTest::newRow("y 592 at the left edge falls to the caption") << 0 << 592 << Caption;
        QTest::newRow("bottom-left corner reaches x 8") << 8 << 593 << BottomLeft;
        QTest::newRow("top-right corner starts at x 792") << 792 << 7 << TopRight;
        QTest::newRow("middle of the window") << 400 << 300 << Caption;
        QTest::newRow("left border pixel outside the client") << -1 << 300 << Left;
        QTest::newRow("bottom border pixel outside the client") << 400 << 600 << Bottom;
        QTest::newRow("top-right border pixel outside the client") << 800 << -1 << TopRight;
    }
    void clientArea800x600() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(HitCode, code);
        QCOMPARE(HitTest({x, y}, {800, 600}), code);
    }
};

QTEST_APPLESS_MAIN(TestSkinHitTest)
#include "test_skin_hit_test.moc"
