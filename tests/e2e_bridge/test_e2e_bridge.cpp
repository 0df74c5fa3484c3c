#include "tests/support/e2e_harness.h"

#include <QJsonObject>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kStartMs = 30000;
constexpr int kReportMs = 15000;
// How long a negative observation waits for something that must not happen.
constexpr int kQuietMs = 1500;

bool isEvent(const QJsonObject& report, const QString& page, const QString& event) {
    return report.value(u"page"_s).toString() == page && report.value(u"event"_s).toString() == event;
}

// The keys the page saw, without the lone modifier presses.
QStringList keysReported(const DemoService& service) {
    QStringList keys;
    const QJsonArray reports = service.reports();
    for (const QJsonValue& report : reports) {
        if (report.toObject().value(u"event"_s).toString() == u"key"_s)
            keys << report.toObject().value(u"key"_s).toString();
    }
    for (const QString& modifier :
         {u"Control"_s, u"Ctrl+Control"_s, u"Alt"_s, u"Alt+Alt"_s, u"Shift"_s, u"Ctrl+Shift"_s})
        keys.removeAll(modifier);
    return keys;
}

// One run of the client against the demo service, starting on `path` of the service with the
// stored order number appended.
struct Run {
    DemoService service;
    ConfigHome home;
    std::unique_ptr<QuilloProcess> process;

    bool start(const QString& path, const QString& orderId) {
        if (!service.start())
            return false;
        home.writeSettings(orderId, service.baseUrl().resolved(QUrl(path)).toString());
        process = std::make_unique<QuilloProcess>(home, service);
        return process->start();
    }
    std::optional<QJsonObject> waitFor(const QString& page, const QString& event, int ms = kReportMs) const {
        return service.waitForReport([&](const QJsonObject& report) { return isEvent(report, page, event); },
                                     ms);
    }
    // The client has written the version, so its scan of this document ran.
    bool waitForScan(const QString& page) const {
        return service
            .waitForReport(
                [&](const QJsonObject& report) {
                    return isEvent(report, page, u"version"_s) &&
                           report.value(u"version"_s).toString() == u"1.0.1"_s;
                },
                kStartMs)
            .has_value();
    }
};

} // namespace

class TestE2eBridge : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void versionWrittenIntoPage();
    void orderNumberStored_data();
    void orderNumberStored();
    void pageCallsReachTheClient();
    void closeFromMainPageEndsProgram();
    void acceptClicksEveryAcceptElementInOrder();
    void keysFilteredBeforeThePage();
    void contextMenuHasRefreshAndBack();
    void secondaryWindowMenuActsOnItsOwnPage();
    void untrustedOriginHasNoExternal_data();
    void untrustedOriginHasNoExternal();
    void untrustedOriginCannotStoreOrderNumber();

private:
    std::unique_ptr<x11::WindowManager> m_windowManager;
};

void TestE2eBridge::initTestCase() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
    m_windowManager = x11::startWindowManager();
    QVERIFY2(m_windowManager, "no window manager could be started (is openbox installed?)");
}

void TestE2eBridge::versionWrittenIntoPage() {
    Run run;
    QVERIFY(run.start(u"/console?id="_s, u"12345"_s));
    QUILLO_VERIFY(run.waitForScan(u"console"_s), *run.process);
    // The console asked window.external whether it runs inside the client.
    const auto load = run.waitFor(u"console"_s, u"version"_s);
    QVERIFY(load);
    QCOMPARE(load->value(u"external"_s).toString(), u"yes"_s);
    run.process->kill();
}

void TestE2eBridge::orderNumberStored_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("stored");

    QTest::newRow("two elements: the later one remains") << u"order_two"_s << u"222"_s;
    QTest::newRow("empty element: the earlier value stays") << u"order_empty"_s << u"5"_s;
    QTest::newRow("markup is stored with the text") << u"order_markup"_s << u"<b>7</b>1"_s;
    QTest::newRow("letter case differs: nothing stored") << u"order_case"_s << u"5"_s;
}

void TestE2eBridge::orderNumberStored() {
    QFETCH(QString, page);
    QFETCH(QString, stored);
    Run run;
    QVERIFY(run.start(u"/cases/"_s + page + u"?id="_s, u"5"_s));
    QUILLO_VERIFY(run.waitForScan(u"case_"_s + page), *run.process);
    if (stored == u"5"_s)
        QTest::qWait(kQuietMs); // nothing may change; give a stray write the time to land
    QTRY_COMPARE_WITH_TIMEOUT(run.home.value(u"OrderID"_s).value_or(QString()), stored, kReportMs);
    run.process->kill();
}

void TestE2eBridge::pageCallsReachTheClient() {
    Run run;
    QVERIFY(run.start(u"/console?id="_s, u"12345"_s));
    QUILLO_VERIFY(run.waitForScan(u"console"_s), *run.process);
    const auto window = x11::findWindowByTitle(u"Quillo"_s, kStartMs);
    QVERIFY(window);

    // CB_IsOurCustomBrowser answers true.
    QVERIFY(run.service.pushCommand({{u"call"_s, u"CB_IsOurCustomBrowser"_s}, {u"args"_s, QJsonArray()}}));
    const auto answered = run.service.waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"called"_s &&
                   report.value(u"call"_s).toString() == u"CB_IsOurCustomBrowser"_s;
        },
        kReportMs);
    QVERIFY(answered);
    QCOMPARE(answered->value(u"result"_s), QJsonValue(true));

    // Action 3 flashes the window while another window is active; action 2 stops it.
    x11::ForeignWindow other(u"OtherProgram"_s, u"Other program"_s);
    QVERIFY(other.isValid());
    QVERIFY(x11::activate(other.id()));
    QTRY_VERIFY_WITH_TIMEOUT(x11::activeWindow() != window, 5000);
    QVERIFY(run.service.pushCommand(
        {{u"call"_s, u"CB_CustomFunctionWithParams"_s}, {u"args"_s, QJsonArray{u""_s, 3}}}));
    QTRY_VERIFY_WITH_TIMEOUT(x11::isUrgent(*window), kReportMs);
    QVERIFY(run.service.pushCommand(
        {{u"call"_s, u"CB_CustomFunctionWithParams"_s}, {u"args"_s, QJsonArray{u""_s, 2}}}));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isUrgent(*window), kReportMs);

    // CB_OpenWindow with a relative address opens the page's own console in a new window.
    QVERIFY(
        run.service.pushCommand({{u"call"_s, u"CB_OpenWindow"_s},
                                 {u"args"_s, QJsonArray{u"console?id=77&nopoll"_s, 100, 100, 500, 400, 0}}}));
    const auto opened = run.service.waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"load"_s &&
                   report.value(u"href"_s).toString().endsWith(u"/console?id=77&nopoll"_s);
        },
        kStartMs);
    QUILLO_VERIFY(opened, *run.process);
    QCOMPARE(opened->value(u"external"_s).toString(), u"yes"_s);

    // CB_CustomFunction shows the message box; the page does not wait for it.
    QVERIFY(run.service.pushCommand({{u"call"_s, u"CB_CustomFunction"_s}, {u"args"_s, QJsonArray()}}));
    const auto box = x11::findWindowByTitle(u"quillo"_s, kReportMs);
    QUILLO_VERIFY(box, *run.process);
    QVERIFY(x11::activate(*box));
    QVERIFY(x11::key(u"Return"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::findWindowByTitle(u"quillo"_s, 100), kReportMs);
    QVERIFY(run.process->isRunning());
    run.process->kill();
}

void TestE2eBridge::closeFromMainPageEndsProgram() {
    Run run;
    QVERIFY(run.start(u"/console?id="_s, u"12345"_s));
    QUILLO_VERIFY(run.waitForScan(u"console"_s), *run.process);
    const auto window = x11::findWindowByTitle(u"Quillo"_s, kStartMs);
    QVERIFY(window);
    QVERIFY(x11::activate(*window));
    QTRY_VERIFY_WITH_TIMEOUT(x11::activeWindow() == window, 5000);
    QVERIFY(run.service.pushCommand({{u"call"_s, u"CB_Close"_s}, {u"args"_s, QJsonArray()}}));
    QUILLO_VERIFY(run.process->waitForExit(kReportMs), *run.process);
    QCOMPARE(run.process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process->exitCode(), 0);
}

void TestE2eBridge::acceptClicksEveryAcceptElementInOrder() {
    Run run;
    QVERIFY(run.start(u"/cases/accept_two?id="_s, u"5"_s));
    QUILLO_VERIFY(run.waitForScan(u"case_accept_two"_s), *run.process);
    // The scan alone clicks nothing.
    QVERIFY(!run.waitFor(u"case_accept_two"_s, u"accepted"_s, 0));

    QVERIFY(run.service.pushCommand({{u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                     {u"args"_s, QJsonArray{u"Ann|Hi|2 min|Sales"_s, 1}}}));
    const auto popup = x11::findWindowByTitle(u"Quillo notification"_s, kReportMs);
    QUILLO_VERIFY(popup, *run.process);
    // Risen once its place stops changing.
    QRect geometry = x11::clientGeometry(*popup);
    for (int still = 0; still < 5;) {
        QTest::qWait(100);
        const QRect now = x11::clientGeometry(*popup);
        still = now == geometry ? still + 1 : 0;
        geometry = now;
    }
    QVERIFY(x11::click(geometry.left() + 60, geometry.top() + 100)); // the accept area

    QTRY_COMPARE_WITH_TIMEOUT(
        [&] {
            QStringList clicked;
            const QJsonArray reports = run.service.reports();
            for (const QJsonValue& report : reports) {
                const QJsonObject fields = report.toObject();
                if (fields.value(u"event"_s).toString() == u"accepted"_s)
                    clicked << fields.value(u"which"_s).toString() + u':' +
                                   fields.value(u"text"_s).toString();
            }
            return clicked;
        }(),
        (QStringList{u"first:Accept()"_s, u"second:Accept()"_s}), kReportMs);
    run.process->kill();
}

void TestE2eBridge::keysFilteredBeforeThePage() {
    Run run;
    QVERIFY(run.start(u"/cases/keys?id="_s, u"5"_s));
    QUILLO_VERIFY(run.waitForScan(u"case_keys"_s), *run.process);
    const auto window = x11::findWindowByTitle(u"Quillo"_s, kStartMs);
    QVERIFY(window);
    QVERIFY(x11::activate(*window));
    QTRY_VERIFY_WITH_TIMEOUT(x11::activeWindow() == window, 5000);
    const QRect area = x11::clientGeometry(*window);
    QVERIFY(x11::click(area.center().x(), area.center().y())); // focus the page
    const int loadsBefore = run.service.requestCount(u"/cases/keys"_s);

    for (const QString& combo :
         {u"F5"_s, u"ctrl+o"_s, u"ctrl+p"_s, u"ctrl+n"_s, u"ctrl+shift+n"_s, u"ctrl+f"_s, u"alt+n"_s, u"x"_s})
        QVERIFY(x11::key(combo));
    // The last key arrives after all the others were decided.
    const auto last = run.service.waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"key"_s &&
                   report.value(u"key"_s).toString() == u"x"_s;
        },
        kReportMs);
    QUILLO_VERIFY(last, *run.process);

    QCOMPARE(keysReported(run.service), (QStringList{u"Ctrl+f"_s, u"Alt+n"_s, u"x"_s}));
    QTest::qWait(kQuietMs);
    QCOMPARE(run.service.requestCount(u"/cases/keys"_s), loadsBefore);

    // Another site runs in another renderer, behind a new focus proxy: still filtered.
    QVERIFY(run.service.reset());
    const QString other = u"http://visitor.example:%1/cases/keys?id=5"_s.arg(run.service.port());
    QVERIFY(run.service.pushCommand({{u"navigate"_s, other}}));
    QUILLO_VERIFY(run.service.waitForReport(
                      [&](const QJsonObject& report) {
                          return report.value(u"event"_s).toString() == u"load"_s &&
                                 report.value(u"href"_s).toString() == other;
                      },
                      kStartMs),
                  *run.process);
    QVERIFY(x11::click(area.center().x(), area.center().y()));
    for (const QString& combo : {u"F5"_s, u"ctrl+o"_s, u"y"_s})
        QVERIFY(x11::key(combo));
    QUILLO_VERIFY(run.service.waitForReport(
                      [](const QJsonObject& report) {
                          return report.value(u"event"_s).toString() == u"key"_s &&
                                 report.value(u"key"_s).toString() == u"y"_s;
                      },
                      kReportMs),
                  *run.process);
    QCOMPARE(keysReported(run.service), QStringList{u"y"_s});
    run.process->kill();
}

void TestE2eBridge::contextMenuHasRefreshAndBack() {
    Run run;
    QVERIFY(run.start(u"/cases/keys?id="_s, u"5"_s));
    QUILLO_VERIFY(run.waitForScan(u"case_keys"_s), *run.process);
    const auto window = x11::findWindowByTitle(u"Quillo"_s, kStartMs);
    QVERIFY(window);
    QVERIFY(x11::activate(*window));
    const QRect area = x11::clientGeometry(*window);
    const QPoint point = area.center();
    const int loadsBefore = run.service.requestCount(u"/cases/keys"_s);

    // Our menu: two items, at the click point; the second, Back, with no history does nothing.
    QVERIFY(x11::click(point.x(), point.y(), 3));
    auto menu = x11::findPopupWindow(u"quillo"_s, kReportMs);
    QUILLO_VERIFY(menu, *run.process);
    const QRect menuRect = x11::frameGeometry(*menu);
    QVERIFY2(menuRect.height() < 90, qPrintable(u"menu of height %1"_s.arg(menuRect.height())));
    QVERIFY2((menuRect.topLeft() - point).manhattanLength() <= 4,
             qPrintable(u"menu %5x%6 at %1,%2 for a click at %3,%4"_s.arg(menuRect.left())
                            .arg(menuRect.top())
                            .arg(point.x())
                            .arg(point.y())
                            .arg(menuRect.width())
                            .arg(menuRect.height())));
    // Only menus are popups of the program: the main window, however late it maps, is not one.
    QVERIFY(x11::key(u"Up"_s)); // from nothing selected, Up selects the last item
    QVERIFY(x11::key(u"Return"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(*menu), 5000);
    QTest::qWait(kQuietMs);
    QCOMPARE(run.service.requestCount(u"/cases/keys"_s), loadsBefore);
    QVERIFY(run.process->isRunning());

    // The first item, Refresh, reloads the page.
    QVERIFY(x11::click(point.x(), point.y(), 3));
    menu = x11::findPopupWindow(u"quillo"_s, kReportMs);
    QVERIFY(menu);
    QVERIFY(x11::key(u"Down"_s));
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(run.service.requestCount(u"/cases/keys"_s), loadsBefore + 1, kReportMs);
    run.process->kill();
}

void TestE2eBridge::secondaryWindowMenuActsOnItsOwnPage() {
    Run run;
    QVERIFY(run.start(u"/console?id="_s, u"12345"_s));
    QUILLO_VERIFY(run.waitForScan(u"console"_s), *run.process);
    QVERIFY(run.service.pushCommand(
        {{u"call"_s, u"CB_OpenWindow"_s},
         {u"args"_s, QJsonArray{u"cases/keys?id=77&nopoll"_s, 200, 150, 500, 400, 0}}}));
    QUILLO_VERIFY(run.waitFor(u"case_keys"_s, u"load"_s, kStartMs), *run.process);
    const int consoleLoads = run.service.requestCount(u"/console"_s);
    const int secondaryLoads = run.service.requestCount(u"/cases/keys"_s);

    const auto secondary = x11::findWindowByTitle(u"Custom Browser - Window"_s, kReportMs);
    QVERIFY(secondary);
    QVERIFY(x11::activate(*secondary));
    const QPoint point = x11::clientGeometry(*secondary).center();
    QVERIFY(x11::click(point.x(), point.y(), 3));
    const auto menu = x11::findPopupWindow(u"quillo"_s, kReportMs);
    QUILLO_VERIFY(menu, *run.process);
    QVERIFY(x11::key(u"Down"_s)); // Refresh
    QVERIFY(x11::key(u"Return"_s));

    // The secondary window's page reloads; the operator's console is left alone.
    QTRY_COMPARE_WITH_TIMEOUT(run.service.requestCount(u"/cases/keys"_s), secondaryLoads + 1, kReportMs);
    QTest::qWait(kQuietMs);
    QCOMPARE(run.service.requestCount(u"/console"_s), consoleLoads);
    run.process->kill();
}

void TestE2eBridge::untrustedOriginHasNoExternal_data() {
    QTest::addColumn<QString>("host");
    QTest::newRow("another name for the same address") << u"localhost"_s;
    QTest::newRow("a visitor's site") << u"visitor.example"_s;
}

void TestE2eBridge::untrustedOriginHasNoExternal() {
    QFETCH(QString, host);
    Run run;
    QVERIFY(run.start(u"/console?id="_s, u"12345"_s));
    QUILLO_VERIFY(run.waitForScan(u"console"_s), *run.process);
    const QString address = u"http://%1:%2/console?id=12345"_s.arg(host).arg(run.service.port());
    QVERIFY(run.service.pushCommand({{u"navigate"_s, address}}));
    const auto load = run.service.waitForReport(
        [&](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"load"_s &&
                   report.value(u"href"_s).toString() == address;
        },
        kStartMs);
    QUILLO_VERIFY(load, *run.process);
    QCOMPARE(load->value(u"external"_s).toString(), u"no"_s);

    // A call the untrusted page tries fails in the page and reaches nothing in the client.
    QVERIFY(run.service.pushCommand({{u"call"_s, u"CB_Close"_s}, {u"args"_s, QJsonArray()}}));
    const auto called = run.service.waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"called"_s &&
                   report.value(u"call"_s).toString() == u"CB_Close"_s;
        },
        kReportMs);
    QVERIFY(called);
    QVERIFY(!called->value(u"error"_s).toString().isEmpty());
    QVERIFY(run.process->isRunning());
    run.process->kill();
}

void TestE2eBridge::untrustedOriginCannotStoreOrderNumber() {
    Run run;
    QVERIFY(run.start(u"/console?id="_s, u"12345"_s));
    QUILLO_VERIFY(run.waitForScan(u"console"_s), *run.process);
    // A visitor's site that carries the order-number element, reached by following a link.
    const QString address = u"http://visitor.example:%1/cases/order_two?id="_s.arg(run.service.port());
    QVERIFY(run.service.pushCommand({{u"navigate"_s, address}}));
    QUILLO_VERIFY(run.waitForScan(u"case_order_two"_s), *run.process);
    QTest::qWait(kQuietMs); // nothing may change; give a stray write the time to land
    QCOMPARE(run.home.value(u"OrderID"_s).value_or(QString()), u"12345"_s);
    run.process->kill();
}

QTEST_MAIN(TestE2eBridge)
#include "test_e2e_bridge.moc"
