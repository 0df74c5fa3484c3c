#include "tests/support/e2e_harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

// The real client on a page that asks what a chat console asks of a browser. Its session has a
// bus of its own with a real notification daemon (dunst), and its default browser is a script
// that writes down every address it is given.
class TestE2eWeb : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    // Before any click on the page.
    void soundPlaysWithoutAClick();
    void newWindowsGoToTheDefaultBrowser();
    void clicksOpenAtMostAFewWindowsASecond();
    void windowOpenWithoutAClickOpensNothing();
    void sameWindowLinkToAnotherProgramIsRefused();
    void downloadsAskWhereAndNeverOverwrite();
    void notificationShowsOnTheDesktopAndItsClickReachesThePage();
    void permissionsAskTheOperatorOnceAndDenyUntrustedPages();
    void withoutANotificationServiceThePopupShowsIt();
    void theCardNeverCoversTheChatPopup();

private:
    // Lays the page's click target (kind "blank_link", "window_open" or "same_window_link") for
    // url, and waits until it is there.
    bool arm(const QString& kind, const QString& url);
    // The operator's clicks in the middle of the main window's page, 50 ms apart.
    bool clickPage(int times = 1);
    int reportsOf(const QString& event, const QString& url) const;
    std::optional<QJsonObject> waitForEvent(const QString& event, int ms, const QString& host = {});
    QStringList opened() const;
    int logLines(const QString& text) const;
    // What the client logged about the pages' requests, for failure messages.
    QString webLog() const;
    QString downloads() const { return m_home.root() + u"/Downloads"_s; }

    std::unique_ptr<x11::WindowManager> m_wm;
    QTemporaryDir m_tools;
    QProcess m_bus;
    QProcess m_dunst;
    DemoService m_service;
    ConfigHome m_home;
    std::unique_ptr<QuilloProcess> m_quillo;
    x11::WindowId m_main = 0;
};

namespace {

const QString kSaveTitle = u"Save download"_s;
const QString kPermissionTitle = u"Permission request"_s;

QString output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

void TestE2eWeb::initTestCase() {
    m_wm = x11::startWindowManager();
    QVERIFY2(m_wm, "no window manager could be started");
    QVERIFY(m_tools.isValid());
    QVERIFY(m_home.isValid());

    QVERIFY(installDefaultBrowser(m_tools.path()));

    // A private session bus that starts no services by itself, so the notification service is
    // exactly the daemon this test runs.
    const QString busConfig = m_tools.path() + u"/bus.conf"_s;
    QVERIFY(writeFile(busConfig,
                      "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                      "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
                      "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>"));
    endWithParent(m_bus);
    m_bus.start(u"dbus-daemon"_s, {u"--config-file="_s + busConfig, u"--nofork"_s, u"--print-address=1"_s});
    QVERIFY(m_bus.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 10000);
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());

    // Notifications stay until acted on, so the test is never racing the daemon's timeout.
    const QString dunstConfig = m_tools.path() + u"/dunstrc"_s;
    QVERIFY(writeFile(dunstConfig, "[urgency_low]\ntimeout = 0\n[urgency_normal]\ntimeout = 0\n"
                                   "[urgency_critical]\ntimeout = 0\n"));
    endWithParent(m_dunst);
    m_dunst.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_dunst.start(u"dunst"_s, {u"-config"_s, dunstConfig});
    QVERIFY(m_dunst.waitForStarted(10000));
    QTRY_COMPARE_WITH_TIMEOUT(output(u"dunstctl"_s, {u"count"_s, u"displayed"_s}), u"0"_s, 10000);

    // The operator's Downloads folder, where the save dialog starts.
    QVERIFY(QDir().mkpath(downloads()));
    QVERIFY(QDir().mkpath(m_home.configDir()));
    QVERIFY(writeFile(m_home.configDir() + u"/user-dirs.dirs"_s,
                      "XDG_DOWNLOAD_DIR=\"" + downloads().toUtf8() + "\"\n"));

    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/cases/web?id="_s);
    m_quillo = std::make_unique<QuilloProcess>(m_home, m_service);
    QUILLO_VERIFY(m_quillo->start(), *m_quillo);
    QUILLO_VERIFY(waitForEvent(u"load"_s, 60000), *m_quillo);
    const auto main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);
    m_main = *main;
}

void TestE2eWeb::cleanupTestCase() {
    if (m_quillo) {
        m_quillo->terminate();
        m_quillo->waitForExit(10000);
    }
    for (QProcess* process : {&m_dunst, &m_bus}) {
        process->kill();
        process->waitForFinished(5000);
    }
}

void TestE2eWeb::init() {
    QVERIFY(m_service.reset());
}

bool TestE2eWeb::arm(const QString& kind, const QString& url) {
    return m_service.pushAction(u"case_web"_s, u"arm"_s, {kind, url}) &&
           m_service.waitForReport(
               [&](const QJsonObject& report) {
                   return report.value(u"event"_s).toString() == u"armed" &&
                          report.value(u"url"_s).toString() == url;
               },
               20000);
}

bool TestE2eWeb::clickPage(int times) {
    if (!x11::activate(m_main) || !QTest::qWaitFor([&] { return x11::activeWindow() == m_main; }, 5000))
        return false;
    const QPoint center = x11::clientGeometry(m_main).center();
    return x11::clicks(center.x(), center.y(), times, 50);
}

int TestE2eWeb::reportsOf(const QString& event, const QString& url) const {
    int count = 0;
    for (const QJsonValue report : m_service.reports())
        count += report[u"event"_s].toString() == event && report[u"url"_s].toString() == url ? 1 : 0;
    return count;
}

std::optional<QJsonObject> TestE2eWeb::waitForEvent(const QString& event, int ms, const QString& host) {
    return m_service.waitForReport(
        [&](const QJsonObject& report) {
            return report.value(u"page"_s).toString() == u"case_web" &&
                   report.value(u"event"_s).toString() == event &&
                   (host.isEmpty() || report.value(u"host"_s).toString().startsWith(host));
        },
        ms);
}

QStringList TestE2eWeb::opened() const {
    return defaultBrowserOpened(m_tools.path());
}

QString TestE2eWeb::webLog() const {
    const QStringList lines = m_quillo->output().split(u'\n');
    return lines.filter(u"quillo.web"_s).join(u'\n');
}

int TestE2eWeb::logLines(const QString& text) const {
    return int(m_quillo->output().count(text));
}

void TestE2eWeb::newWindowsGoToTheDefaultBrowser() {
    // Each from the operator's click. Refused schemes first: once the last allowed one has reached
    // the browser, the refused ones had their chance too.
    const QList<std::pair<QString, QString>> clicks = {
        {u"window_open"_s, u"file:///etc/hostname"_s},
        {u"window_open"_s, u"javascript:void(0)"_s},
        {u"blank_link"_s, u"https://visitor.example/pasted"_s},
        {u"window_open"_s, u"http://visitor.example/opened"_s},
        {u"window_open"_s, u"mailto:ann@visitor.example"_s},
    };
    for (const auto& [kind, url] : clicks) {
        QUILLO_VERIFY(arm(kind, url), *m_quillo);
        QVERIFY(clickPage());
        QTRY_COMPARE_WITH_TIMEOUT(reportsOf(u"clicked"_s, url), 1, 10000);
    }

    const QStringList expected = {u"https://visitor.example/pasted"_s, u"http://visitor.example/opened"_s,
                                  u"mailto:ann@visitor.example"_s};
    QTRY_VERIFY2_WITH_TIMEOUT(opened().size() >= expected.size(),
                              qPrintable(opened().join(u'\n') + u'\n' + webLog()), 20000);
    QCOMPARE(opened(), expected);
    // The client itself loaded none of them.
    for (const QJsonValue request : m_service.requests())
        QVERIFY2(!request[u"host"_s].toString().startsWith(u"visitor.example"),
                 qPrintable(request[u"path"_s].toString()));
}

void TestE2eWeb::clicksOpenAtMostAFewWindowsASecond() {
    // The page's last second holds none of the windows opened before.
    QTest::qWait(1000);
    const QString url = u"http://visitor.example/clicked"_s;
    QUILLO_VERIFY(arm(u"window_open"_s, url), *m_quillo);
    const int linesBefore = logLines(u"further new windows from"_s);
    QElapsedTimer clicking;
    clicking.start();
    QVERIFY(clickPage(10));
    const qint64 clickingMs = clicking.elapsed();
    QTRY_COMPARE_WITH_TIMEOUT(reportsOf(u"clicked"_s, url), 10, 10000);
    // The refusals' count comes once the page has been quiet for a second: all were decided.
    QTRY_VERIFY2_WITH_TIMEOUT(logLines(u"further new windows from"_s) > linesBefore, qPrintable(webLog()),
                              10000);
    const qsizetype opens = opened().count(url);
    qInfo("10 clicks in %lld ms opened %lld windows", clickingMs, qlonglong(opens));
    QVERIFY2(opens >= 3 && opens <= 3 * (1 + clickingMs / 1000), qPrintable(webLog()));
    if (clickingMs < 1000)
        QCOMPARE(opens, 3);
    QVERIFY(logLines(u"refused: more than the operator could ask for"_s) >= 1);
}

void TestE2eWeb::windowOpenWithoutAClickOpensNothing() {
    QTest::qWait(1000);
    const QString flood = u"http://visitor.example/flood"_s;
    QVERIFY(m_service.pushAction(u"case_web"_s, u"window_open"_s, {flood, 300}));
    const auto acted = waitForEvent(u"acted"_s, 20000);
    QUILLO_VERIFY(acted, *m_quillo);
    // The engine refused every one at once: the page got no window.
    QCOMPARE(acted->value(u"opened"_s).toInt(), 0);

    // A click still opens a window; once it has, the flood had its chance too.
    const QString clicked = u"http://visitor.example/after-the-flood"_s;
    QUILLO_VERIFY(arm(u"window_open"_s, clicked), *m_quillo);
    QVERIFY(clickPage());
    QTRY_VERIFY2_WITH_TIMEOUT(opened().contains(clicked), qPrintable(webLog()), 10000);
    QCOMPARE(opened().count(flood), 0);
    QVERIFY2(logLines(flood) <= 1, qPrintable(webLog()));
}

void TestE2eWeb::sameWindowLinkToAnotherProgramIsRefused() {
    const QString ssh = u"ssh://operator@host.example/"_s;
    QUILLO_VERIFY(arm(u"same_window_link"_s, ssh), *m_quillo);
    QVERIFY(clickPage());
    QTRY_VERIFY2_WITH_TIMEOUT(logLines(u"navigation to "_s + ssh) == 1, qPrintable(webLog()), 10000);

    // A mail link from a click still reaches the desktop; once it has, the ssh link had its chance.
    const QString mail = u"mailto:bob@visitor.example"_s;
    QUILLO_VERIFY(arm(u"same_window_link"_s, mail), *m_quillo);
    QVERIFY(clickPage());
    QTRY_VERIFY2_WITH_TIMEOUT(opened().contains(mail), qPrintable(webLog()), 10000);
    QVERIFY2(!opened().contains(ssh), qPrintable(opened().join(u'\n')));
}

void TestE2eWeb::soundPlaysWithoutAClick() {
    // Nobody has clicked the page since it loaded.
    QVERIFY(m_service.pushAction(u"case_web"_s, u"sound"_s));
    const auto sound = waitForEvent(u"sound"_s, 20000);
    QUILLO_VERIFY(sound, *m_quillo);
    QCOMPARE(sound->value(u"result"_s).toString(), u"played"_s);
}

void TestE2eWeb::downloadsAskWhereAndNeverOverwrite() {
    const QString first = downloads() + u"/transcript.txt"_s;
    QVERIFY(m_service.pushAction(u"case_web"_s, u"download"_s, {u"transcript.txt"_s}));
    QUILLO_VERIFY(x11::findWindowByTitle(kSaveTitle, 20000), *m_quillo);
    // Enter takes the offered place: the Downloads folder, the server's name.
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(first), QByteArray("Transcript transcript.txt\n"), 20000);

    // The operator's own changes to the first file survive a second download of the same name.
    QVERIFY(writeFile(first, "operator's notes\n"));
    QVERIFY(m_service.pushAction(u"case_web"_s, u"download"_s, {u"transcript.txt"_s}));
    QUILLO_VERIFY(x11::findWindowByTitle(kSaveTitle, 20000), *m_quillo);
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(downloads() + u"/transcript (1).txt"_s),
                              QByteArray("Transcript transcript.txt\n"), 20000);
    QCOMPARE(readFile(first), QByteArray("operator's notes\n"));

    // The finished download's notice leads to its folder.
    const auto notice = x11::findWindowByTitle(u"Download"_s, 10000);
    QUILLO_VERIFY(notice, *m_quillo);
    QVERIFY(x11::activate(*notice));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), notice, 5000);
    QVERIFY(x11::key(u"Return"_s));
    QTRY_VERIFY_WITH_TIMEOUT(opened().contains(QUrl::fromLocalFile(downloads()).toString()), 10000);

    // Declined: nothing is saved.
    QVERIFY(m_service.pushAction(u"case_web"_s, u"download"_s, {u"declined.txt"_s}));
    QUILLO_VERIFY(x11::findWindowByTitle(kSaveTitle, 20000), *m_quillo);
    QVERIFY(x11::key(u"Escape"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(logLines(u"declined by the operator"_s) == 1, qPrintable(m_quillo->output()),
                              10000);
    QVERIFY(!QFile::exists(downloads() + u"/declined.txt"_s));
}

void TestE2eWeb::notificationShowsOnTheDesktopAndItsClickReachesThePage() {
    // Another window is in front, as when the operator works elsewhere.
    x11::ForeignWindow editor(u"Editor"_s, u"Operator's editor"_s);
    QVERIFY(editor.isValid());
    QVERIFY(x11::activate(editor.id()));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), std::optional<x11::WindowId>(editor.id()), 5000);

    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify"_s, {u"New chat"_s, u"Ann is waiting"_s}));
    const auto permission = waitForEvent(u"permission"_s, 20000);
    QUILLO_VERIFY(permission, *m_quillo);
    QCOMPARE(permission->value(u"result"_s).toString(), u"granted"_s);
    QUILLO_VERIFY(waitForEvent(u"notification_shown"_s, 20000), *m_quillo);
    QTRY_COMPARE_WITH_TIMEOUT(output(u"dunstctl"_s, {u"count"_s, u"displayed"_s}), u"1"_s, 10000);

    // The daemon's default action is the operator's click on it.
    output(u"dunstctl"_s, {u"action"_s, u"0"_s});
    const auto click = waitForEvent(u"notification_click"_s, 20000);
    QUILLO_VERIFY(click, *m_quillo);
    QCOMPARE(click->value(u"title"_s).toString(), u"New chat"_s);
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), std::optional<x11::WindowId>(m_main), 10000);

    output(u"dunstctl"_s, {u"close-all"_s});
    const QString history = output(u"dunstctl"_s, {u"history"_s});
    QVERIFY2(history.contains(u"New chat"_s) && history.contains(u"Ann is waiting"_s) &&
                 history.contains(u"Quillo"_s),
             qPrintable(history));
}

void TestE2eWeb::permissionsAskTheOperatorOnceAndDenyUntrustedPages() {
    QVERIFY(m_service.pushAction(u"case_web"_s, u"geolocate"_s));
    QUILLO_VERIFY(x11::findWindowByTitle(kPermissionTitle, 20000), *m_quillo);
    // Enter alone denies.
    QVERIFY(x11::key(u"Return"_s));
    auto answer = waitForEvent(u"permission"_s, 20000);
    QUILLO_VERIFY(answer, *m_quillo);
    QCOMPARE(answer->value(u"result"_s).toString(), u"denied"_s);

    // Asked once for the run: the same question gets the operator's answer without a dialog.
    QVERIFY(m_service.reset());
    QVERIFY(m_service.pushAction(u"case_web"_s, u"geolocate"_s));
    answer = waitForEvent(u"permission"_s, 20000);
    QUILLO_VERIFY(answer, *m_quillo);
    QCOMPARE(answer->value(u"result"_s).toString(), u"denied"_s);
    QCOMPARE(logLines(u"put to the operator"_s), 1);

    // A page of another site, opened in a client window, is refused everything at once.
    QVERIFY(m_service.reset());
    const QString visitor = u"http://visitor.example:%1/cases/web?nopoll&ask"_s.arg(m_service.port());
    QVERIFY(m_service.pushCommand({{u"page"_s, u"case_web"_s},
                                   {u"call"_s, u"CB_OpenWindow"_s},
                                   {u"args"_s, QJsonArray{visitor, 50, 50, 500, 400, 0}}}));
    for (const QString& feature : {u"notifications"_s, u"geolocation"_s}) {
        const auto refused = m_service.waitForReport(
            [&](const QJsonObject& r) {
                return r[u"host"_s].toString().startsWith(u"visitor.example") &&
                       r[u"event"_s].toString() == u"permission" && r[u"feature"_s].toString() == feature;
            },
            30000);
        QUILLO_VERIFY(refused, *m_quillo);
        QCOMPARE(refused->value(u"result"_s).toString(), u"denied"_s);
    }
    QCOMPARE(logLines(u"put to the operator"_s), 1);
}

void TestE2eWeb::withoutANotificationServiceThePopupShowsIt() {
    m_dunst.kill();
    QVERIFY(m_dunst.waitForFinished(5000));

    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify"_s, {u"Second chat"_s, u"Bob is waiting"_s}));
    const auto popup = x11::findWindowByTitle(u"Quillo page notification"_s, 20000);
    QUILLO_VERIFY(popup, *m_quillo);
    QUILLO_VERIFY(waitForEvent(u"notification_shown"_s, 20000), *m_quillo);
    // Risen to its full height above the bottom of the work area, then a click on the card.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*popup).top(), area.y() + area.height() - 130, 10000);
    const QRect card = x11::clientGeometry(*popup);
    QVERIFY(x11::click(card.center().x(), card.top() + 20));
    const auto click = waitForEvent(u"notification_click"_s, 20000);
    QUILLO_VERIFY(click, *m_quillo);
    QCOMPARE(click->value(u"title"_s).toString(), u"Second chat"_s);
    QVERIFY2(logLines(u"shown in the client's popup"_s) == 1, qPrintable(webLog()));
}

void TestE2eWeb::theCardNeverCoversTheChatPopup() {
    // Still without a notification service: the page's notification is the client's own card.
    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify"_s, {u"Third chat"_s, u"Cy is waiting"_s}));
    const auto card = x11::findWindowByTitle(u"Quillo page notification"_s, 20000);
    QUILLO_VERIFY(card, *m_quillo);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int base = area.y() + area.height();
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*card).top(), base - 130, 10000);

    // A chat request rises under the card and takes the whole corner it needs: the card moves up.
    QVERIFY(m_service.pushCommand({{u"page"_s, u"case_web"_s},
                                   {u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                   {u"args"_s, QJsonArray{u"Di|Hello|1 min|Sales"_s, 1}}}));
    const auto popup = x11::findWindowByTitle(u"Quillo notification"_s, 10000);
    QUILLO_VERIFY(popup, *m_quillo);
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*popup).top(), base - 130, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*card).top(), base - 260, 2000);
    QCOMPARE(x11::clientGeometry(*card).right(), x11::clientGeometry(*popup).right());

    // Once the popup has gone, the card comes back down to the bottom edge.
    const QRect chat = x11::clientGeometry(*popup);
    QVERIFY(x11::click(chat.left() + 150, chat.top() + 20));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(*popup), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*card).top(), base - 130, 2000);
}

QTEST_MAIN(TestE2eWeb)
#include "test_e2e_web.moc"
