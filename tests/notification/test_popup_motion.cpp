#include "notification/popup_motion.h"

#include <QTest>

using namespace quillo::notify;

Q_DECLARE_METATYPE(quillo::notify::PopupRect)

class TestPopupMotion : public QObject {
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void slide_data();
    void slide();
    void acceptZone_data();
    void acceptZone();
    void transitions_data();
    void transitions();
    void secondRequestWhileDisplayed();
};

namespace {
const PopupRect kFullScreen{0, 0, 1920, 1080};
const PopupRect kBottomPanel{0, 0, 1920, 1040};

// Runs a script of events ("start; slide*26; dismiss; click 60 100; tick 99") and collects
// the reports in order.
QList<int> run(PopupMotion& motion, const QByteArray& script, int* shows = nullptr) {
    QList<int> reports;
    for (const QByteArray& event : script.split(';')) {
        const QList<QByteArray> parts = event.trimmed().split(' ');
        const QList<QByteArray> verb = parts.first().split('*');
        const int times = verb.size() > 1 ? verb.at(1).toInt() : 1;
        for (int i = 0; i < times; ++i) {
            PopupStep step;
            if (verb.first() == "start")
                step = motion.start(kBottomPanel);
            else if (verb.first() == "slide")
                step = motion.tick(IDT_POPUP_SLIDE);
            else if (verb.first() == "dismiss")
                step = motion.tick(IDT_POPUP_DISMISS);
            else if (verb.first() == "tick")
                step = motion.tick(parts.at(1).toInt());
            else if (verb.first() == "click")
                step = motion.click(parts.at(1).toInt(), parts.at(2).toInt());
            else
                qFatal("unknown event");
            if (step.report)
                reports.append(*step.report);
            if (shows && step.show)
                ++*shows;
        }
    }
    return reports;
}
} // namespace

void TestPopupMotion::placement_data() {
    QTest::addColumn<PopupRect>("workArea");
    QTest::addColumn<PopupRect>("placed");

    QTest::newRow("no panel: rises from the screen bottom")
        << kFullScreen << PopupRect{1727, 1080, 1920, 1210};
    QTest::newRow("bottom panel of 40: rises above it") << kBottomPanel << PopupRect{1727, 1040, 1920, 1170};
    QTest::newRow("left panel: still rises from the bottom")
        << PopupRect{60, 0, 1920, 1080} << PopupRect{1727, 1080, 1920, 1210};
    QTest::newRow("top panel: still rises from the bottom")
        << PopupRect{0, 30, 1920, 1080} << PopupRect{1727, 1080, 1920, 1210};
    QTest::newRow("right panel: beside it")
        << PopupRect{0, 0, 1870, 1080} << PopupRect{1677, 1080, 1870, 1210};
    QTest::newRow("primary screen right of another")
        << PopupRect{1280, 0, 2560, 1024} << PopupRect{2367, 1024, 2560, 1154};
}

void TestPopupMotion::placement() {
    QFETCH(PopupRect, workArea);
    QFETCH(PopupRect, placed);
    QCOMPARE(PlacePopup(workArea), placed);
}

void TestPopupMotion::slide_data() {
    QTest::addColumn<PopupRect>("workArea");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("sliding");

    for (const auto& [name, area] :
         {std::pair{"no panel", kFullScreen}, std::pair{"bottom panel", kBottomPanel}}) {
        const int base = area.bottom;
        QTest::addRow("%s, tick 1: shown 5 up, 135 high", name) << area << 1 << base - 5 << 135 << true;
        QTest::addRow("%s, tick 2: 10 up", name) << area << 2 << base - 10 << 140 << true;
        QTest::addRow("%s, tick 26: fully risen, 260 high", name) << area << 26 << base - 130 << 260 << true;
        QTest::addRow("%s, tick 27: stays, display time starts", name)
            << area << 27 << base - 130 << 260 << false;
    }
}

void TestPopupMotion::slide() {
    QFETCH(PopupRect, workArea);
    QFETCH(int, ticks);
    QFETCH(int, top);
    QFETCH(int, height);
    QFETCH(bool, sliding);

    PopupMotion motion;
    const PopupStep begin = motion.start(workArea);
    QCOMPARE(begin.startTimers, (std::vector<std::pair<int, int>>{{IDT_POPUP_SLIDE, 100}}));
    QVERIFY(!begin.show && !begin.moveTo);

    PopupStep step;
    for (int i = 0; i < ticks; ++i) {
        step = motion.tick(IDT_POPUP_SLIDE);
        QCOMPARE(step.show, i == 0);
        QVERIFY(!step.report);
    }
    QCOMPARE(motion.window().top, top);
    QCOMPARE(motion.window().height(), height);
    QCOMPARE(motion.window().bottom, workArea.bottom + 130);
    QCOMPARE(motion.window().width(), 193);
    QCOMPARE(motion.window().right, workArea.right);
    QCOMPARE(motion.timerRunning(IDT_POPUP_SLIDE), sliding);
    QCOMPARE(motion.timerRunning(IDT_POPUP_DISMISS), !sliding);
    QVERIFY(motion.visible());
    if (sliding) {
        QVERIFY(step.moveTo);
        QCOMPARE(*step.moveTo, motion.window());
    } else {
        // The switching tick neither moves nor shows; it swaps the timers.
        QVERIFY(!step.moveTo);
        QCOMPARE(step.stopTimers, std::vector<int>{IDT_POPUP_SLIDE});
        QCOMPARE(step.startTimers, (std::vector<std::pair<int, int>>{{IDT_POPUP_DISMISS, 10000}}));
        QCOMPARE(motion.state(), PopupMotion::State::Displayed);
    }
}

void TestPopupMotion::acceptZone_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("top left corner (30,85)") << 30 << 85 << true;
    QTest::newRow("top right corner (96,85)") << 96 << 85 << true;
    QTest::newRow("bottom left corner (30,116)") << 30 << 116 << true;
    QTest::newRow("bottom right corner (96,116)") << 96 << 116 << true;
    QTest::newRow("middle of the button (60,100)") << 60 << 100 << true;
    QTest::newRow("left of the zone (29,100)") << 29 << 100 << false;
    QTest::newRow("right of the zone (97,100)") << 97 << 100 << false;
    QTest::newRow("above the zone (50,84)") << 50 << 84 << false;
    QTest::newRow("below the zone (50,117)") << 50 << 117 << false;
    QTest::newRow("decline button (140,100)") << 140 << 100 << false;
    QTest::newRow("negative point (-1,-1)") << -1 << -1 << false;
}

void TestPopupMotion::acceptZone() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, accepted);
    QCOMPARE(InAcceptZone(x, y), accepted);

    PopupMotion motion;
    motion.start(kFullScreen);
    motion.tick(IDT_POPUP_SLIDE);
    const PopupStep step = motion.click(x, y);
    QVERIFY(step.hide);
    QCOMPARE(step.report, std::optional<int>(accepted ? 1 : 0));
    QVERIFY(!motion.visible());
}

void TestPopupMotion::transitions_data() {
    QTest::addColumn<QByteArray>("events");
    QTest::addColumn<QList<int>>("reports");
    QTest::addColumn<int>("shows");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("slideRunning");
    QTest::addColumn<bool>("dismissRunning");

    QTest::newRow("created: ticks of stopped timers do nothing")
        << QByteArray("slide; dismiss; tick 99") << QList<int>{} << 0 << false << false << false;
    QTest::newRow("full display ends with one report of 0")
        << QByteArray("start; slide*27; dismiss") << QList<int>{0} << 1 << false << false << false;
    QTest::newRow("dismiss reports only once")
        << QByteArray("start; slide*27; dismiss; dismiss") << QList<int>{0} << 1 << false << false << false;
    QTest::newRow("other timer ids ignored")
        << QByteArray("start; slide*27; tick 1283") << QList<int>{} << 1 << true << false << true;
    QTest::newRow("accept click while displayed ends the display: one report")
        << QByteArray("start; slide*27; click 60 100; dismiss") << QList<int>{1} << 1 << false << false
        << false;
    QTest::newRow("click during the slide stops it: no second report")
        << QByteArray("start; slide*10; click 60 100; slide*17") << QList<int>{1} << 1 << false << false
        << false;
    QTest::newRow("decline click during the slide: one report of 0")
        << QByteArray("start; slide*10; click 140 100; slide*17; dismiss") << QList<int>{0} << 1 << false
        << false << false;
    QTest::newRow("second request while sliding restarts and shows again")
        << QByteArray("start; slide*10; start; slide") << QList<int>{} << 2 << true << true << false;
    QTest::newRow("second request while displayed stops the old display time")
        << QByteArray("start; slide*27; start; slide*3") << QList<int>{} << 2 << true << true << false;
    QTest::newRow("accepted request, then a new one: its card rises and stays up")
        << QByteArray("start; slide*27; click 60 100; start; slide*10; dismiss; slide*17") << QList<int>{1}
        << 2 << true << false << true;
    QTest::newRow("the new display reports once, at the end of its own display time")
        << QByteArray("start; slide*27; start; slide*27; dismiss") << QList<int>{0} << 2 << false << false
        << false;
    QTest::newRow("request after hiding starts over") << QByteArray("start; slide*27; dismiss; start; slide")
                                                      << QList<int>{0} << 2 << true << true << false;
}

void TestPopupMotion::transitions() {
    QFETCH(QByteArray, events);
    QFETCH(QList<int>, reports);
    QFETCH(int, shows);
    QFETCH(bool, visible);
    QFETCH(bool, slideRunning);
    QFETCH(bool, dismissRunning);

    PopupMotion motion;
    int seen = 0;
    QCOMPARE(run(motion, events, &seen), reports);
    QCOMPARE(seen, shows);
    QCOMPARE(motion.visible(), visible);
    QCOMPARE(motion.timerRunning(IDT_POPUP_SLIDE), slideRunning);
    QCOMPARE(motion.timerRunning(IDT_POPUP_DISMISS), dismissRunning);
}

void TestPopupMotion::secondRequestWhileDisplayed() {
    PopupMotion motion;
    run(motion, "start; slide*27");
    QCOMPARE(motion.window().top, 1040 - 130);

    // The text changes at once but the card stays up until the next tick moves it down.
    const PopupStep restart = motion.start(kBottomPanel);
    QVERIFY(!restart.moveTo && !restart.hide);
    QCOMPARE(motion.risen(), 0);
    QVERIFY(motion.visible());
    const PopupStep first = motion.tick(IDT_POPUP_SLIDE);
    QVERIFY(first.moveTo);
    QCOMPARE(first.moveTo->top, 1040 - 5);
    QVERIFY(first.show);
}

QTEST_APPLESS_MAIN(TestPopupMotion)
#include "test_popup_motion.moc"
