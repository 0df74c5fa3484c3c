#include "skin_controls/hover_button_logic.h"

#include <QTest>
#include <array>
#include <vector>

using namespace quillo;

namespace {

// The three caption buttons as the frame lays them out, on the screen, with their bitmaps.
constexpr int kClose = 0;
constexpr int kMaximize = 1;
constexpr int kMinimize = 2;
constexpr int kOutside = -1;
constexpr WinRect kRects[] = {{773, 6, 792, 25}, {748, 6, 767, 25}, {723, 6, 742, 25}};
constexpr unsigned kNormal[] = {155, 158, 159};
constexpr unsigned kHover[] = {157, 162, 163};

struct Step {
    enum Kind { Move, Tick } kind;
    int button;
    // Where the cursor is at a tick: inside one of the buttons or outside all of them.
    int cursorIn = kOutside;
};
using Script = std::vector<Step>;

Step move(int button) {
    return {Step::Move, button};
}
Step tick(int button, int cursorIn) {
    return {Step::Tick, button, cursorIn};
}

} // namespace

Q_DECLARE_METATYPE(Script)

class TestSkinHoverLogic : public QObject {
    Q_OBJECT

private slots:
    void init() { HoverButtonLogic::resetHoverShown(); }

    void caseFromThePollTable_data() {
        QTest::addColumn<Script>("script");
        QTest::addColumn<int>("lastTickLoads"); // -1: the last tick loads nothing
        QTest::addColumn<QList<unsigned>>("shown");
        QTest::addColumn<bool>("flag");

        QTest::newRow("resting on close: its tick shows the hover bitmap")
            << Script{move(kClose), tick(kClose, kClose)} << 157 << QList<unsigned>{157, 158, 159} << true;
        QTest::newRow("leaving close after a last move over it: normal returns")
            << Script{move(kClose), tick(kClose, kClose), move(kClose), tick(kClose, kOutside)} << 155
            << QList<unsigned>{155, 158, 159} << false;
        QTest::newRow("close straight onto maximise: close restored, then maximise hovers")
            << Script{move(kClose),    tick(kClose, kClose),    move(kClose),
                      move(kMaximize), tick(kClose, kMaximize), tick(kMaximize, kMaximize)}
            << 162 << QList<unsigned>{155, 162, 159} << true;
        QTest::newRow("close left without a tick keeps hover once maximise cleared the flag")
            << Script{move(kClose), tick(kClose, kClose),  move(kMaximize), tick(kMaximize, kOutside),
                      move(kClose), tick(kClose, kOutside)}
            << -1 << QList<unsigned>{157, 158, 159} << false;
        QTest::newRow("the stuck close button returns after a tick inside and one outside")
            << Script{move(kClose), tick(kClose, kClose), move(kMaximize), tick(kMaximize, kOutside),
                      move(kClose), tick(kClose, kClose), move(kClose),    tick(kClose, kOutside)}
            << 155 << QList<unsigned>{155, 158, 159} << false;
        QTest::newRow("tick outside a normal button with the flag set elsewhere reloads normal")
            << Script{move(kMinimize), tick(kMinimize, kMinimize), move(kClose), tick(kClose, kOutside)}
            << 155 << QList<unsigned>{155, 158, 163} << false;
        QTest::newRow("tick outside with the flag clear loads nothing")
            << Script{move(kClose), tick(kClose, kOutside)} << -1 << QList<unsigned>{155, 158, 159} << false;
    }
    void caseFromThePollTable() {
        QFETCH(Script, script);
        QFETCH(int, lastTickLoads);
        QFETCH(QList<unsigned>, shown);
        QFETCH(bool, flag);

        std::array<HoverButtonLogic, 3> buttons;
        for (int i = 0; i < 3; ++i) {
            buttons[std::size_t(i)].LoadBitmap(kNormal[i]);
            buttons[std::size_t(i)].SetBitmapIds(kNormal[i], kHover[i]);
        }
        std::optional<unsigned> last;
        for (const Step& step : script) {
            HoverButtonLogic& button = buttons[std::size_t(step.button)];
            if (step.kind == Step::Move) {
                button.OnMouseMove();
                QVERIFY(button.timerPending());
                continue;
            }
            const WinRect cursorRect =
                step.cursorIn == kOutside ? WinRect{400, 300, 401, 301} : kRects[step.cursorIn];
            last = button.OnTick(kRects[step.button], cursorRect.left, cursorRect.top);
            QVERIFY2(!button.timerPending(), "every tick kills the one-shot timer");
        }
        QCOMPARE(last ? int(*last) : -1, lastTickLoads);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(buttons[std::size_t(i)].loadedBitmap(), shown[i]);
        QCOMPARE(HoverButtonLogic::hoverShown(), flag);
    }

    // The button's rectangle: left and top inclusive, right and bottom exclusive.
    void rectangleEdges_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("inside");
        QTest::newRow("top-left pixel") << 773 << 6 << true;
        QTest::newRow("bottom-right pixel") << 791 << 24 << true;
        QTest::newRow("right edge is outside") << 792 << 10 << false;
        QTest::newRow("bottom edge is outside") << 780 << 25 << false;
        QTest::newRow("one left of the button") << 772 << 10 << false;
    }
    void rectangleEdges() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(bool, inside);
        HoverButtonLogic button;
        button.SetBitmapIds(155, 157);
        button.LoadBitmap(155);
        button.OnMouseMove();
        button.OnTick(kRects[kClose], x, y);
        QCOMPARE(button.loadedBitmap(), inside ? 157u : 155u);
    }

    void idsKeepSixteenBits() {
        HoverButtonLogic button;
        button.SetBitmapIds(0x10000u + 155, 0x20000u + 157);
        QCOMPARE(button.normalBitmap(), 155u);
        QCOMPARE(button.hoverBitmap(), 157u);
    }
};

QTEST_APPLESS_MAIN(TestSkinHoverLogic)
#include "test_skin_hover_logic.moc"
