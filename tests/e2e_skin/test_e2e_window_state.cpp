#include "tests/support/e2e_harness.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

// The main window comes back where the operator left it, maximised or not, and never off the
// screens that are present.
class TestE2eWindowState : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void firstRunCentresThenMovedAndSizedWindowComesBack();
    void maximisedWindowComesBackMaximised();
    void windowFromAMissingMonitorComesBackOnThePrimaryScreen();

private:
    // Starts the client and waits for its main window.
    x11::WindowId startClient();
    // Closes the main window as its close box would and waits for the client to end.
    void closeClient(x11::WindowId window);

    std::unique_ptr<x11::WindowManager> m_wm;
    DemoService m_service;
    ConfigHome m_home;
    std::unique_ptr<QuilloProcess> m_quillo;
};

void TestE2eWindowState::initTestCase() {
    m_wm = x11::startWindowManager();
    QVERIFY2(m_wm, "no window manager could be started");
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    QVERIFY(m_home.isValid());
    m_home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/console?id="_s);
}

void TestE2eWindowState::cleanup() {
    if (m_quillo && m_quillo->isRunning()) {
        m_quillo->kill();
        m_quillo->waitForExit(10000);
    }
    m_quillo.reset();
}

x11::WindowId TestE2eWindowState::startClient() {
    m_quillo = std::make_unique<QuilloProcess>(m_home, m_service);
    if (!m_quillo->start())
        return 0;
    return x11::findWindowByTitle(u"Quillo"_s, 30000).value_or(0);
}

void TestE2eWindowState::closeClient(x11::WindowId window) {
    QVERIFY(x11::requestClose(window));
    QUILLO_VERIFY(m_quillo->waitForExit(15000), *m_quillo);
    QCOMPARE(m_quillo->exitCode(), 0);
}

void TestE2eWindowState::firstRunCentresThenMovedAndSizedWindowComesBack() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    x11::WindowId window = startClient();
    QUILLO_VERIFY(window != 0, *m_quillo);
    const QSize firstRun(804, 778);
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(window).size(), firstRun, 10000);
    const QRect centred(screen.center() - QPoint(firstRun.width() / 2, firstRun.height() / 2), firstRun);
    QVERIFY2(
        (x11::clientGeometry(window).topLeft() - centred.topLeft()).manhattanLength() <= 2,
        qPrintable(u"at %1,%2"_s.arg(x11::clientGeometry(window).x()).arg(x11::clientGeometry(window).y())));

    // Dragged by its top bar to the upper left, then made larger by its corner.
    const QRect before = x11::clientGeometry(window);
    const QPoint grip = before.topLeft() + QPoint(400, 40);
    const QPoint delta = QPoint(60, 50) - before.topLeft();
    QVERIFY(x11::drag(grip.x(), grip.y(), grip.x() + delta.x(), grip.y() + delta.y()));
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(window).topLeft(), QPoint(60, 50), 10000);
    const QPoint corner = QPoint(60, 50) + QPoint(801, 775);
    QVERIFY(x11::drag(corner.x(), corner.y(), corner.x() + 200, corner.y() + 100));
    const QRect left(QPoint(60, 50), QSize(1004, 878));
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(window), left, 10000);
    closeClient(window);
    QVERIFY(
        !QSettings(m_home.clientSettingsPath(), QSettings::IniFormat).value(u"mainWindow/state"_s).isNull());
    // The installer's key holds only what it held.
    QVERIFY(!readFile(m_home.settingsPath()).contains("mainWindow"));

    window = startClient();
    QUILLO_VERIFY(window != 0, *m_quillo);
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(window), left, 10000);
    closeClient(window);
}

void TestE2eWindowState::maximisedWindowComesBackMaximised() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    x11::WindowId window = startClient();
    QUILLO_VERIFY(window != 0, *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(x11::clientGeometry(window).width() > 0, 10000);
    const QRect normal = x11::clientGeometry(window);
    // The maximise caption button.
    QVERIFY(x11::click(normal.x() + normal.width() - 10 - 46 + 9, normal.y() + 15));
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(window).size(), screen.size(), 10000);
    closeClient(window);

    window = startClient();
    QUILLO_VERIFY(window != 0, *m_quillo);
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(window).size(), screen.size(), 10000);
    // Restoring it gives back the size it had before it was maximised.
    QVERIFY(x11::click(screen.width() - 10 - 46 + 9, 15));
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(window), normal, 10000);
    closeClient(window);
}

void TestE2eWindowState::windowFromAMissingMonitorComesBackOnThePrimaryScreen() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        QSettings settings(m_home.clientSettingsPath(), QSettings::IniFormat);
        settings.setValue(u"mainWindow/state"_s, u"2500 300 900 700 0 HDMI-9"_s);
    }
    const x11::WindowId window = startClient();
    QUILLO_VERIFY(window != 0, *m_quillo);
    const QRect expected(screen.center() - QPoint(450, 350), QSize(900, 700));
    QTRY_VERIFY_WITH_TIMEOUT(
        (x11::clientGeometry(window).topLeft() - expected.topLeft()).manhattanLength() <= 2, 10000);
    QCOMPARE(x11::clientGeometry(window).size(), expected.size());
    closeClient(window);
}

QTEST_MAIN(TestE2eWindowState)
#include "test_e2e_window_state.moc"
