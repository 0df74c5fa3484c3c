#include "browser_windows/browser_pool.h"

#include <QTest>

using quillo::BrowserPool;
using quillo::SlotState;

Q_DECLARE_METATYPE(std::optional<int>)

namespace {

constexpr int kPool = 100;

// A step of a scripted run: open a window, or end the window in a slot.
struct Step {
    enum Kind { Open, End } kind;
    int slot = -1;
};
using Steps = QList<Step>;

Steps opens(int n) {
    return Steps(n, Step{Step::Open});
}

Steps end(int slot) {
    return {Step{Step::End, slot}};
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestBrowserPool : public QObject {
    Q_OBJECT

private slots:
    void freshPool() {
        BrowserPool pool(kPool);
        QCOMPARE(pool.count(), 0);
        QCOMPARE(pool.nextSlot(), std::optional<int>(0));
        for (int i = 0; i < kPool; ++i)
            QCOMPARE(pool.state(i), SlotState::Unopened);
    }

    void requests_data() {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<std::optional<int>>("lastSlot");
        QTest::addColumn<int>("count");

        QTest::newRow("first request uses slot 0 and leaves the count at 1")
            << opens(1) << std::optional(0) << 1;
        QTest::newRow("second request for the same address opens slot 1")
            << opens(2) << std::optional(1) << 2;
        QTest::newRow("request after a close takes the next slot, not the closed one")
            << opens(3) + end(1) + opens(1) << std::optional(3) << 4;
        QTest::newRow("closing the only window does not give its slot back")
            << opens(1) + end(0) + opens(1) << std::optional(1) << 2;
        QTest::newRow("100th request takes the last slot")
            << opens(kPool) << std::optional(kPool - 1) << kPool;
        QTest::newRow("101st request reuses the lowest ended slot")
            << opens(kPool) + end(57) + end(12) + opens(1) << std::optional(12) << kPool;
        QTest::newRow("102nd request takes the next lowest ended slot")
            << opens(kPool) + end(57) + end(12) + opens(2) << std::optional(57) << kPool;
        QTest::newRow("with all 100 open a request gets nothing")
            << opens(kPool) + opens(1) << std::optional<int>() << kPool;
        QTest::newRow("a reused slot is open again, so a further request gets nothing")
            << opens(kPool) + end(3) + opens(2) << std::optional<int>() << kPool;
        QTest::newRow("slot ended before the pool was full is reused after it filled")
            << opens(1) + end(0) + opens(kPool) << std::optional(0) << kPool;
        QTest::newRow("ending an unopened slot changes nothing")
            << opens(1) + end(5) + opens(1) << std::optional(1) << 2;
        QTest::newRow("ending a slot outside the pool frees nothing")
            << opens(kPool) + end(kPool) + end(-1) + opens(1) << std::optional<int>() << kPool;
        QTest::newRow("ending a slot twice frees it once")
            << opens(kPool) + end(5) + end(5) + opens(2) << std::optional<int>() << kPool;
    }

    void requests() {
        QFETCH(Steps, steps);
        QFETCH(std::optional<int>, lastSlot);
        QFETCH(int, count);

        BrowserPool pool(kPool);
        std::optional<int> slot;
        for (const Step& step : steps) {
            if (step.kind == Step::Open)
                slot = pool.open();
            else
                pool.end(step.slot);
        }
        QCOMPARE(slot, lastSlot);
        QCOMPARE(pool.count(), count);
        if (slot)
            QCOMPARE(pool.state(*slot), SlotState::Open);
    }

    void endedSlotStaysEndedUntilReused() {
        BrowserPool pool(kPool);
        pool.open();
        pool.open();
        pool.end(0);
        QCOMPARE(pool.state(0), SlotState::Ended);
        QCOMPARE(pool.state(1), SlotState::Open);
        QCOMPARE(pool.state(2), SlotState::Unopened);
        QCOMPARE(pool.nextSlot(), std::optional(2));
    }

    void stateOutsideThePoolIsUnopened() {
        BrowserPool pool(kPool);
        QCOMPARE(pool.state(-1), SlotState::Unopened);
        QCOMPARE(pool.state(kPool), SlotState::Unopened);
    }

    void manyRequestsNeverPassThePool() {
        BrowserPool pool(kPool);
        int opened = 0;
        for (int i = 0; i < 3 * kPool; ++i) {
            if (const std::optional<int> slot = pool.open()) {
                QVERIFY(*slot >= 0 && *slot < kPool);
                ++opened;
            }
            if (i % 3 == 0)
                pool.end(i % kPool);
        }
        QVERIFY(opened > kPool);
        QCOMPARE(pool.count(), kPool);
    }
};

QTEST_APPLESS_MAIN(TestBrowserPool)
#include "test_browser_pool.moc"
