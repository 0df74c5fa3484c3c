// The alert harness proven on standard tools and a small Qt program of its own, before any test
// of the client relies on it.

#include "tests/support/alert_fixtures.h"

#include <QJsonArray>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

const QString kSubject = QStringLiteral(QUILLO_SUBJECT_PATH);
const QString kAlertSound = QStringLiteral(QUILLO_ALERT_SOUND_PATH);

// A WAV of 16-bit mono zeros: data that arrives at the sink yet is silence.
QByteArray silentWav(int ms) {
    const quint32 dataBytes = quint32(PulseServer::kRate / 1000 * ms * 2);
    QByteArray wav;
    auto u32 = [&](quint32 v) {
        wav.append(reinterpret_cast<const char*>(&v), 4);
    };
    auto u16 = [&](quint16 v) {
        wav.append(reinterpret_cast<const char*>(&v), 2);
    };
    wav += "RIFF";
    u32(36 + dataBytes);
    wav += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(PulseServer::kRate);
    u32(PulseServer::kRate * 2);
    u16(2);
    u16(16);
    wav += "data";
    u32(dataBytes);
    wav.append(QByteArray(qsizetype(dataBytes), '\0'));
    return wav;
}

int runTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    endWithParent(process);
    process.start(program, arguments);
    if (!process.waitForFinished(15000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QProcessEnvironment with(const QString& name, const QString& value) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(name, value);
    return environment;
}

} // namespace

class TestAlertHarness : public QObject {
    Q_OBJECT

private slots:
    void sinkRecorderMeasuresWhatPlays();
    void fakeLogindSignalsSleepAndInhibits();
    void busMonitorDecodesLauncherAndNotify();
    void trayHostEmbedsAnIcon();
    void accessibilityTreeAndEvents();
};

void TestAlertHarness::sinkRecorderMeasuresWhatPlays() {
    PulseServer server;
    QVERIFY2(server.start(), qPrintable(server.errorString()));
    SinkRecorder recorder(server);
    QVERIFY(recorder.start());
    const QProcessEnvironment client = with(u"PULSE_SERVER"_s, server.serverAddress());

    // Silence that does reach the sink: windows arrive, none is a sound.
    QTemporaryDir dir;
    const QString silent = dir.filePath(u"silent.wav"_s);
    QVERIFY(writeFile(silent, silentWav(600)));
    const qint64 beforeSilence = recorder.now();
    QCOMPARE(runTool(u"paplay"_s, {silent}, client), 0);
    QTRY_VERIFY_WITH_TIMEOUT(recorder.windows().size() >= 5, 5000);
    QCOMPARE(recorder.loudest(beforeSilence, recorder.now()), 0.0);
    QVERIFY(!recorder.firstSound(beforeSilence));

    // The project's alert sound: heard within a second of the start of playing, as one sound.
    const qint64 played = recorder.now();
    QCOMPARE(runTool(u"paplay"_s, {kAlertSound}, client), 0);
    QTRY_VERIFY_WITH_TIMEOUT(recorder.firstSound(played).has_value(), 5000);
    const qint64 heard = *recorder.firstSound(played);
    QVERIFY2(heard - played < 1000, qPrintable(u"heard after %1 ms"_s.arg(heard - played)));
    QVERIFY(recorder.loudest(played, recorder.now()) > 0.1);
    QCOMPARE(recorder.soundStarts(played).size(), 1);

    // Played again once the first has been quiet a while: a second sound of its own.
    const auto lastSound = [&] {
        qint64 last = 0;
        for (const SinkRecorder::Window& window : recorder.windows())
            last = window.rms > SinkRecorder::kSoundRms ? window.endMs : last;
        return last;
    };
    QTRY_VERIFY_WITH_TIMEOUT(recorder.now() - lastSound() > 700, 5000);
    QCOMPARE(runTool(u"paplay"_s, {kAlertSound}, client), 0);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.soundStarts(played).size(), 2, 5000);
}

void TestAlertHarness::fakeLogindSignalsSleepAndInhibits() {
    FakeLogind logind;
    QVERIFY2(logind.start(), qPrintable(logind.errorString()));
    BusMonitor monitor(logind.busAddress(), {kPrepareForSleepRule});
    QVERIFY(monitor.start());

    QVERIFY(logind.prepareForSleep(true));
    QVERIFY(logind.prepareForSleep(false));
    const QString manager = u"org.freedesktop.login1.Manager"_s;
    QTRY_COMPARE_WITH_TIMEOUT(monitor.messages(manager, u"PrepareForSleep"_s).size(), 2, 5000);
    const QList<BusMessage> signals_ = monitor.messages(manager, u"PrepareForSleep"_s);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(signals_[i].type, u"signal"_s);
        QCOMPARE(signals_[i].path, u"/org/freedesktop/login1"_s);
        QCOMPARE(signals_[i].args.size(), 1);
        QCOMPARE(signals_[i].args[0].typeId(), QMetaType::Bool);
        QCOMPARE(signals_[i].args[0].toBool(), i == 0);
    }

    // A delay lock as a client takes it; gdbus ends at once, which releases it.
    QCOMPARE(
        runTool(u"gdbus"_s,
                {u"call"_s, u"--address"_s, logind.busAddress(), u"--dest"_s, u"org.freedesktop.login1"_s,
                 u"--object-path"_s, u"/org/freedesktop/login1"_s, u"--method"_s, manager + u".Inhibit"_s,
                 u"sleep"_s, u"harness"_s, u"a test"_s, u"delay"_s},
                QProcessEnvironment::systemEnvironment()),
        0);
    QTRY_VERIFY_WITH_TIMEOUT(logind.log().contains(u"released harness"_s), 5000);
    QVERIFY(logind.log().contains(u"inhibit sleep harness a test delay"_s));
}

void TestAlertHarness::busMonitorDecodesLauncherAndNotify() {
    PrivateBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    BusMonitor monitor(bus.address(), {kLauncherEntryRule, kNotifyRule});
    QVERIFY(monitor.start());
    const QProcessEnvironment session = with(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());

    QCOMPARE(runTool(u"gdbus"_s,
                     {u"emit"_s, u"--session"_s, u"--object-path"_s, u"/harness"_s, u"--signal"_s,
                      u"com.canonical.Unity.LauncherEntry.Update"_s,
                      u"'application://example.tarnwick.Quillo.desktop'"_s,
                      u"{'count': <int64 1>, 'count-visible': <true>, 'urgent': <false>}"_s},
                     session),
             0);
    // Nothing serves notifications here; the call fails, but the monitor sees it go out. The body
    // has a quote and a line break, which dbus-monitor prints as they are.
    runTool(u"gdbus"_s,
            {u"call"_s, u"--session"_s, u"--timeout"_s, u"2"_s, u"--dest"_s,
             u"org.freedesktop.Notifications"_s, u"--object-path"_s, u"/org/freedesktop/Notifications"_s,
             u"--method"_s, u"org.freedesktop.Notifications.Notify"_s, u"'Quillo'"_s, u"uint32 0"_s, u"''"_s,
             u"'Chat request'"_s, u"'Ann \"Smith\":\\nHi'"_s, u"['accept', 'Accept']"_s,
             u"{'urgency': <byte 2>}"_s, u"int32 0"_s},
            session);

    const QString launcher = u"com.canonical.Unity.LauncherEntry"_s;
    QTRY_COMPARE_WITH_TIMEOUT(monitor.messages(launcher, u"Update"_s).size(), 1, 5000);
    const BusMessage update = monitor.messages(launcher, u"Update"_s).first();
    QCOMPARE(update.path, u"/harness"_s);
    QCOMPARE(update.args.size(), 2);
    QCOMPARE(update.args[0].toString(), u"application://example.tarnwick.Quillo.desktop"_s);
    const QVariantMap properties = update.args[1].toMap();
    QCOMPARE(properties.value(u"count"_s).typeId(), QMetaType::LongLong);
    QCOMPARE(properties.value(u"count"_s).toLongLong(), 1);
    QCOMPARE(properties.value(u"count-visible"_s).typeId(), QMetaType::Bool);
    QCOMPARE(properties.value(u"count-visible"_s).toBool(), true);
    QCOMPARE(properties.value(u"urgent"_s).toBool(), false);

    const QString notifications = u"org.freedesktop.Notifications"_s;
    QTRY_COMPARE_WITH_TIMEOUT(monitor.messages(notifications, u"Notify"_s).size(), 1, 5000);
    const BusMessage notify = monitor.messages(notifications, u"Notify"_s).first();
    QCOMPARE(notify.type, u"method call"_s);
    QCOMPARE(notify.args.size(), 8);
    QCOMPARE(notify.args[1].typeId(), QMetaType::UInt);
    QCOMPARE(notify.args[4].toString(), u"Ann \"Smith\":\nHi"_s);
    QCOMPARE(notify.args[5].toStringList(), QStringList({u"accept"_s, u"Accept"_s}));
    QCOMPARE(notify.args[6].toMap().value(u"urgency"_s).typeId(), QMetaType::UChar);
    QCOMPARE(notify.args[6].toMap().value(u"urgency"_s).toInt(), 2);
    QCOMPARE(notify.args[7].typeId(), QMetaType::Int);
    QCOMPARE(notify.args[7].toInt(), 0);
}

void TestAlertHarness::trayHostEmbedsAnIcon() {
    if (!x11::displayAvailable())
        QSKIP("needs an X display");
    TrayHost tray;
    QVERIFY2(tray.start(), qPrintable(tray.errorString()));
    QProcess subject;
    endWithParent(subject);
    subject.start(kSubject, {u"tray"_s});
    QVERIFY(subject.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(subject.canReadLine(), 10000);
    QCOMPARE(subject.readLine().trimmed(), QByteArray("tray available"));

    const std::optional<x11::WindowId> icon = TrayHost::findIcon(subject.processId(), 10000);
    QVERIFY(icon);
    // The icon is drawn in the tray: its middle shows the subject's red.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QImage image = grabWindow(*icon);
            return !image.isNull() && image.pixel(image.width() / 2, image.height() / 2) == qRgb(255, 0, 0);
        }(),
        5000);
    subject.kill();
    subject.waitForFinished(5000);
}

void TestAlertHarness::accessibilityTreeAndEvents() {
    if (!x11::displayAvailable())
        QSKIP("needs an X display");
    const DisplayKeeper display;
    QVERIFY(display.isValid());
    PrivateBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    AccessibilityBus accessibility(bus.address());
    QVERIFY2(accessibility.start(), qPrintable(accessibility.errorString()));
    const QString app = u"alert-harness-subject"_s;
    AccessibilityEvents events(bus.address(), app, {u"object:state-changed:showing"_s});
    QVERIFY(events.start());

    QProcess subject;
    QProcessEnvironment environment = with(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
    environment.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    subject.setProcessEnvironment(environment);
    endWithParent(subject);
    subject.start(kSubject, {u"widgets"_s});
    QVERIFY(subject.waitForStarted(5000));

    // The popup shows a second after the start; by then the tree is there, and its showing is
    // an event.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const QJsonObject& event : events.events()) {
                if (event[u"source"_s][u"name"_s] == u"Popup"_s && event[u"detail1"_s].toInt() == 1)
                    return true;
            }
            return false;
        }(),
        15000);
    const std::optional<QJsonObject> tree = accessibility.tree(app);
    QVERIFY(tree);
    const QList<QJsonObject> close = findAccessible(*tree, [](const QJsonObject& node) {
        return node[u"name"_s] == u"Close"_s && node[u"role"_s] == u"push button"_s;
    });
    QCOMPARE(close.size(), 1);
    QCOMPARE(close.first()[u"description"_s].toString(), u"Ends the subject"_s);
    QVERIFY(close.first()[u"states"_s].toArray().contains(u"showing"_s));
    const QList<QJsonObject> popup =
        findAccessible(*tree, [](const QJsonObject& node) { return node[u"name"_s] == u"Popup"_s; });
    QCOMPARE(popup.size(), 1);
    subject.kill();
    subject.waitForFinished(5000);
}

QTEST_GUILESS_MAIN(TestAlertHarness)
#include "test_alert_harness.moc"
