// The console through a sleep of the machine, with logind played by a stand-in on a system bus of
// the test's own: what reaches the chat service says whether the console was reloaded.

#include "tests/support/alert_fixtures.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kStartMs = 30000;
const QString kPopupTitle = u"Quillo notification"_s;
const QString kWokeLine = u"the machine woke up"_s;
const QString kLockTaken = u"inhibit sleep Quillo Checks the chat console after the sleep delay"_s;
// What the client takes for a long sleep in these tests.
constexpr int kShortLimitMs = 50;

std::function<bool(const QJsonObject&)> consoleEvent(const QString& event, qint64 afterMs) {
    return [=](const QJsonObject& report) {
        return report.value(u"page"_s).toString() == u"console"_s &&
               report.value(u"event"_s).toString() == event &&
               report.value(u"time_ms"_s).toInteger() > afterMs;
    };
}

// The console loaded again after afterMs: a request for it, then the new page's load and version.
// The page being replaced still reports its version 300 ms after its own load, which on a busy
// machine comes in after the wake or even after the reload's request.
bool consoleReloadedSince(const DemoService& service, qint64 afterMs) {
    const auto timeOf = [](const std::optional<QJsonObject>& event) {
        return event->value(u"time_ms"_s).toInteger();
    };
    const auto request = service.waitForRequest(
        [=](const QJsonObject& r) {
            return r.value(u"path"_s).toString() == u"/console"_s &&
                   r.value(u"time_ms"_s).toInteger() > afterMs;
        },
        kStartMs);
    const auto load =
        request ? service.waitForReport(consoleEvent(u"load"_s, timeOf(request)), kStartMs) : std::nullopt;
    return load && service.waitForReport(consoleEvent(u"version"_s, timeOf(load)), kStartMs);
}

int consoleLoadsSince(const DemoService& service, qint64 afterMs) {
    int loads = 0;
    for (const QJsonValue& report : service.reports())
        loads += consoleEvent(u"load"_s, afterMs)(report.toObject()) ? 1 : 0;
    return loads;
}

// The client's own log lines, which say what it did; the engine's chatter would hide them.
QString clientLog(const QuilloProcess& quillo) {
    QStringList lines = quillo.output().split(u'\n');
    lines.removeIf([](const QString& line) { return !line.startsWith(u"quillo."_s); });
    return lines.join(u'\n');
}

} // namespace

class TestE2eSleep : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void wake_data();
    void wake();
    void longSleepWhilePopupShows();
    void wakeAfterAFailedLoad();
    void withoutLogind_data();
    void withoutLogind();

private:
    // Starts the client on the console with logind's stand-in and the given long-sleep limit.
    // beforeStart runs once the client is set up to use the service, just before it starts.
    bool startClient(const QString& longSleepMs, bool consoleUp = true,
                     const std::function<void()>& beforeStart = {});
    // The machine sleeps a little longer than the shortened limit, and wakes.
    void sleepAndWake();

    std::unique_ptr<DisplayKeeper> m_display;
    std::unique_ptr<DemoService> m_service;
    std::unique_ptr<ConfigHome> m_home;
    std::unique_ptr<FakeLogind> m_logind;
    std::unique_ptr<QuilloProcess> m_quillo;
};

void TestE2eSleep::initTestCase() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
    m_display = std::make_unique<DisplayKeeper>();
    QVERIFY(m_display->isValid());
}

void TestE2eSleep::init() {
    m_quillo.reset();
    m_logind.reset();
    m_service = std::make_unique<DemoService>();
    QVERIFY2(m_service->start(), qPrintable(m_service->errorString()));
    m_home = std::make_unique<ConfigHome>();
    m_home->writeSettings(u"7"_s, m_service->baseUrl().resolved(QUrl(u"/console?id="_s)).toString());
}

bool TestE2eSleep::startClient(const QString& longSleepMs, bool consoleUp,
                               const std::function<void()>& beforeStart) {
    m_logind = std::make_unique<FakeLogind>();
    if (!m_logind->start()) {
        qWarning("logind stand-in: %s", qPrintable(m_logind->errorString()));
        return false;
    }
    m_quillo = std::make_unique<QuilloProcess>(*m_home, *m_service);
    m_quillo->setEnvironmentVariable(u"DBUS_SYSTEM_BUS_ADDRESS"_s, m_logind->busAddress());
    m_quillo->setEnvironmentVariable(u"QUILLO_TEST_LONG_SLEEP_MS"_s, longSleepMs);
    if (beforeStart)
        beforeStart();
    if (!m_quillo->start() ||
        (consoleUp && !m_service->waitForReport(consoleEvent(u"version"_s, 0), kStartMs))) {
        qWarning("client did not load the console: %s", qPrintable(clientLog(*m_quillo)));
        return false;
    }
    // The client holds a delay lock, so the notice of a sleep is handled before the machine sleeps.
    const bool locked = QTest::qWaitFor([&] { return m_logind->log().contains(kLockTaken); }, 10000);
    if (!locked)
        qWarning("no delay lock: %s\n%s", qPrintable(m_logind->log().join(u'\n')),
                 qPrintable(clientLog(*m_quillo)));
    return locked;
}

void TestE2eSleep::sleepAndWake() {
    QVERIFY(m_logind->prepareForSleep(true));
    QElapsedTimer asleep;
    asleep.start();
    // The lock goes once the notice is handled, and comes back after the wake.
    QTRY_VERIFY_WITH_TIMEOUT(m_logind->log().contains(u"released Quillo"_s), 5000);
    // The sleep lasts longer than the shortened limit of a long one.
    QTRY_VERIFY_WITH_TIMEOUT(asleep.elapsed() > 4 * kShortLimitMs, 5000);
    QVERIFY(m_logind->prepareForSleep(false));
    QTRY_VERIFY2_WITH_TIMEOUT(m_quillo->output().contains(kWokeLine), qPrintable(clientLog(*m_quillo)), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_logind->log().count(kLockTaken), 2, 5000);
}

void TestE2eSleep::wake_data() {
    QTest::addColumn<QString>("longSleepMs");
    QTest::addColumn<bool>("reloaded");
    QTest::newRow("sleep shorter than the limit: checked, not reloaded") << u"600000"_s << false;
    QTest::newRow("sleep longer than the limit: reloaded once") << QString::number(kShortLimitMs) << true;
}

void TestE2eSleep::wake() {
    QFETCH(QString, longSleepMs);
    QFETCH(bool, reloaded);
    QVERIFY(startClient(longSleepMs));
    const int consoleRequests = m_service->requestCount(u"/console"_s);
    const qint64 beforeSleep = QDateTime::currentMSecsSinceEpoch();

    sleepAndWake();
    if (QTest::currentTestFailed())
        return;

    if (reloaded) {
        QUILLO_VERIFY(consoleReloadedSince(*m_service, beforeSleep), *m_quillo);
        QCOMPARE(m_service->requestCount(u"/console"_s), consoleRequests + 1);
    }
    // A call through window.external goes round the page that is up now: a reload started at the
    // wake would have replaced it first.
    QVERIFY(m_service->pushCommand({{u"call"_s, u"CB_IsOurCustomBrowser"_s}, {u"args"_s, QJsonArray()}}));
    QUILLO_VERIFY(m_service->waitForReport(consoleEvent(u"called"_s, beforeSleep), 10000), *m_quillo);
    QCOMPARE(m_service->requestCount(u"/console"_s), consoleRequests + (reloaded ? 1 : 0));
    QCOMPARE(consoleLoadsSince(*m_service, beforeSleep), reloaded ? 1 : 0);
}

void TestE2eSleep::longSleepWhilePopupShows() {
    QVERIFY(startClient(QString::number(kShortLimitMs)));
    const int consoleRequests = m_service->requestCount(u"/console"_s);
    QVERIFY(m_service->pushCommand({{u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                    {u"args"_s, QJsonArray{u"Ann|Hello|2 min|Sales"_s, 1}}}));
    const std::optional<x11::WindowId> popup = x11::findWindowByTitle(kPopupTitle, 5000);
    QUILLO_VERIFY(popup, *m_quillo);

    const qint64 beforeSleep = QDateTime::currentMSecsSinceEpoch();
    sleepAndWake();
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY2_WITH_TIMEOUT(m_quillo->output().contains(u"a reload waits"_s),
                              qPrintable(clientLog(*m_quillo)), 5000);
    QCOMPARE(m_service->requestCount(u"/console"_s), consoleRequests);

    // The operator closes the popup without accepting: the console is reloaded then.
    const QRect geometry = x11::clientGeometry(*popup);
    QVERIFY(x11::click(geometry.x() + 170, geometry.y() + 3));
    QUILLO_VERIFY(consoleReloadedSince(*m_service, beforeSleep), *m_quillo);
    QCOMPARE(m_service->requestCount(u"/console"_s), consoleRequests + 1);
}

void TestE2eSleep::wakeAfterAFailedLoad() {
    // The service is gone when the client starts, and the client's tries grow apart.
    const quint16 port = m_service->port();
    QVERIFY(startClient(u"600000"_s, false, [this] { m_service->stop(); }));
    QTRY_VERIFY2_WITH_TIMEOUT(clientLog(*m_quillo).count(u"cannot reach"_s) >= 3,
                              qPrintable(clientLog(*m_quillo)), 30000);
    QVERIFY2(clientLog(*m_quillo).contains(u"trying again in 8"_s), qPrintable(clientLog(*m_quillo)));
    QVERIFY2(m_service->start(false, port), qPrintable(m_service->errorString()));

    // A short sleep: the console is loaded at once, not at its next try 8 s on.
    sleepAndWake();
    if (QTest::currentTestFailed())
        return;
    const qint64 wokeAt = QDateTime::currentMSecsSinceEpoch();
    QVERIFY2(clientLog(*m_quillo).contains(u"the machine woke up - checking the console, reloading it"_s),
             qPrintable(clientLog(*m_quillo)));
    const auto load = m_service->waitForReport(consoleEvent(u"version"_s, 0), kStartMs);
    QUILLO_VERIFY(load, *m_quillo);
    const qint64 afterWake = load->value(u"time_ms"_s).toInteger() - wokeAt;
    qInfo("console up %lld ms after the wake", afterWake);
    QVERIFY2(afterWake < 6000, qPrintable(clientLog(*m_quillo)));
}

void TestE2eSleep::withoutLogind_data() {
    QTest::addColumn<bool>("busRuns");
    QTest::addColumn<QString>("why");
    QTest::newRow("no system bus, as in a container") << false << u"no system bus"_s;
    QTest::newRow("a system bus without logind") << true << u"logind does not answer"_s;
}

void TestE2eSleep::withoutLogind() {
    QFETCH(bool, busRuns);
    QFETCH(QString, why);
    PrivateBus bus(PrivateBus::Kind::System);
    QTemporaryDir nowhere;
    if (busRuns)
        QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    QuilloProcess quillo(*m_home, *m_service);
    quillo.setEnvironmentVariable(u"DBUS_SYSTEM_BUS_ADDRESS"_s,
                                  busRuns ? bus.address() : u"unix:path="_s + nowhere.filePath(u"no-bus"_s));
    QVERIFY(quillo.start());
    QUILLO_VERIFY(m_service->waitForReport(consoleEvent(u"version"_s, 0), kStartMs), quillo);
    const QString line = u"not watching for sleeps of the machine"_s;
    QTRY_VERIFY2_WITH_TIMEOUT(quillo.output().contains(line), qPrintable(clientLog(quillo)), 5000);
    QVERIFY2(quillo.output().contains(why), qPrintable(clientLog(quillo)));
    QCOMPARE(quillo.output().count(line), 1);
}

QTEST_MAIN(TestE2eSleep)
#include "test_e2e_sleep.moc"
