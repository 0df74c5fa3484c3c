#include "browser_host/key_filter.h"

#include <QTest>

using namespace quillo;

namespace {
using Keys = QList<FilteredKey>;
}

Q_DECLARE_METATYPE(FilteredKey)

class TestKeyFilter : public QObject {
    Q_OBJECT

private slots:
    void filter_data();
    void filter();
    void tracking_data();
    void tracking();
};

void TestKeyFilter::filter_data() {
    QTest::addColumn<bool>("keyDown");
    QTest::addColumn<bool>("f5");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<bool>("o");
    QTest::addColumn<bool>("p");
    QTest::addColumn<bool>("n");
    QTest::addColumn<bool>("swallowed");

    QTest::newRow("F5 pressed") << true << true << false << false << false << false << true;
    QTest::newRow("F5 with Ctrl") << true << true << true << false << false << false << true;
    QTest::newRow("F5 held, other key pressed: swallowed too")
        << true << true << false << false << false << false << true;
    QTest::newRow("F5 down but key released: passes")
        << false << true << false << false << false << false << false;
    QTest::newRow("Ctrl+O") << true << false << true << true << false << false << true;
    QTest::newRow("Ctrl+P") << true << false << true << false << true << false << true;
    QTest::newRow("Ctrl+N") << true << false << true << false << false << true << true;
    QTest::newRow("Ctrl+Shift+N: Shift not looked at")
        << true << false << true << false << false << true << true;
    QTest::newRow("O without Ctrl: typing passes")
        << true << false << false << true << false << false << false;
    QTest::newRow("N and P without Ctrl: typing passes")
        << true << false << false << false << true << true << false;
    QTest::newRow("Ctrl+R: reaches the browser") << true << false << true << false << false << false << false;
    QTest::newRow("Ctrl+F: reaches the browser") << true << false << true << false << false << false << false;
    QTest::newRow("Alt+N (system key): never swallowed")
        << false << false << false << false << false << true << false;
    QTest::newRow("Ctrl+Alt+O (system key): never swallowed")
        << false << false << true << true << false << false << false;
    QTest::newRow("Ctrl alone") << true << false << true << false << false << false << false;
    QTest::newRow("nothing down") << true << false << false << false << false << false << false;
}

void TestKeyFilter::filter() {
    QFETCH(bool, keyDown);
    QFETCH(bool, f5);
    QFETCH(bool, ctrl);
    QFETCH(bool, o);
    QFETCH(bool, p);
    QFETCH(bool, n);
    QFETCH(bool, swallowed);
    QCOMPARE(IsKeySwallowed({keyDown, f5, ctrl, o, p, n}), swallowed);
}

void TestKeyFilter::tracking_data() {
    QTest::addColumn<Keys>("pressed");
    QTest::addColumn<Keys>("released");
    QTest::addColumn<bool>("forget");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<bool>("swallowed");

    QTest::newRow("F5 held, A pressed")
        << Keys{FilteredKey::F5, FilteredKey::Other} << Keys{} << false << false << true;
    QTest::newRow("F5 released, then A")
        << Keys{FilteredKey::F5, FilteredKey::Other} << Keys{FilteredKey::F5} << false << false << false;
    QTest::newRow("O held under Ctrl") << Keys{FilteredKey::O} << Keys{} << false << true << true;
    QTest::newRow("O released before Ctrl+R")
        << Keys{FilteredKey::O} << Keys{FilteredKey::O} << false << true << false;
    QTest::newRow("N held, Ctrl released: typing passes")
        << Keys{FilteredKey::N} << Keys{} << false << false << false;
    QTest::newRow("releasing one key leaves the others down")
        << Keys{FilteredKey::P, FilteredKey::N} << Keys{FilteredKey::P} << false << true << true;
    QTest::newRow("focus lost while F5 held: no key stuck")
        << Keys{FilteredKey::F5} << Keys{} << true << false << false;
    QTest::newRow("focus lost while P held under Ctrl: no key stuck")
        << Keys{FilteredKey::P} << Keys{} << true << true << false;
}

void TestKeyFilter::tracking() {
    QFETCH(Keys, pressed);
    QFETCH(Keys, released);
    QFETCH(bool, forget);
    QFETCH(bool, ctrl);
    QFETCH(bool, swallowed);

    KeyStateTracker tracker;
    for (FilteredKey key : pressed)
        tracker.press(key);
    for (FilteredKey key : released)
        tracker.release(key);
    if (forget)
        tracker.forget();
    QCOMPARE(IsKeySwallowed(tracker.input(true, ctrl)), swallowed);
    QVERIFY(!IsKeySwallowed(tracker.input(false, ctrl)));
}

QTEST_GUILESS_MAIN(TestKeyFilter)
#include "test_key_filter.moc"
