#include "tests/support/e2e_harness.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kStartMs = 30000;
const QString kQuestionTitle = u"Quillo is in use"_s;

// Where the client keeps its lock: its data directory (organisation "Quillo", program "quillo").
QString lockDirectory(const ConfigHome& home) {
    return home.dataDir() + u"/Quillo/quillo"_s;
}

QString lockPath(const ConfigHome& home) {
    return lockDirectory(home) + u"/quillo.lock"_s;
}

// The running client's socket, named as the client names it: after a hash of the lock directory.
QString socketName(const ConfigHome& home) {
    const QByteArray hash = QCryptographicHash::hash(QDir(lockDirectory(home)).absolutePath().toUtf8(),
                                                     QCryptographicHash::Sha256);
    return u"quillo-"_s + QString::fromLatin1(hash.toHex().left(24));
}

void writeLock(const ConfigHome& home, const QByteArray& content) {
    QVERIFY(QDir().mkpath(lockDirectory(home)));
    QFile file(lockPath(home));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

QByteArray readLock(const ConfigHome& home) {
    QFile file(lockPath(home));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::function<bool(const QJsonObject&)> consoleLoaded() {
    return [](const QJsonObject& report) {
        return report.value(u"page"_s).toString() == u"console"_s &&
               report.value(u"event"_s).toString() == u"load"_s;
    };
}

} // namespace

class TestE2eInstance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void lockFromAnotherComputer_data();
    void lockFromAnotherComputer();
    void emptyLock();
    void secondStartEndsItsLaunch();
    void socketInputIsBounded();

private:
    void startAtConsole(const ConfigHome& home) const {
        home.writeSettings(u"7"_s, m_service->baseUrl().toString() + u"/console?id="_s);
    }

    std::unique_ptr<x11::WindowManager> m_windowManager;
    std::unique_ptr<DemoService> m_service;
};

void TestE2eInstance::initTestCase() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
    // Activation and focus mean something only with a window manager.
    m_windowManager = x11::startWindowManager();
    QVERIFY2(m_windowManager, "no window manager could be started (is openbox installed?)");
}

void TestE2eInstance::init() {
    m_service = std::make_unique<DemoService>();
    QVERIFY2(m_service->start(), qPrintable(m_service->errorString()));
}

void TestE2eInstance::lockFromAnotherComputer_data() {
    QTest::addColumn<bool>("startAnyway");
    QTest::newRow("Quit: the client ends with status 1, no window") << false;
    QTest::newRow("Start anyway: the lock is taken over, the main window comes") << true;
}

// A home shared between computers: the client on another one crashed, or still runs.
void TestE2eInstance::lockFromAnotherComputer() {
    QFETCH(bool, startAnyway);
    ConfigHome home;
    startAtConsole(home);
    // As Qt writes it there: process, program, host name, machine id, boot id.
    const QByteArray lock = "4242\nquillo\noperator-laptop\n0123456789abcdef0123456789abcdef\n"
                            "9f1c2d3e-4b5a-6978-8a9b-0c1d2e3f4a5b\n";
    writeLock(home, lock);

    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    const auto question = x11::findWindowByTitle(kQuestionTitle, kStartMs);
    QUILLO_VERIFY(question, quillo);
    // Nothing of the client before the answer: no main window, no page asked for.
    QVERIFY(x11::windowsByTitle(u"Quillo"_s).isEmpty());
    QCOMPARE(m_service->requests().size(), 0);
    QUILLO_VERIFY(quillo.output().contains(u"operator-laptop"_s), quillo);

    QVERIFY(x11::activate(*question));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow().value_or(0), *question, 5000);
    // The buttons' mnemonics, as a keyboard user answers.
    QVERIFY(x11::key(startAnyway ? u"alt+s"_s : u"alt+q"_s));

    if (!startAnyway) {
        QUILLO_VERIFY(quillo.waitForExit(10000), quillo);
        QCOMPARE(quillo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(quillo.exitCode(), 1);
        QVERIFY(x11::windowsByTitle(u"Quillo"_s).isEmpty());
        QCOMPARE(m_service->requests().size(), 0);
        // The other computer's lock stays as it was.
        QCOMPARE(readLock(home), lock);
        return;
    }
    QUILLO_VERIFY(x11::findWindowByTitle(u"Quillo"_s, kStartMs), quillo);
    QUILLO_VERIFY(m_service->waitForReport(consoleLoaded(), kStartMs), quillo);
    QVERIFY(x11::windowsByTitle(kQuestionTitle).isEmpty());
    // The lock is this client's now.
    QVERIFY2(readLock(home).startsWith(QByteArray::number(quillo.pid()) + '\n'), readLock(home).constData());
}

// A lock with nothing in it, as a crash while it was being written leaves: nothing holds it.
void TestE2eInstance::emptyLock() {
    ConfigHome home;
    startAtConsole(home);
    writeLock(home, QByteArray());

    QElapsedTimer started;
    started.start();
    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    // The question would block the main window; that it comes means none was asked.
    QUILLO_VERIFY(x11::findWindowByTitle(u"Quillo"_s, kStartMs), quillo);
    qInfo("main window after %lld ms", started.elapsed());
    QVERIFY(x11::windowsByTitle(kQuestionTitle).isEmpty());
    QUILLO_VERIFY(quillo.output().contains(u"empty or unreadable; taking it over"_s), quillo);
    QVERIFY(readLock(home).startsWith(QByteArray::number(quillo.pid()) + '\n'));
}

// Started from a desktop's menu with start-up notification: the second start hands its launch
// over and ends the launcher's busy cursor; the first brings its window forward for it.
void TestE2eInstance::secondStartEndsItsLaunch() {
    ConfigHome home;
    startAtConsole(home);
    QuilloProcess first(home, *m_service);
    QVERIFY(first.start());
    QUILLO_VERIFY(m_service->waitForReport(consoleLoaded(), kStartMs), first);
    const auto mainWindow = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(mainWindow);

    // Another program has the focus when the operator picks the client from the menu again.
    x11::ForeignWindow other(u"OtherProgram"_s, u"Another program"_s);
    QVERIFY(other.isValid());
    QVERIFY(x11::activate(other.id()));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow().value_or(0), other.id(), 10000);

    x11::RootMessages root;
    QVERIFY(root.isValid());
    const unsigned long clickTime = x11::serverTime();
    QVERIFY(clickTime != 0);
    const QString id =
        u"launcher/quillo/%1-0-testhost_TIME%2"_s.arg(QCoreApplication::applicationPid()).arg(clickTime);
    QuilloProcess second(home, *m_service);
    second.setEnvironmentVariable(u"DESKTOP_STARTUP_ID"_s, id);
    QVERIFY(second.start());
    QUILLO_VERIFY(second.waitForExit(20000), second);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    QTRY_VERIFY2_WITH_TIMEOUT(root.startupMessages().contains(u"remove: ID="_s + id),
                              qPrintable(root.startupMessages().join(u'\n') + second.output()), 5000);
    const auto askedWithLaunchTime = [&] {
        const QList<x11::RootMessages::Activation> activations = root.activations();
        return std::any_of(activations.begin(), activations.end(),
                           [&](const x11::RootMessages::Activation& a) {
                               return a.window == *mainWindow && a.source == 1 && a.time == clickTime;
                           });
    };
    QTRY_VERIFY_WITH_TIMEOUT(askedWithLaunchTime(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow().value_or(0), *mainWindow, 10000);
    QUILLO_VERIFY(first.isRunning(), first);
}

// The socket is open to any process of the user: a request it cannot take is dropped, and the
// client still answers the next one.
void TestE2eInstance::socketInputIsBounded() {
    ConfigHome home;
    startAtConsole(home);
    QuilloProcess quillo(home, *m_service);
    QVERIFY(quillo.start());
    QUILLO_VERIFY(m_service->waitForReport(consoleLoaded(), kStartMs), quillo);
    const auto mainWindow = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(mainWindow);
    x11::RootMessages root;
    QVERIFY(root.isValid());

    // A line that never ends: the client stops reading and closes the connection.
    QLocalSocket flood;
    flood.connectToServer(socketName(home));
    QVERIFY(flood.waitForConnected(5000));
    flood.write(QByteArray(64 * 1024, 'a'));
    QVERIFY(flood.waitForBytesWritten(5000) || flood.state() != QLocalSocket::ConnectedState);
    QVERIFY(flood.state() == QLocalSocket::UnconnectedState || flood.waitForDisconnected(5000));

    // A token with a control character is not passed on; the request itself still counts.
    QLocalSocket request;
    request.connectToServer(socketName(home));
    QVERIFY(request.waitForConnected(5000));
    request.write("activate startup-id=evil\x07id_TIME77\n");
    QVERIFY(request.waitForReadyRead(5000));
    QCOMPARE(request.readAll(), QByteArray("done\n"));
    QTest::qWait(500);
    for (const x11::RootMessages::Activation& activation : root.activations())
        QVERIFY(activation.time != 77);
    QUILLO_VERIFY(quillo.output().contains(u"ignored an over-long request"_s), quillo);
    QUILLO_VERIFY(quillo.isRunning(), quillo);
}

QTEST_GUILESS_MAIN(TestE2eInstance)
#include "test_e2e_instance.moc"
