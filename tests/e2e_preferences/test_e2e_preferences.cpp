// The Preferences window as the operator uses it: opened from the frame's window menu, changed
// with the keyboard, and agreeing with quillo-setup on what it changed; its test chat request
// shows the popup and never reaches the page. On a German desktop the client's own words and Qt's
// are German, as a screen reader reads them.

#include "tests/support/alert_fixtures.h"

#include <QJsonArray>
#include <QTest>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

const QString kPreferencesTitle = u"Quillo Preferences"_s;
const QString kPopupTitle = u"Quillo notification"_s;

// What quillo-setup --show prints for the home's settings.
QString setupShows(const ConfigHome& home) {
    QProcess setup;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, home.configDir());
    setup.setProcessEnvironment(environment);
    endWithParent(setup);
    setup.start(QStringLiteral(QUILLO_SETUP_PATH), {u"--show"_s});
    if (!setup.waitForFinished(20000) || setup.exitCode() != 0)
        return {};
    return QString::fromUtf8(setup.readAllStandardOutput());
}

int acceptedReports(const DemoService& service) {
    int accepted = 0;
    for (const QJsonValue& report : service.reports())
        accepted += report.toObject().value(u"event"_s) == u"accepted"_s ? 1 : 0;
    return accepted;
}

} // namespace

class TestE2ePreferences : public QObject {
    Q_OBJECT

private slots:
    void changesAgreeWithSetupAndTheTestRequestStaysOutOfThePage();
    void aGermanDesktopGetsGermanMenusAndButtons();
};

void TestE2ePreferences::changesAgreeWithSetupAndTheTestRequestStaysOutOfThePage() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
    const std::unique_ptr<x11::WindowManager> wm = x11::startWindowManager();
    QVERIFY2(wm, "no window manager could be started");
    DemoService service;
    QVERIFY2(service.start(), qPrintable(service.errorString()));
    ConfigHome home;
    home.writeSettings(u"12345"_s, service.baseUrl().toString() + u"/console?id="_s);
    const QString before = setupShows(home);
    QVERIFY2(before.contains(u"Sound: once"_s) && before.contains(u"Autostart: off"_s), qPrintable(before));

    QuilloProcess quillo(home, service);
    QVERIFY(quillo.start());
    QUILLO_VERIFY(
        service.waitForReport(
            [](const QJsonObject& r) { return r[u"page"_s] == u"console"_s && r[u"event"_s] == u"load"_s; },
            60000),
        quillo);
    const std::optional<x11::WindowId> main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);

    // The frame's window menu opens Preferences.
    const QRect client = x11::clientGeometry(*main);
    const QList<x11::WindowId> popups = x11::topLevelWindows();
    QVERIFY(x11::click(client.x() + 400, client.y() + 30, 3));
    QUILLO_VERIFY(x11::waitForNewPopup(popups, 5000), quillo);
    QVERIFY(x11::key(u"s"_s)); // "Preference&s…"
    const std::optional<x11::WindowId> preferences = x11::findWindowByTitle(kPreferencesTitle, 10000);
    QUILLO_VERIFY(preferences, quillo);
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), preferences, 5000);

    // Repeat and start at log-in, by their mnemonics: kept at once, as quillo-setup reads them.
    QVERIFY(x11::key(u"alt+r"_s));
    QVERIFY(x11::key(u"alt+s"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(setupShows(home).contains(u"Sound: repeat"_s), qPrintable(quillo.output()),
                              5000);
    QTRY_VERIFY2_WITH_TIMEOUT(setupShows(home).contains(u"Autostart: on"_s), qPrintable(quillo.output()),
                              5000);
    QVERIFY(x11::key(u"alt+s"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(setupShows(home).contains(u"Autostart: off"_s), qPrintable(quillo.output()),
                              5000);

    // The test request rises as a chat request does; accepted, it tells the page nothing.
    QVERIFY(x11::key(u"alt+c"_s));
    QUILLO_VERIFY(x11::findWindowByTitle(kPopupTitle, 10000), quillo);
    QVERIFY(x11::key(u"ctrl+shift+a"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(quillo.output().contains(u"test chat request accepted"_s),
                              qPrintable(quillo.output()), 5000);
    // A page's own request after it is the page's again.
    QVERIFY(service.pushCommand({{u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                 {u"args"_s, QJsonArray{u"Ann|Hi|1 min|Sales"_s, 1}}}));
    QTRY_VERIFY_WITH_TIMEOUT(x11::findWindowByTitle(kPopupTitle, 0), 10000);
    QVERIFY(x11::key(u"ctrl+shift+a"_s));
    QUILLO_VERIFY(
        service.waitForReport([](const QJsonObject& r) { return r[u"event"_s] == u"accepted"_s; }, 10000),
        quillo);
    QCOMPARE(acceptedReports(service), 1);

    quillo.terminate();
    QVERIFY(quillo.waitForExit(15000));
}

void TestE2ePreferences::aGermanDesktopGetsGermanMenusAndButtons() {
    const std::unique_ptr<x11::WindowManager> wm = x11::startWindowManager();
    QVERIFY2(wm, "no window manager could be started");
    PrivateBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    AccessibilityBus accessibility(bus.address());
    QVERIFY2(accessibility.start(), qPrintable(accessibility.errorString()));
    DemoService service;
    QVERIFY2(service.start(), qPrintable(service.errorString()));
    ConfigHome home;
    home.writeSettings(u"12345"_s, service.baseUrl().toString() + u"/console?id="_s);
    QuilloProcess quillo(home, service);
    quillo.setEnvironmentVariable(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
    quillo.setEnvironmentVariable(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
    quillo.setEnvironmentVariable(u"LANG"_s, u"de_DE.UTF-8"_s);
    quillo.setEnvironmentVariable(u"LC_ALL"_s, u"de_DE.UTF-8"_s);
    QVERIFY(quillo.start());
    QUILLO_VERIFY(
        service.waitForReport([](const QJsonObject& r) { return r[u"event"_s] == u"load"_s; }, 60000),
        quillo);
    const std::optional<x11::WindowId> main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);

    const auto named = [](const QString& name, const QString& role) {
        return [=](const QJsonObject& node) {
            return node[u"name"_s].toString() == name && node[u"role"_s].toString() == role;
        };
    };
    // The frame's caption buttons are read out in German.
    const std::optional<QJsonObject> frame = accessibility.tree(u"quillo"_s);
    QUILLO_VERIFY(frame, quillo);
    for (const QString& caption : {u"Schließen"_s, u"Maximieren"_s, u"Minimieren"_s})
        QVERIFY2(findAccessible(*frame, named(caption, u"push button"_s)).size() == 1, qPrintable(caption));

    // The window menu is German: its German mnemonic opens Preferences.
    const QRect client = x11::clientGeometry(*main);
    const QList<x11::WindowId> popups = x11::topLevelWindows();
    QVERIFY(x11::click(client.x() + 400, client.y() + 30, 3));
    QUILLO_VERIFY(x11::waitForNewPopup(popups, 5000), quillo);
    QVERIFY(x11::key(u"g"_s)); // "Einstellun&gen…"; the English menu has no "g"
    QUILLO_VERIFY(x11::findWindowByTitle(u"Quillo-Einstellungen"_s, 10000), quillo);

    // Its Close button's word is Qt's own, from Qt's translation.
    const std::optional<QJsonObject> tree = accessibility.tree(u"quillo"_s);
    QVERIFY(tree);
    const QList<QJsonObject> preferences =
        findAccessible(*tree, named(u"Quillo-Einstellungen"_s, u"dialog"_s));
    QCOMPARE(preferences.size(), 1);
    QCOMPARE(findAccessible(preferences.first(), named(u"Schließen"_s, u"push button"_s)).size(), 1);
    QCOMPARE(findAccessible(preferences.first(), named(u"Alarmton testen"_s, u"push button"_s)).size(), 1);

    quillo.terminate();
    QVERIFY(quillo.waitForExit(15000));
}

QTEST_MAIN(TestE2ePreferences)
#include "test_e2e_preferences.moc"
