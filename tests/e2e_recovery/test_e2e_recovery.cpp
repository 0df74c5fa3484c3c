#include "tests/support/e2e_harness.h"
#include "tests/support/session_manager.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kStartMs = 30000;

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// A report from page kind `page` with event `event` that came in after `afterMs`.
std::function<bool(const QJsonObject&)> reportOf(const QString& page, const QString& event,
                                                 qint64 afterMs = 0) {
    return [=](const QJsonObject& report) {
        return report.value(u"page"_s).toString() == page && report.value(u"event"_s).toString() == event &&
               report.value(u"time_ms"_s).toInteger() > afterMs;
    };
}

// The start page is the demo's path on the service with order number 7.
void startAt(const ConfigHome& home, const DemoService& service, const QString& path) {
    home.writeSettings(u"7"_s, service.baseUrl().resolved(QUrl(path)).toString());
}

// Starts the client in a desktop session of the test's own, as a session's autostart would.
bool startInSession(QuilloProcess& quillo, SessionManager& session) {
    if (!session.start()) {
        qWarning("session manager: %s", qPrintable(session.errorString()));
        return false;
    }
    quillo.setEnvironmentVariable(u"SESSION_MANAGER"_s, session.address());
    return quillo.start();
}

// A forwarding HTTP proxy for plain http: each connection is piped to the demo service, which
// takes a proxy's absolute-form requests as any origin server must.
class ForwardingProxy final {
public:
    explicit ForwardingProxy(quint16 target)
        : m_target(target) {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    }
    ForwardingProxy(const ForwardingProxy&) = delete;
    ForwardingProxy& operator=(const ForwardingProxy&) = delete;

    bool listen(quint16 port) { return m_server.listen(QHostAddress::LocalHost, port); }
    int connections() const { return m_connections; }

private:
    void accept() {
        while (QTcpSocket* client = m_server.nextPendingConnection()) {
            ++m_connections;
            auto* upstream = new QTcpSocket(client);
            const auto pipe = [](QTcpSocket* from, QTcpSocket* to) {
                QObject::connect(from, &QTcpSocket::readyRead, to,
                                 [from, to] { to->write(from->readAll()); });
                QObject::connect(from, &QTcpSocket::disconnected, to, [to] { to->disconnectFromHost(); });
            };
            // The client's request waits in its socket until the service is connected.
            QObject::connect(upstream, &QTcpSocket::connected, client, [=] {
                pipe(client, upstream);
                pipe(upstream, client);
                upstream->write(client->readAll());
            });
            QObject::connect(upstream, &QTcpSocket::errorOccurred, client, [client] { client->abort(); });
            QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            upstream->connectToHost(QHostAddress::LocalHost, m_target);
        }
    }

    QTcpServer m_server;
    quint16 m_target;
    int m_connections = 0;
};

// A local port that nothing listens on, for now.
quint16 freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

} // namespace

class TestE2eRecovery : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void rendererKilled();
    void hungPage();
    void hungPageInASecondaryWindow();
    void consoleBoxOutlastsTheHangLimit();
    void serviceUnreachableAtStart();
    void serviceRestarting();
    void proxyComesUpLater();
    void secondStart();
    void exitSignal_data();
    void exitSignal();
    void exitSignalWhateverIsOpen_data();
    void exitSignalWhateverIsOpen();
    void sessionCheckpoint();

private:
    std::unique_ptr<x11::WindowManager> m_windowManager;
    std::unique_ptr<DemoService> m_service;
};

void TestE2eRecovery::initTestCase() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
    // Activation by a second start means something only with a window manager.
    m_windowManager = x11::startWindowManager();
    QVERIFY2(m_windowManager, "no window manager could be started (is openbox installed?)");
}

void TestE2eRecovery::init() {
    m_service = std::make_unique<DemoService>();
    QVERIFY2(m_service->start(), qPrintable(m_service->errorString()));
}

void TestE2eRecovery::rendererKilled() {
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    // The page reports its version 300 ms after its load and again once the client writes it; on a
    // busy machine the first report can come before the client has.
    const auto first = m_service->waitForReport(
        [](const QJsonObject& report) {
            return reportOf(u"console"_s, u"version"_s)(report) &&
                   !report.value(u"version"_s).toString().isEmpty();
        },
        kStartMs);
    QUILLO_VERIFY(first, quillo);
    const QString version = first->value(u"version"_s).toString();

    // Twice: the second death comes within the first's stable minute, so it waits longer.
    for (int kill = 0; kill < 2; ++kill) {
        const QList<qint64> renderers = rendererPids(quillo.pid());
        QUILLO_VERIFY(!renderers.isEmpty(), quillo);
        const qint64 killedAt = nowMs();
        for (const qint64 renderer : renderers)
            ::kill(pid_t(renderer), SIGKILL);
        // The page loads again and the page bridge writes the version into it as on any load.
        const auto back = m_service->waitForReport(
            [&](const QJsonObject& report) {
                return reportOf(u"console"_s, u"version"_s, killedAt)(report) &&
                       report.value(u"version"_s).toString() == version;
            },
            20000);
        QUILLO_VERIFY(back, quillo);
        const auto load = m_service->waitForReport(reportOf(u"console"_s, u"load"_s, killedAt), 1000);
        QVERIFY(load);
        qInfo("kill %d: page loaded again after %lld ms", kill + 1,
              load->value(u"time_ms"_s).toInteger() - killedAt);
        QUILLO_VERIFY(quillo.isRunning(), quillo);
    }
    QVERIFY(quillo.output().contains(u"renderer killed"_s));
}

void TestE2eRecovery::hungPage() {
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"console"_s, u"load"_s), kStartMs), quillo);

    // The page loops in script the first time it is shown, and stays calm once reloaded.
    QVERIFY(
        m_service->pushCommand({{u"navigate"_s, m_service->baseUrl().toString() + u"/cases/hostile/loop"_s},
                                {u"page"_s, u"console"_s}}));
    const auto looping = m_service->waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"loop-page"_s &&
                   !report.value(u"looped"_s).toBool();
        },
        kStartMs);
    QUILLO_VERIFY(looping, quillo);
    const auto recovered = m_service->waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"loop-page"_s &&
                   report.value(u"looped"_s).toBool();
        },
        45000);
    QUILLO_VERIFY(recovered, quillo);
    const qint64 silentMs =
        recovered->value(u"time_ms"_s).toInteger() - looping->value(u"time_ms"_s).toInteger();
    qInfo("hung page loaded again after %lld ms", silentMs);
    // Not before the page has had its fifteen seconds.
    QVERIFY2(silentMs >= 14000, qPrintable(QString::number(silentMs)));
    QUILLO_VERIFY(quillo.isRunning(), quillo);
}

// The main window's page is not the only one watched: a page looping in a window the console
// opened is ended and loaded again just the same, and the console goes on meanwhile.
void TestE2eRecovery::hungPageInASecondaryWindow() {
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"console"_s, u"load"_s), kStartMs), quillo);
    const qint64 consoleUpAt = nowMs();

    const QString loop = m_service->baseUrl().toString() + u"/cases/hostile/loop"_s;
    QVERIFY(m_service->pushCommand({{u"call"_s, u"CB_OpenWindow"_s},
                                    {u"page"_s, u"console"_s},
                                    {u"args"_s, QJsonArray{loop, 100, 100, 400, 300, 0}}}));
    const auto looping = m_service->waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"loop-page"_s &&
                   !report.value(u"looped"_s).toBool();
        },
        kStartMs);
    QUILLO_VERIFY(looping, quillo);
    const auto recovered = m_service->waitForReport(
        [](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"loop-page"_s &&
                   report.value(u"looped"_s).toBool();
        },
        45000);
    QUILLO_VERIFY(recovered, quillo);
    const qint64 silentMs =
        recovered->value(u"time_ms"_s).toInteger() - looping->value(u"time_ms"_s).toInteger();
    qInfo("hung page in a secondary window loaded again after %lld ms", silentMs);
    // Its fifteen seconds, one ping's delay and the reload.
    QVERIFY2(silentMs >= 14000 && silentMs <= 25000, qPrintable(QString::number(silentMs)));

    // The console was neither ended nor reloaded, and it answers.
    QVERIFY2(!m_service->waitForReport(reportOf(u"console"_s, u"load"_s, consoleUpAt), 0),
             qPrintable(quillo.output()));
    const qint64 askedAt = nowMs();
    QVERIFY(m_service->pushCommand({{u"call"_s, u"CB_IsOurCustomBrowser"_s}, {u"page"_s, u"console"_s}}));
    QUILLO_VERIFY(m_service->waitForReport(
                      [&](const QJsonObject& report) {
                          return reportOf(u"console"_s, u"called"_s, askedAt)(report) &&
                                 report.value(u"call"_s).toString() == u"CB_IsOurCustomBrowser"_s;
                      },
                      10000),
                  quillo);
}

// The console's own script box waits for the operator as long as it takes. The engine runs no
// page's work meanwhile, and that silence is not a hang.
void TestE2eRecovery::consoleBoxOutlastsTheHangLimit() {
    ConfigHome home;
    startAt(home, *m_service, u"/cases/web?id="_s);
    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    const auto load = m_service->waitForReport(reportOf(u"case_web"_s, u"load"_s), kStartMs);
    QUILLO_VERIFY(load, quillo);
    const qint64 loadedAt = nowMs();
    const auto mainWindow = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(mainWindow);
    QVERIFY(x11::activate(*mainWindow));
    QTRY_VERIFY_WITH_TIMEOUT(x11::activeWindow() == mainWindow, 10000);

    QVERIFY(m_service->pushCommand(
        {{u"page"_s, u"case_web"_s}, {u"action"_s, u"alert"_s}, {u"args"_s, QJsonArray{u"New chat"_s}}}));
    // The box takes the focus from the main window.
    QTRY_VERIFY_WITH_TIMEOUT(x11::activeWindow() && x11::activeWindow() != mainWindow, 20000);
    const x11::WindowId box = *x11::activeWindow();
    // The operator answers after the fifteen seconds a silent page gets and a ping more.
    QTest::qWait(20000);
    QVERIFY(x11::activate(box));
    QVERIFY(x11::key(u"Return"_s));
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"case_web"_s, u"alerted"_s), 10000), quillo);
    QVERIFY2(!quillo.output().contains(u"has not answered"_s), qPrintable(quillo.output()));
    QVERIFY(!m_service->waitForReport(reportOf(u"case_web"_s, u"load"_s, loadedAt), 0));
}

void TestE2eRecovery::serviceUnreachableAtStart() {
    const quint16 port = m_service->port();
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    // The client is pointed at the service's port, then the service goes away before it starts.
    QuilloProcess quillo(home, *m_service);
    m_service->stop();
    QVERIFY(quillo.start());
    // The service comes back once the client has found it gone.
    QTRY_VERIFY2_WITH_TIMEOUT(quillo.output().contains(u"cannot reach"_s), qPrintable(quillo.output()),
                              30000);
    QVERIFY2(m_service->start(false, port), qPrintable(m_service->errorString()));
    const qint64 upAt = nowMs();

    const auto load = m_service->waitForReport(reportOf(u"console"_s, u"version"_s), 40000);
    QUILLO_VERIFY(load, quillo);
    qInfo("console loaded %lld ms after the service came back", load->value(u"time_ms"_s).toInteger() - upAt);
    // Every try reloads the one failed entry: Back has nowhere to go, so the console stays.
    QVERIFY(x11::findWindowByTitle(u"Quillo"_s, 5000));
}

// The load balancer in front of the service answers 503 while the service restarts; the console
// comes up when the service does, without the operator doing anything.
void TestE2eRecovery::serviceRestarting() {
    QVERIFY(m_service->setOutage(u"/console"_s, 503, 2));
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    QuilloProcess quillo(home, *m_service);
    const qint64 startedAt = nowMs();
    QVERIFY(quillo.start());

    const auto load = m_service->waitForReport(reportOf(u"console"_s, u"version"_s), 40000);
    QUILLO_VERIFY(load, quillo);
    qInfo("console loaded %lld ms after the start, through two answers of 503",
          load->value(u"time_ms"_s).toInteger() - startedAt);
    // Each answer of 503 was tried once again, after its wait.
    QCOMPARE(m_service->requestCount(u"/console"_s), 3);
    QVERIFY2(quillo.output().contains(u"service not available at"_s) &&
                 quillo.output().contains(u"HTTP 503"_s),
             qPrintable(quillo.output()));
}

// The client's proxy is not up yet when the client starts, and comes a few seconds later.
void TestE2eRecovery::proxyComesUpLater() {
    const quint16 proxyPort = freePort();
    QVERIFY(proxyPort != 0);
    ConfigHome home;
    // The engine never sends a loopback address through a proxy, so the console goes by a name.
    home.writeSettings(u"7"_s, u"http://chat.example:%1/console?id="_s.arg(m_service->port()));
    // The proxy's own address is not mapped to the service like every name is.
    QuilloProcess quillo(
        home, *m_service,
        {u"--host-resolver-rules="_s + m_service->hostResolverRules() + u", EXCLUDE 127.0.0.1"_s});
    const QString proxy = u"http://127.0.0.1:%1"_s.arg(proxyPort);
    quillo.setEnvironmentVariable(u"http_proxy"_s, proxy);
    quillo.setEnvironmentVariable(u"https_proxy"_s, proxy);
    QVERIFY(quillo.start());
    QTRY_VERIFY2_WITH_TIMEOUT(quillo.output().contains(u"cannot reach"_s), qPrintable(quillo.output()),
                              kStartMs);
    QVERIFY2(quillo.output().contains(u"-130"_s), qPrintable(quillo.output()));

    ForwardingProxy forwarding(m_service->port());
    QVERIFY(forwarding.listen(proxyPort));
    const qint64 upAt = nowMs();
    const auto load = m_service->waitForReport(reportOf(u"console"_s, u"version"_s), 40000);
    QUILLO_VERIFY(load, quillo);
    qInfo("console loaded %lld ms after the proxy came up", load->value(u"time_ms"_s).toInteger() - upAt);
    QVERIFY(forwarding.connections() > 0);
    QCOMPARE(load->value(u"host"_s).toString(), u"chat.example:%1"_s.arg(m_service->port()));
    // Nothing reached the service but through the proxy.
    QVERIFY(!m_service->waitForRequest(
        [&](const QJsonObject& request) { return request.value(u"time_ms"_s).toInteger() < upAt; }, 0));
}

void TestE2eRecovery::secondStart() {
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    QuilloProcess first(home, *m_service);
    QVERIFY(first.start());
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"console"_s, u"load"_s), kStartMs), first);
    const auto mainWindow = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(mainWindow);

    // Another program has the focus when the operator starts the client again.
    x11::ForeignWindow other(u"OtherProgram"_s, u"Another program"_s);
    QVERIFY(other.isValid());
    QVERIFY(x11::activate(other.id()));
    QTRY_VERIFY_WITH_TIMEOUT(x11::activeWindow() == other.id(), 10000);

    const qint64 secondAt = nowMs();
    QuilloProcess second(home, *m_service);
    QVERIFY(second.start());
    QUILLO_VERIFY(second.waitForExit(20000), second);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(x11::activeWindow() == *mainWindow || x11::isUrgent(*mainWindow), 10000);
    // No page was loaded by the second start.
    QVERIFY(!m_service->waitForRequest(
        [&](const QJsonObject& request) {
            return request.value(u"path"_s).toString() == u"/console"_s &&
                   request.value(u"time_ms"_s).toInteger() > secondAt;
        },
        1000));
    QUILLO_VERIFY(first.isRunning(), first);

    // A client that was killed leaves its lock behind; the next start takes it over.
    first.kill();
    QVERIFY(first.waitForExit(10000));
    const qint64 thirdAt = nowMs();
    QuilloProcess third(home, *m_service);
    QVERIFY(third.start());
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"console"_s, u"load"_s, thirdAt), kStartMs), third);
}

void TestE2eRecovery::exitSignal_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM from the session manager") << int(SIGTERM);
    QTest::newRow("SIGINT from a terminal") << int(SIGINT);
    QTest::newRow("SIGHUP from a closed terminal") << int(SIGHUP);
    // The session manager asks its clients to save before a shutdown, then tells them to end.
    QTest::newRow("the desktop session ending") << 0;
}

void TestE2eRecovery::exitSignal() {
    QFETCH(int, signalNumber);
    ConfigHome home;
    startAt(home, *m_service, u"/cases/cookie?id="_s);
    QuilloProcess quillo(home, *m_service);
    SessionManager session;
    QVERIFY(startInSession(quillo, session));
    QUILLO_VERIFY(session.waitForClient(kStartMs), quillo);
    const auto set = m_service->waitForReport(reportOf(u"case_cookie"_s, u"cookie-set"_s), kStartMs);
    QUILLO_VERIFY(set, quillo);
    // A secondary window is open too; it goes with the client.
    QVERIFY(
        m_service->pushCommand({{u"call"_s, u"CB_OpenWindow"_s},
                                {u"args"_s, QJsonArray{m_service->baseUrl().toString() + u"/console?nopoll"_s,
                                                       100, 100, 400, 300, 0}}}));
    QVERIFY(x11::findWindowByTitle(u"Custom Browser - Window"_s, 20000));
    QTest::qWait(2000);

    QElapsedTimer ending;
    ending.start();
    if (signalNumber != 0) {
        ::kill(pid_t(quillo.pid()), signalNumber);
    } else {
        QUILLO_VERIFY(session.saveYourself(true, 5000), quillo);
        session.die();
    }
    QUILLO_VERIFY(quillo.waitForExit(int(5000 - ending.elapsed())), quillo);
    QCOMPARE(quillo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quillo.exitCode(), 0);

    // The next start finds the logon cookie the page set.
    const qint64 againAt = nowMs();
    QuilloProcess again(home, *m_service);
    QVERIFY(again.start());
    const auto found =
        m_service->waitForReport(reportOf(u"case_cookie"_s, u"cookie-found"_s, againAt), kStartMs);
    QUILLO_VERIFY(found, again);
    QCOMPARE(found->value(u"cookie"_s).toString(), set->value(u"cookie"_s).toString());
}

void TestE2eRecovery::exitSignalWhateverIsOpen_data() {
    QTest::addColumn<QString>("open");
    QTest::newRow("the frame's window menu") << u"menu"_s;
    QTest::newRow("the console's own box, waiting for its answer") << u"alert"_s;
}

// At logout the session's SIGKILL follows its SIGTERM within seconds; nothing open may hold the end.
void TestE2eRecovery::exitSignalWhateverIsOpen() {
    QFETCH(QString, open);
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"console"_s, u"load"_s), kStartMs), quillo);
    const auto window = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(window);
    if (open == u"menu"_s) {
        QVERIFY(x11::activate(*window));
        const QRect client = x11::clientGeometry(*window);
        const QList<x11::WindowId> before = x11::topLevelWindows();
        QVERIFY(x11::click(client.x() + 400, client.y() + 30, 3));
        QUILLO_VERIFY(x11::waitForNewPopup(before, 5000), quillo);
    } else {
        QVERIFY(m_service->pushCommand({{u"page"_s, u"console"_s},
                                        {u"action"_s, u"alert"_s},
                                        {u"args"_s, QJsonArray{u"Esc to close"_s}}}));
        const QString title = scriptBoxTitle(m_service->baseUrl());
        QUILLO_VERIFY(x11::findWindowByTitle(title, 5000), quillo);
    }

    QElapsedTimer ending;
    ending.start();
    ::kill(pid_t(quillo.pid()), SIGTERM);
    QUILLO_VERIFY(quillo.waitForExit(2000), quillo);
    qInfo("ended %lld ms after SIGTERM", ending.elapsed());
    QCOMPARE(quillo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quillo.exitCode(), 0);
}

// Session managers also ask for a save while the session goes on (a checkpoint); that ends nothing.
void TestE2eRecovery::sessionCheckpoint() {
    ConfigHome home;
    startAt(home, *m_service, u"/console?id="_s);
    QuilloProcess quillo(home, *m_service);
    SessionManager session;
    QVERIFY(startInSession(quillo, session));
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"console"_s, u"version"_s), kStartMs), quillo);
    QUILLO_VERIFY(session.waitForClient(kStartMs), quillo);

    QUILLO_VERIFY(session.saveYourself(false, 5000), quillo);
    const qint64 savedAt = nowMs();
    QVERIFY(m_service->pushCommand({{u"call"_s, u"CB_IsOurCustomBrowser"_s}, {u"page"_s, u"console"_s}}));
    const auto answered = [&](const QJsonObject& r) {
        return reportOf(u"console"_s, u"called"_s, savedAt)(r) &&
               r.value(u"call"_s).toString() == u"CB_IsOurCustomBrowser"_s;
    };
    QUILLO_VERIFY(m_service->waitForReport(answered, 10000), quillo);
    QUILLO_VERIFY(quillo.isRunning(), quillo);
    QVERIFY(x11::findWindowByTitle(u"Quillo"_s, 1000));
}

QTEST_MAIN(TestE2eRecovery)
#include "test_e2e_recovery.moc"
