#include "tests/support/e2e_harness.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

// A console behind a session cookie opens windows of its own, as the operator clicks: they open in
// the client, in the operator's session, talk to their opener and print; a visitor's link still
// goes to the operator's browser, a script that writes down every address it is given.
class TestE2eWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void windowOpenStaysInTheSessionAndTalksToItsOpener();
    void blankLinkStaysInTheSession();
    void visitorLinkStillGoesToTheDefaultBrowser();
    void guestFrameCannotFillABlankWindow_data();
    void guestFrameCannotFillABlankWindow();
    void printShowsAPreviewAndWritesThePageToPdf();

private:
    // Lays the console's click target ("window_open", "blank_link", or "guest_frame": another
    // site's frame whose click opens a blank window and sends it to url) and clicks it as the
    // operator.
    bool armAndClick(const QString& kind, const QString& url, const QString& features = {});
    std::optional<QJsonObject> waitForEvent(const QString& page, const QString& event, int ms);
    // The logged requests for path, each with the cookie it carried.
    QStringList cookiesOf(const QString& path) const;
    QStringList opened() const;
    QString downloads() const { return m_home.root() + u"/Downloads"_s; }
    QString popupUrl(const QString& query = {}) const {
        return m_service.baseUrl().toString() + u"/session/popup"_s + query;
    }

    std::unique_ptr<x11::WindowManager> m_wm;
    QTemporaryDir m_tools;
    DemoService m_service;
    ConfigHome m_home;
    std::unique_ptr<QuilloProcess> m_quillo;
    x11::WindowId m_main = 0;
};

namespace {
const QString kPopupTitle = u"Chat transcript"_s;
} // namespace

void TestE2eWindows::initTestCase() {
    m_wm = x11::startWindowManager();
    QVERIFY2(m_wm, "no window manager could be started");
    QVERIFY(m_tools.isValid());
    QVERIFY(m_home.isValid());

    QVERIFY(installDefaultBrowser(m_tools.path()));

    // The operator's Downloads folder, where a print to a file goes on a machine without printers.
    QVERIFY(QDir().mkpath(downloads()));
    QVERIFY(QDir().mkpath(m_home.configDir()));
    QVERIFY(writeFile(m_home.configDir() + u"/user-dirs.dirs"_s,
                      "XDG_DOWNLOAD_DIR=\"" + downloads().toUtf8() + "\"\n"));

    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/cases/windows?id="_s);
    m_quillo = std::make_unique<QuilloProcess>(m_home, m_service);
    QUILLO_VERIFY(m_quillo->start(), *m_quillo);
    QUILLO_VERIFY(waitForEvent(u"case_windows"_s, u"load"_s, 60000), *m_quillo);
    const auto main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);
    m_main = *main;

    // The operator logs on: the session lives in a cookie that script cannot read.
    QVERIFY(m_service.pushAction(u"case_windows"_s, u"logon"_s));
    const auto loggedOn = waitForEvent(u"case_windows"_s, u"logged_on"_s, 20000);
    QUILLO_VERIFY(loggedOn, *m_quillo);
    QCOMPARE(loggedOn->value(u"status"_s).toInt(), 200);
}

void TestE2eWindows::cleanupTestCase() {
    if (m_quillo) {
        m_quillo->terminate();
        m_quillo->waitForExit(10000);
    }
}

void TestE2eWindows::init() {
    QVERIFY(m_service.reset());
    // No window of a failed case is left to be taken for this case's.
    const auto closeAll = [] {
        const QList<x11::WindowId> left =
            x11::windowsByTitle(kPopupTitle) + x11::windowsByTitle(u"Print preview"_s);
        for (const x11::WindowId window : left)
            x11::requestClose(window);
        return left.isEmpty();
    };
    QTRY_VERIFY_WITH_TIMEOUT(closeAll(), 10000);
}

bool TestE2eWindows::armAndClick(const QString& kind, const QString& url, const QString& features) {
    if (!m_service.pushAction(u"case_windows"_s, u"arm"_s, {kind, url, features}) ||
        !m_service.waitForReport(
            [&](const QJsonObject& r) {
                return r.value(u"event"_s).toString() == u"armed" && r.value(u"url"_s).toString() == url;
            },
            20000))
        return false;
    if (!x11::activate(m_main) || !QTest::qWaitFor([&] { return x11::activeWindow() == m_main; }, 5000))
        return false;
    const QPoint center = x11::clientGeometry(m_main).center();
    return x11::click(center.x(), center.y());
}

std::optional<QJsonObject> TestE2eWindows::waitForEvent(const QString& page, const QString& event, int ms) {
    return m_service.waitForReport(
        [&](const QJsonObject& r) {
            return r.value(u"page"_s).toString() == page && r.value(u"event"_s).toString() == event;
        },
        ms);
}

QStringList TestE2eWindows::cookiesOf(const QString& path) const {
    QStringList cookies;
    for (const QJsonValue request : m_service.requests()) {
        if (request[u"path"_s].toString() == path)
            cookies.append(request[u"cookie"_s].toString());
    }
    return cookies;
}

QStringList TestE2eWindows::opened() const {
    return defaultBrowserOpened(m_tools.path());
}

void TestE2eWindows::windowOpenStaysInTheSessionAndTalksToItsOpener() {
    QVERIFY(armAndClick(u"window_open"_s, popupUrl(), u"width=500,height=400"_s));
    const auto popup = waitForEvent(u"case_popup"_s, u"popup"_s, 30000);
    QUILLO_VERIFY(popup, *m_quillo);
    // Served only because the window carried the operator's session.
    const QStringList cookies = cookiesOf(u"/session/popup"_s);
    QCOMPARE(cookies.size(), 1);
    QVERIFY2(cookies.first().contains(u"quillo_session="_s), qPrintable(cookies.first()));
    QCOMPARE(popup->value(u"opener"_s).toBool(), true);
    const auto message = waitForEvent(u"case_windows"_s, u"opener_message"_s, 10000);
    QUILLO_VERIFY(message, *m_quillo);
    QCOMPARE(message->value(u"text"_s).toString(), u"hello from the popup"_s);

    // A window of the client's, named after its page, with the page at the size it asked for.
    const auto window = x11::findWindowByTitle(kPopupTitle, 10000);
    QUILLO_VERIFY(window, *m_quillo);
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*window).size(), QSize(500, 400), 5000);
    QVERIFY(opened().isEmpty());

    // window.close() from the page closes it.
    QVERIFY(m_service.pushAction(u"case_popup"_s, u"close"_s));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(kPopupTitle).isEmpty(), 10000);
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
}

void TestE2eWindows::blankLinkStaysInTheSession() {
    QVERIFY(armAndClick(u"blank_link"_s, popupUrl()));
    const auto popup = waitForEvent(u"case_popup"_s, u"popup"_s, 30000);
    QUILLO_VERIFY(popup, *m_quillo);
    QVERIFY(cookiesOf(u"/session/popup"_s).value(0).contains(u"quillo_session="_s));
    // A link with target=_blank opens without an opener, as in a browser.
    QCOMPARE(popup->value(u"opener"_s).toBool(), false);
    const auto window = x11::findWindowByTitle(kPopupTitle, 10000);
    QUILLO_VERIFY(window, *m_quillo);
    // Sized as a browser's popup that asks for no size: the default, within the screen.
    const QSize size = x11::clientGeometry(*window).size();
    QVERIFY2(size.width() >= 800 && size.height() >= 600,
             qPrintable(u"%1x%2"_s.arg(size.width()).arg(size.height())));
    // The operator's close box closes it.
    QVERIFY(x11::requestClose(*window));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(kPopupTitle).isEmpty(), 10000);
}

void TestE2eWindows::visitorLinkStillGoesToTheDefaultBrowser() {
    const QString visitor = u"http://visitor.example/pasted"_s;
    QVERIFY(armAndClick(u"blank_link"_s, visitor));
    QTRY_VERIFY2_WITH_TIMEOUT(opened().contains(visitor), qPrintable(m_quillo->output()), 20000);
    // The client itself loaded nothing of it.
    for (const QJsonValue request : m_service.requests())
        QVERIFY2(!request[u"host"_s].toString().startsWith(u"visitor.example"),
                 qPrintable(request[u"path"_s].toString()));
}

void TestE2eWindows::guestFrameCannotFillABlankWindow_data() {
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("logged");
    const QString phishing = u"http://phish.example:%1/cases/popup?logon"_s.arg(m_service.port());
    const QString guest = u"http://guest.example:%1"_s.arg(m_service.port());
    // The operator clicked: the address goes to the operator's browser, as a link would.
    QTest::newRow("sent to another site") << phishing << u"opened by "_s + guest;
    QTest::newRow("written into by the guest") << QString() << u"from "_s + guest + u" refused"_s;
}

void TestE2eWindows::guestFrameCannotFillABlankWindow() {
    QFETCH(QString, next);
    QFETCH(QString, logged);
    QVERIFY(armAndClick(u"guest_frame"_s, next));
    if (!next.isEmpty())
        QTRY_VERIFY2_WITH_TIMEOUT(opened().contains(next), qPrintable(m_quillo->output()), 20000);
    // The log names the frame that opened the window, not the console around it.
    QTRY_VERIFY2_WITH_TIMEOUT(m_quillo->output().contains(logged), qPrintable(m_quillo->output()), 20000);
    // The window does not stay, and nothing of the other site was loaded in the session.
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(u"about:blank"_s).isEmpty(), 10000);
    QVERIFY(x11::windowsByTitle(u"Log on again"_s).isEmpty());
    for (const QJsonValue request : m_service.requests())
        QVERIFY2(!request[u"host"_s].toString().startsWith(u"phish.example"),
                 qPrintable(request[u"path"_s].toString()));
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
}

void TestE2eWindows::printShowsAPreviewAndWritesThePageToPdf() {
    QVERIFY(armAndClick(u"window_open"_s, popupUrl(), u"width=600,height=500"_s));
    QUILLO_VERIFY(waitForEvent(u"case_popup"_s, u"popup"_s, 30000), *m_quillo);
    QUILLO_VERIFY(x11::findWindowByTitle(kPopupTitle, 10000), *m_quillo);

    // A page that prints in a loop gets one question, and the rest leave one line.
    QVERIFY(m_service.pushAction(u"case_popup"_s, u"print"_s, {3}));
    const auto preview = x11::findWindowByTitle(u"Print preview"_s, 30000);
    QUILLO_VERIFY(preview, *m_quillo);
    QUILLO_VERIFY(waitForEvent(u"case_popup"_s, u"printed"_s, 10000), *m_quillo);
    QTRY_COMPARE_WITH_TIMEOUT(m_quillo->output().count(u"dropped: its print question is open"_s), 1, 5000);
    QCOMPARE(x11::windowsByTitle(u"Print preview"_s).size(), 1);

    // Print... in the preview, then Print in the print dialog: with no printer here, to a PDF file.
    QVERIFY(x11::activate(*preview));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), preview, 5000);
    QVERIFY(x11::key(u"Return"_s));
    const auto dialog = x11::findWindowByTitle(u"Print"_s, 20000);
    QUILLO_VERIFY(dialog, *m_quillo);
    QVERIFY(x11::activate(*dialog));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), dialog, 5000);
    QVERIFY(x11::key(u"Return"_s));

    const QString pdf = downloads() + u"/"_s + kPopupTitle + u".pdf"_s;
    QTRY_VERIFY2_WITH_TIMEOUT(m_quillo->output().contains(u"printed to"_s), qPrintable(m_quillo->output()),
                              30000);
    QVERIFY(QFile::exists(pdf));
    QProcess text;
    text.start(u"pdftotext"_s, {pdf, u"-"_s});
    QVERIFY(text.waitForFinished(20000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    // The page as it prints: its text as text, without what it shows on the screen only.
    QVERIFY2(printed.contains(u"Transcript of the chat with Ann"_s), qPrintable(printed));
    QVERIFY2(!printed.contains(u"on the screen only"_s), qPrintable(printed));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(u"Print preview"_s).isEmpty(), 5000);

    // Once the question is answered the page may print again.
    QVERIFY(m_service.pushAction(u"case_popup"_s, u"print"_s, {1}));
    const auto again = x11::findWindowByTitle(u"Print preview"_s, 30000);
    QUILLO_VERIFY(again, *m_quillo);
    QVERIFY(x11::requestClose(*again));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(u"Print preview"_s).isEmpty(), 5000);
    QCOMPARE(m_quillo->output().count(u"dropped: its print question is open"_s), 1);
}

QTEST_MAIN(TestE2eWindows)
#include "test_e2e_windows.moc"
