#include "skin_controls/link_label_logic.h"

#include <QTest>

using namespace quillo;

Q_DECLARE_METATYPE(quillo::WinRect)

class TestSkinLinkLogic : public QObject {
    Q_OBJECT

private slots:
    void hoverStartsOnceAndEndsOutside() {
        LinkHoverLogic hover;
        const auto first = hover.OnMouseMove();
        QVERIFY(first.setUnderlinedFont && first.startTimer && first.invalidateWhole);
        QVERIFY(hover.cursorOver());
        // Further moves while hovered change nothing and do not restart the poll.
        QCOMPARE(hover.OnMouseMove(), LinkHoverLogic::Effects{});

        QCOMPARE(hover.OnTimer(569, 15, 570, 16), LinkHoverLogic::Effects{});
        QVERIFY(hover.cursorOver());

        const auto left = hover.OnTimer(570, 15, 570, 16);
        QVERIFY(left.setPlainFont && left.killTimer);
        QVERIFY(!left.setUnderlinedFont && !left.startTimer);
        QVERIFY(!hover.cursorOver());
    }

    void leavingRepaintsTenPixelsBelow() {
        LinkHoverLogic hover;
        hover.OnMouseMove();
        const auto left = hover.OnTimer(10, -1, 570, 16);
        QVERIFY(left.invalidateRect.has_value());
        QCOMPARE(*left.invalidateRect, (WinRect{0, 0, 570, 26}));
    }

    void tickPosition_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("stays");
        QTest::newRow("top-left pixel is inside") << 0 << 0 << true;
        QTest::newRow("last pixel is inside") << 569 << 15 << true;
        QTest::newRow("right edge is outside") << 570 << 0 << false;
        QTest::newRow("bottom edge is outside") << 0 << 16 << false;
        QTest::newRow("left of the label") << -1 << 5 << false;
    }
    void tickPosition() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(bool, stays);
        LinkHoverLogic hover;
        hover.OnMouseMove();
        hover.OnTimer(x, y, 570, 16);
        QCOMPARE(hover.cursorOver(), stays);
    }

    void bothColoursAreLightSteelBlue() {
        LinkHoverLogic hover;
        QCOMPARE(hover.textColor(), Rgb(176, 196, 222));
        hover.OnMouseMove();
        QCOMPARE(hover.textColor(), Rgb(176, 196, 222));
    }

    // A click clears the flag only; the next move starts hovering again, and the next tick outside
    // ends it as usual.
    void clickThenMoveRestartsHover() {
        LinkHoverLogic hover;
        hover.OnMouseMove();
        hover.OnClick();
        QVERIFY(!hover.cursorOver());
        const auto again = hover.OnMouseMove();
        QVERIFY(again.setUnderlinedFont && again.startTimer);
        QVERIFY(hover.OnTimer(-5, -5, 570, 16).setPlainFont);
    }

    void fitToText_data() {
        QTest::addColumn<WinRect>("window");
        QTest::addColumn<int>("borderWidth");
        QTest::addColumn<unsigned>("style");
        QTest::addColumn<WinRect>("expected");
        // Text of 300 x 13 in every row.
        QTest::newRow("left-aligned, vertically centred: left stays, middle stays")
            << WinRect{80, 548, 649, 566} << 0 << kSsCenterImage << WinRect{80, 550, 380, 564};
        QTest::newRow("centred image with an odd difference rounds toward zero")
            << WinRect{80, 548, 649, 567} << 0 << kSsCenterImage << WinRect{80, 551, 380, 564};
        QTest::newRow("taller text than the window grows about the middle")
            << WinRect{0, 100, 100, 104} << 0 << kSsCenterImage << WinRect{0, 96, 300, 108};
        QTest::newRow("top-aligned keeps the top")
            << WinRect{10, 20, 50, 60} << 0 << 0u << WinRect{10, 20, 310, 33};
        QTest::newRow("a border adds its width and height")
            << WinRect{10, 20, 50, 60} << 2 << 0u << WinRect{10, 20, 314, 37};
        QTest::newRow("right-aligned keeps the right edge")
            << WinRect{10, 20, 500, 60} << 0 << kSsRight << WinRect{200, 20, 500, 33};
        QTest::newRow("centred shrinks about the middle, rounding toward zero")
            << WinRect{0, 0, 401, 13} << 0 << kSsCenter << WinRect{50, 0, 351, 13};
        QTest::newRow("centred grows about the middle when the text is wider")
            << WinRect{100, 0, 201, 13} << 0 << kSsCenter << WinRect{1, 0, 300, 13};
    }
    void fitToText() {
        QFETCH(WinRect, window);
        QFETCH(int, borderWidth);
        QFETCH(unsigned, style);
        QFETCH(WinRect, expected);
        const int clientWidth = window.width() - 2 * borderWidth;
        const int clientHeight = window.height() - 2 * borderWidth;
        QCOMPARE(FitToText(window, clientWidth, clientHeight, 300, 13, style), expected);
    }
};

QTEST_APPLESS_MAIN(TestSkinLinkLogic)
#include "test_skin_link_logic.moc"
