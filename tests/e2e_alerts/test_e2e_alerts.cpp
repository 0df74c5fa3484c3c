// The client's own alerting, seen from outside as the operator's desktop sees it: the sound on a
// private audio server, the tray icon in an X11 tray, the launcher count on a private session bus,
// and the keyboard's accept in the demo console.

#include "tests/support/alert_fixtures.h"

#include <QDateTime>
#include <QJsonArray>
#include <QSettings>
#include <QTest>

#include <functional>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

const QString kPopupTitle = u"Quillo notification"_s;
const QString kLauncher = u"com.canonical.Unity.LauncherEntry"_s;

bool isEvent(const QJsonObject& report, const QString& event) {
    return report.value(u"event"_s).toString() == event;
}

QVariantMap launcherProperties(const BusMessage& update) {
    return update.args.size() == 2 ? update.args[1].toMap() : QVariantMap();
}

} // namespace

class TestE2eAlerts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void soundFollowsTheMode_data();
    void soundFollowsTheMode();
    void withoutAudioTheRequestStillShows();
    void aTrustedPagesNotificationSounds();
    void repeatStops_data();
    void repeatStops();
    void aPagesNotificationCountsAndTheKeyboardClicksIt();
    void trayLauncherAndKeyboardAccept();

private:
    // quillo-setup on the home's client settings; its exit status.
    int runSetup(const ConfigHome& home, const QStringList& arguments);
    // Starts the client and waits until its start page (of that kind) has loaded.
    bool startClient(QuilloProcess& quillo, const QString& page = u"console"_s);
    bool raiseRequest(const QString& record);
    // When a page last reported the event, on the clock that reads clockNow now.
    std::optional<qint64> lastReportOn(const QString& event, qint64 clockNow) const;

    DemoService m_service;
};

void TestE2eAlerts::initTestCase() {
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
}

int TestE2eAlerts::runSetup(const ConfigHome& home, const QStringList& arguments) {
    QProcess setup;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, home.configDir());
    setup.setProcessEnvironment(environment);
    endWithParent(setup);
    setup.start(QStringLiteral(QUILLO_SETUP_PATH), arguments);
    if (!setup.waitForFinished(20000) || setup.exitStatus() != QProcess::NormalExit)
        return -1;
    return setup.exitCode();
}

bool TestE2eAlerts::startClient(QuilloProcess& quillo, const QString& page) {
    if (!m_service.reset() || !quillo.start())
        return false;
    return m_service
        .waitForReport(
            [&page](const QJsonObject& r) {
                return isEvent(r, u"load"_s) && r.value(u"page"_s).toString() == page;
            },
            60000)
        .has_value();
}

bool TestE2eAlerts::raiseRequest(const QString& record) {
    return m_service.pushCommand(
        QJsonObject{{u"call"_s, u"CB_CustomFunctionWithParams"_s}, {u"args"_s, QJsonArray{record, 1}}});
}

std::optional<qint64> TestE2eAlerts::lastReportOn(const QString& event, qint64 clockNow) const {
    std::optional<qint64> last;
    for (const QJsonValue& value : m_service.reports()) {
        const QJsonObject report = value.toObject();
        if (isEvent(report, event))
            last = qint64(report.value(u"time_ms"_s).toDouble());
    }
    if (!last)
        return std::nullopt;
    return clockNow - (QDateTime::currentMSecsSinceEpoch() - *last);
}

void TestE2eAlerts::soundFollowsTheMode_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("sounds");
    QTest::addColumn<int>("watchMs");
    // Two requests half a second apart: the second falls in the first one's hold.
    QTest::newRow("once: two requests close together sound once") << u"once"_s << 1 << 5000;
    QTest::newRow("repeat: again about 10 s later while nobody answers") << u"repeat"_s << 2 << 12500;
    QTest::newRow("off: the sink stays silent") << u"off"_s << 0 << 5000;
}

void TestE2eAlerts::soundFollowsTheMode() {
    QFETCH(QString, mode);
    QFETCH(int, sounds);
    QFETCH(int, watchMs);

    ConfigHome home;
    QVERIFY(home.isValid());
    home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/console?id="_s);
    // The operator's choice, as quillo-setup stores it for the client.
    QCOMPARE(runSetup(home, {u"--sound"_s, mode.toUpper()}), 0);
    QCOMPARE(QSettings(home.clientSettingsPath(), QSettings::IniFormat).value(u"alerts/sound"_s).toString(),
             mode);

    PulseServer pulse;
    QVERIFY2(pulse.start(), qPrintable(pulse.errorString()));
    SinkRecorder recorder(pulse);
    QVERIFY(recorder.start());
    QuilloProcess quillo(home, m_service);
    quillo.setEnvironmentVariable(u"PULSE_SERVER"_s, pulse.serverAddress());
    QVERIFY2(startClient(quillo), qPrintable(quillo.output()));

    QVERIFY(primeSink(pulse, recorder, QStringLiteral(QUILLO_ALERT_SOUND_PATH)));
    const qint64 before = recorder.now();
    QVERIFY(raiseRequest(u"Ann|Hi, I need help with my order|2 min|Sales"_s));
    QVERIFY2(waitListening(
                 recorder, [] { return !x11::windowsByTitle(kPopupTitle).isEmpty(); }, 5000),
             "no popup appeared");
    const std::optional<qint64> called = lastReportOn(u"calling"_s, recorder.now());
    QVERIFY(called);
    QVERIFY(raiseRequest(u"Bob|Are you there?|1 min|Support"_s));

    if (sounds == 0) {
        // Nothing to wait for: the whole stretch is listened to.
        listen(recorder, watchMs);
        QCOMPARE(recorder.loudest(before, recorder.now()), 0.0);
        QVERIFY2(quillo.isRunning(), qPrintable(quillo.output()));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(recorder.firstSound(before).has_value(), 3000);
    const qint64 heard = *recorder.firstSound(before);
    qInfo("first sound %lld ms after the page's call", heard - *called);
    QVERIFY2(heard - *called <= 1000, qPrintable(u"heard %1 ms after the call"_s.arg(heard - *called)));
    if (sounds == 2)
        QTRY_COMPARE_WITH_TIMEOUT(recorder.soundStarts(before).size(), 2, watchMs);
    else
        listen(recorder, watchMs); // a second sound would have come by now
    const QList<qint64> starts = recorder.soundStarts(before);
    QCOMPARE(starts.size(), sounds);
    if (sounds == 2) {
        const qint64 gap = starts[1] - starts[0];
        qInfo("repeat %lld ms after the first sound", gap);
        QVERIFY2(gap >= 9500 && gap <= 10500, qPrintable(u"repeated after %1 ms"_s.arg(gap)));
    }
}

void TestE2eAlerts::withoutAudioTheRequestStillShows() {
    ConfigHome home;
    QVERIFY(home.isValid());
    home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/console?id="_s);
    QuilloProcess quillo(home, m_service);
    // No audio server answers there.
    quillo.setEnvironmentVariable(u"PULSE_SERVER"_s, u"unix:"_s + home.root() + u"/no-pulse"_s);
    QVERIFY2(startClient(quillo), qPrintable(quillo.output()));

    const QString silent = u"chat requests stay silent until it plays again"_s;
    QVERIFY(raiseRequest(u"Ann|Hi|2 min|Sales"_s));
    QVERIFY2(x11::findWindowByTitle(kPopupTitle, 5000), "no popup appeared");
    QTRY_VERIFY_WITH_TIMEOUT(quillo.output().contains(silent), 5000);
    // A later request, past the sound's hold, is not logged again.
    QTest::qWait(2500);
    QVERIFY(raiseRequest(u"Bob|Hello|1 min|Support"_s));
    const auto callsDone = [this] {
        int calls = 0;
        for (const QJsonValue& report : m_service.reports())
            calls += isEvent(report.toObject(), u"called"_s) ? 1 : 0;
        return calls;
    };
    QTRY_COMPARE_WITH_TIMEOUT(callsDone(), 2, 5000);
    QVERIFY(quillo.isRunning());
    QCOMPARE(quillo.output().count(silent), 1);
    qInfo("%s", qPrintable(quillo.output().section(u"could not play"_s, 1, 1).section(u"\n"_s, 0, 0)));
}

void TestE2eAlerts::aTrustedPagesNotificationSounds() {
    ConfigHome home;
    QVERIFY(home.isValid());
    home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/cases/web?id="_s);
    PulseServer pulse;
    QVERIFY2(pulse.start(), qPrintable(pulse.errorString()));
    SinkRecorder recorder(pulse);
    QVERIFY(recorder.start());
    QuilloProcess quillo(home, m_service);
    quillo.setEnvironmentVariable(u"PULSE_SERVER"_s, pulse.serverAddress());
    QVERIFY2(startClient(quillo, u"case_web"_s), qPrintable(quillo.output()));
    QVERIFY(primeSink(pulse, recorder, QStringLiteral(QUILLO_ALERT_SOUND_PATH)));

    const qint64 before = recorder.now();
    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify"_s, {u"New chat"_s, u"Ann is waiting"_s}));
    const auto wasShown = [this] {
        return m_service
            .waitForReport([](const QJsonObject& r) { return isEvent(r, u"notification_shown"_s); }, 0)
            .has_value();
    };
    QVERIFY2(waitListening(recorder, wasShown, 20000), qPrintable(quillo.output()));
    const std::optional<qint64> shown = lastReportOn(u"notification_shown"_s, recorder.now());
    QVERIFY(shown);
    QTRY_VERIFY_WITH_TIMEOUT(recorder.firstSound(before).has_value(), 3000);
    const qint64 heard = *recorder.firstSound(before);
    qInfo("notification heard %lld ms after the page saw it shown", heard - *shown);
    QVERIFY2(heard - *shown <= 1000, qPrintable(u"heard %1 ms after it showed"_s.arg(heard - *shown)));
}

void TestE2eAlerts::repeatStops_data() {
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("logged");
    QTest::newRow("the page closes its notification, as when a colleague took the chat")
        << u"close"_s << u"repeat stopped: the page closed its notification"_s;
    QTest::newRow("a key pressed in the console that was already active")
        << u"key"_s << u"repeat stopped: a key press"_s;
}

void TestE2eAlerts::repeatStops() {
    QFETCH(QString, stop);
    QFETCH(QString, logged);
    const std::unique_ptr<x11::WindowManager> wm = x11::startWindowManager();
    QVERIFY2(wm, "no window manager could be started");
    ConfigHome home;
    QVERIFY(home.isValid());
    home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/cases/web?id="_s);
    QCOMPARE(runSetup(home, {u"--sound"_s, u"repeat"_s}), 0);
    PulseServer pulse;
    QVERIFY2(pulse.start(), qPrintable(pulse.errorString()));
    SinkRecorder recorder(pulse);
    QVERIFY(recorder.start());
    QuilloProcess quillo(home, m_service);
    quillo.setEnvironmentVariable(u"PULSE_SERVER"_s, pulse.serverAddress());
    QVERIFY2(startClient(quillo, u"case_web"_s), qPrintable(quillo.output()));
    QVERIFY(primeSink(pulse, recorder, QStringLiteral(QUILLO_ALERT_SOUND_PATH)));
    // The operator works in the console already, so no activation answers for them.
    const std::optional<x11::WindowId> main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);
    QVERIFY(x11::activate(*main));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), main, 5000);

    const qint64 before = recorder.now();
    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify"_s, {u"New chat"_s, u"Ann is waiting"_s}));
    QVERIFY2(waitListening(
                 recorder, [&] { return recorder.firstSound(before).has_value(); }, 20000),
             qPrintable(quillo.output()));
    const qint64 heard = *recorder.firstSound(before);
    listen(recorder, 3000);
    if (stop == u"close")
        QVERIFY(m_service.pushAction(u"case_web"_s, u"close_notification"_s));
    else
        QVERIFY(x11::key(u"x"_s));
    // The repeat was due 10 s after the first sound.
    listen(recorder, int(heard + 12000 - recorder.now()));
    QCOMPARE(recorder.soundStarts(before).size(), 1);
    QVERIFY2(quillo.output().contains(logged), qPrintable(quillo.output()));
    qInfo("%s", qPrintable(quillo.output().section(u"repeat stopped"_s, 1, 1).section(u"\n"_s, 0, 0)));
    QCOMPARE(x11::activeWindow(), main);
}

void TestE2eAlerts::aPagesNotificationCountsAndTheKeyboardClicksIt() {
    const std::unique_ptr<x11::WindowManager> wm = x11::startWindowManager();
    QVERIFY2(wm, "no window manager could be started");
    PrivateBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    BusMonitor monitor(bus.address(), {kLauncherEntryRule});
    QVERIFY(monitor.start());
    ConfigHome home;
    QVERIFY(home.isValid());
    home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/cases/web?id="_s);
    QCOMPARE(runSetup(home, {u"--sound"_s, u"off"_s}), 0);
    QuilloProcess quillo(home, m_service);
    quillo.setEnvironmentVariable(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
    QVERIFY2(startClient(quillo, u"case_web"_s), qPrintable(quillo.output()));
    const std::optional<x11::WindowId> main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);
    QVERIFY(x11::activate(*main));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), main, 5000);
    const auto lastCount = [&monitor] {
        const QList<BusMessage> updates = monitor.messages(kLauncher, u"Update"_s);
        return updates.isEmpty() ? -1 : launcherProperties(updates.last()).value(u"count"_s).toLongLong();
    };
    QTRY_COMPARE_WITH_TIMEOUT(lastCount(), 0, 5000);

    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify"_s, {u"New chat"_s, u"Ann is waiting"_s}));
    QVERIFY(m_service.waitForReport([](const QJsonObject& r) { return isEvent(r, u"notification_shown"_s); },
                                    20000));
    QTRY_COMPARE_WITH_TIMEOUT(lastCount(), 1, 5000);
    QVERIFY(x11::key(u"ctrl+shift+a"_s));
    QVERIFY2(m_service.waitForReport([](const QJsonObject& r) { return isEvent(r, u"notification_click"_s); },
                                     5000),
             qPrintable(quillo.output()));
    QTRY_COMPARE_WITH_TIMEOUT(lastCount(), 0, 5000);
}

void TestE2eAlerts::trayLauncherAndKeyboardAccept() {
    const std::unique_ptr<x11::WindowManager> wm = x11::startWindowManager();
    QVERIFY2(wm, "no window manager could be started");
    TrayHost tray;
    QVERIFY2(tray.start(), qPrintable(tray.errorString()));
    PrivateBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    BusMonitor monitor(bus.address(), {kLauncherEntryRule});
    QVERIFY(monitor.start());

    ConfigHome home;
    QVERIFY(home.isValid());
    home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/console?id="_s);
    QCOMPARE(runSetup(home, {u"--sound"_s, u"off"_s}), 0);
    QuilloProcess quillo(home, m_service);
    quillo.setEnvironmentVariable(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
    QVERIFY2(startClient(quillo), qPrintable(quillo.output()));
    const std::optional<x11::WindowId> main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);

    // The icon sits in the tray; nothing waits yet, and the launcher was told so at the start.
    const std::optional<x11::WindowId> icon = TrayHost::findIcon(quillo.pid(), 10000);
    QVERIFY2(icon, "no tray icon of the client");
    QTRY_VERIFY_WITH_TIMEOUT(!monitor.messages(kLauncher, u"Update"_s).isEmpty(), 5000);
    const BusMessage first = monitor.messages(kLauncher, u"Update"_s).first();
    QCOMPARE(first.args.value(0).toString(), u"application://example.tarnwick.Quillo.desktop"_s);
    QVERIFY(first.path.startsWith(u"/com/canonical/unity/launcherentry/"_s));
    QCOMPARE(launcherProperties(first).value(u"count"_s).toLongLong(), 0);
    QCOMPARE(launcherProperties(first).value(u"count-visible"_s).toBool(), false);
    QTRY_VERIFY_WITH_TIMEOUT(!grabWindow(*icon).isNull(), 5000);
    const QImage idle = grabWindow(*icon);

    // The operator works in the console when a request comes: the count goes to 1, urgent, and the
    // tray's icon changes.
    QVERIFY(x11::activate(*main));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), main, 5000);
    QVERIFY(raiseRequest(u"Ann|Hi, I need help with my order|2 min|Sales"_s));
    QVERIFY2(x11::findWindowByTitle(kPopupTitle, 5000), "no popup appeared");
    QTRY_COMPARE_WITH_TIMEOUT(monitor.messages(kLauncher, u"Update"_s).size(), 2, 5000);
    const QVariantMap waiting = launcherProperties(monitor.messages(kLauncher, u"Update"_s).last());
    QCOMPARE(waiting.value(u"count"_s).toLongLong(), 1);
    QCOMPARE(waiting.value(u"count-visible"_s).toBool(), true);
    QCOMPARE(waiting.value(u"urgent"_s).toBool(), true);
    QTRY_VERIFY_WITH_TIMEOUT(grabWindow(*icon) != idle, 5000);

    // Ctrl+Shift+A accepts the chat in the page, and nothing waits any more.
    QCOMPARE(x11::activeWindow(), main);
    QVERIFY(x11::key(u"ctrl+shift+a"_s));
    const auto accepted =
        m_service.waitForReport([](const QJsonObject& r) { return isEvent(r, u"accepted"_s); }, 5000);
    QVERIFY2(accepted, qPrintable(quillo.output()));
    QCOMPARE(accepted->value(u"text"_s).toString(), u"Accept()"_s);
    QTRY_COMPARE_WITH_TIMEOUT(monitor.messages(kLauncher, u"Update"_s).size(), 3, 5000);
    const QVariantMap answered = launcherProperties(monitor.messages(kLauncher, u"Update"_s).last());
    QCOMPARE(answered.value(u"count"_s).toLongLong(), 0);
    QCOMPARE(answered.value(u"urgent"_s).toBool(), false);
    QTRY_VERIFY_WITH_TIMEOUT(grabWindow(*icon) == idle, 5000);

    // The shortcut with nothing waiting accepts nothing.
    QVERIFY(x11::key(u"ctrl+shift+a"_s));
    QTRY_VERIFY_WITH_TIMEOUT(quillo.output().contains(u"no chat request waits"_s), 5000);
    int acceptedReports = 0;
    for (const QJsonValue& report : m_service.reports())
        acceptedReports += isEvent(report.toObject(), u"accepted"_s) ? 1 : 0;
    QCOMPARE(acceptedReports, 1);

    // The frame's window menu offers the sound's choices; the one picked is kept for the next run.
    const QRect client = x11::clientGeometry(*main);
    const QList<x11::WindowId> before = x11::topLevelWindows();
    QVERIFY(x11::click(client.x() + 400, client.y() + 30, 3));
    QVERIFY2(x11::waitForNewPopup(before, 5000), qPrintable(quillo.output()));
    QVERIFY(x11::key(u"e"_s)); // "Alert sound: Rep&eat"
    QTRY_COMPARE_WITH_TIMEOUT(
        QSettings(home.clientSettingsPath(), QSettings::IniFormat).value(u"alerts/sound"_s).toString(),
        u"repeat"_s, 5000);

    // A click on the tray icon brings the console back from behind another program's window.
    const x11::ForeignWindow editor(u"Editor"_s, u"Operator's editor"_s);
    QVERIFY(editor.isValid());
    QVERIFY(x11::activate(editor.id()));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), std::optional<x11::WindowId>(editor.id()), 5000);
    const QRect iconArea = x11::clientGeometry(*icon);
    QVERIFY(x11::click(iconArea.center().x(), iconArea.center().y()));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), main, 5000);

    // A request still waits when the client ends: the dock is told that nothing does any more.
    QVERIFY(raiseRequest(u"Cy|Still there?|4 min|Sales"_s));
    QTRY_COMPARE_WITH_TIMEOUT(monitor.messages(kLauncher, u"Update"_s).size(), 4, 5000);
    QCOMPARE(
        launcherProperties(monitor.messages(kLauncher, u"Update"_s).last()).value(u"count"_s).toLongLong(),
        1);
    quillo.terminate();
    QVERIFY(quillo.waitForExit(15000));
    QTRY_COMPARE_WITH_TIMEOUT(monitor.messages(kLauncher, u"Update"_s).size(), 5, 5000);
    QCOMPARE(
        launcherProperties(monitor.messages(kLauncher, u"Update"_s).last()).value(u"count"_s).toLongLong(),
        0);
}

QTEST_MAIN(TestE2eAlerts)
#include "test_e2e_alerts.moc"
