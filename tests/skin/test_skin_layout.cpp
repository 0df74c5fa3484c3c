#include "main_window/skin_layout.h"

#include <QTest>

using namespace quillo;

Q_DECLARE_METATYPE(quillo::SkinControl)
Q_DECLARE_METATYPE(quillo::SkinPlacement)

namespace {
SkinPlacement placementOf(const std::array<SkinPlacement, kSkinPlacementCount>& all, SkinControl control) {
    for (const SkinPlacement& p : all)
        if (p.control == control)
            return p;
    return {};
}
} // namespace

class TestSkinLayout : public QObject {
    Q_OBJECT

private slots:
    void shippedBitmapsAtTemplateSize_data() {
        QTest::addColumn<SkinControl>("control");
        QTest::addColumn<SkinPlacement>("expected");
        using enum SkinControl;
        using enum SkinOrder;
        QTest::newRow("top bar from the logo's last column to the top-right corner")
            << TopBar << SkinPlacement{TopBar, 232, 0, 562, 76, Raise};
        QTest::newRow("close button rightmost")
            << CloseButton << SkinPlacement{CloseButton, 773, 6, 19, 19, Keep};
        QTest::newRow("maximise button one pitch left")
            << MaximizeButton << SkinPlacement{MaximizeButton, 748, 6, 19, 19, Keep};
        QTest::newRow("minimise button two pitches left")
            << MinimizeButton << SkinPlacement{MinimizeButton, 723, 6, 19, 19, Keep};
        QTest::newRow("top-right corner") << TopRight << SkinPlacement{TopRight, 794, 0, 10, 76, Raise};
        QTest::newRow("bottom-left corner") << BottomLeft << SkinPlacement{BottomLeft, 0, 744, 25, 34, Raise};
        QTest::newRow("bottom-right corner")
            << BottomRight << SkinPlacement{BottomRight, 779, 744, 25, 34, Raise};
        QTest::newRow("bottom bar between the corners")
            << BottomBar << SkinPlacement{BottomBar, 25, 744, 754, 34, Raise};
        QTest::newRow("left edge") << LeftEdge << SkinPlacement{LeftEdge, 0, 76, 10, 668, Raise};
        QTest::newRow("right edge") << RightEdge << SkinPlacement{RightEdge, 794, 76, 10, 668, Raise};
        QTest::newRow("browser fills the middle")
            << Browser << SkinPlacement{Browser, 10, 76, 784, 668, Raise};
        QTest::newRow("link label fixed at 570 x 16")
            << LinkLabel << SkinPlacement{LinkLabel, 25, 752, 570, 16, Keep};
        QTest::newRow("version label 140 from the right")
            << VersionLabel << SkinPlacement{VersionLabel, 664, 752, 90, 16, Keep};
    }
    void shippedBitmapsAtTemplateSize() {
        QFETCH(SkinControl, control);
        QFETCH(SkinPlacement, expected);
        QCOMPARE(placementOf(LayoutSkin(804, 778, SkinPieceSizes{}), control), expected);
    }

    // The placements are applied in this order; raising depends on it.
    void placementOrder() {
        const auto all = LayoutSkin(804, 778, SkinPieceSizes{});
        using enum SkinControl;
        const SkinControl expected[] = {TopBar,     CloseButton, MaximizeButton, MinimizeButton, TopRight,
                                        BottomLeft, BottomRight, BottomBar,      LeftEdge,       RightEdge,
                                        Browser,    LinkLabel,   VersionLabel};
        for (int i = 0; i < kSkinPlacementCount; ++i)
            QCOMPARE(all[std::size_t(i)].control, expected[i]);
    }

    void versionLabelNeverLeftOf600_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("x");
        QTest::newRow("width 700: held at 600") << 700 << 600;
        QTest::newRow("width 740: exactly 600") << 740 << 600;
        QTest::newRow("width 741: 601") << 741 << 601;
        QTest::newRow("width 100: W - 140 negative, still 600") << 100 << 600;
        QTest::newRow("width 1920: follows the right edge") << 1920 << 1780;
    }
    void versionLabelNeverLeftOf600() {
        QFETCH(int, width);
        QFETCH(int, x);
        QCOMPARE(placementOf(LayoutSkin(width, 778, SkinPieceSizes{}), SkinControl::VersionLabel).x, x);
    }

    // While minimised the client area is smaller than the fixed pieces: results go negative and
    // stay as computed; clamping is the caller's business.
    void clientSmallerThanThePieces_data() {
        QTest::addColumn<SkinControl>("control");
        QTest::addColumn<SkinPlacement>("expected");
        using enum SkinControl;
        using enum SkinOrder;
        QTest::newRow("top bar width negative") << TopBar << SkinPlacement{TopBar, 232, 0, -142, 76, Raise};
        QTest::newRow("close button left of the origin")
            << CloseButton << SkinPlacement{CloseButton, 69, 6, 19, 19, Keep};
        QTest::newRow("minimise button at a negative x")
            << MinimizeButton << SkinPlacement{MinimizeButton, 19, 6, 19, 19, Keep};
        QTest::newRow("bottom band above the top")
            << BottomBar << SkinPlacement{BottomBar, 25, 16, 50, 34, Raise};
        QTest::newRow("browser with negative height")
            << Browser << SkinPlacement{Browser, 10, 76, 80, -60, Raise};
        QTest::newRow("labels above the client top")
            << LinkLabel << SkinPlacement{LinkLabel, 25, 24, 570, 16, Keep};
    }
    void clientSmallerThanThePieces() {
        QFETCH(SkinControl, control);
        QFETCH(SkinPlacement, expected);
        QCOMPARE(placementOf(LayoutSkin(100, 50, SkinPieceSizes{}), control), expected);
    }

    // With other artwork the right strip still takes the top-left corner's width and starts where
    // the top-right corner begins; the strips start at the top-left corner's height.
    void pieceSizesComeFromTheBitmaps() {
        SkinPieceSizes pieces;
        pieces.topLeftWidth = 12;
        pieces.topLeftHeight = 80;
        pieces.topRightWidth = 8;
        pieces.bottomLeftWidth = 30;
        pieces.bottomRightWidth = 20;
        const auto all = LayoutSkin(800, 600, pieces);
        using enum SkinControl;
        using enum SkinOrder;
        QCOMPARE(placementOf(all, RightEdge), (SkinPlacement{RightEdge, 792, 80, 12, 486, Raise}));
        QCOMPARE(placementOf(all, TopRight), (SkinPlacement{TopRight, 792, 0, 8, 76, Raise}));
        QCOMPARE(placementOf(all, TopBar), (SkinPlacement{TopBar, 234, 0, 558, 76, Raise}));
        QCOMPARE(placementOf(all, CloseButton).x, 771);
        QCOMPARE(placementOf(all, BottomBar), (SkinPlacement{BottomBar, 30, 566, 750, 34, Raise}));
        QCOMPARE(placementOf(all, Browser), (SkinPlacement{Browser, 12, 80, 780, 486, Raise}));
    }
};

QTEST_APPLESS_MAIN(TestSkinLayout)
#include "test_skin_layout.moc"
