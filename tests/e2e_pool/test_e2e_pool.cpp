#include "tests/support/e2e_harness.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QUrlQuery>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

// Pages open secondary windows through CB_OpenWindow: each lands where the page asked, frame
// included, shows its page with window.external, resizes its page with itself, and ends hidden
// by CB_Close or its close box while the main window carries on.
class TestE2ePool : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void opensAtOuterRectangle_data();
    void opensAtOuterRectangle();
    void relativeAddressResolvesAgainstThePage();
    void refusedAddressesOpenNothing_data();
    void refusedAddressesOpenNothing();
    void cbCloseHidesItsOwnWindowOnly_data();
    void cbCloseHidesItsOwnWindowOnly();
    void closeBoxHidesWindow();
    void resizingResizesThePage();
    void refreshReloadsOnlyThatWindow();

private:
    struct Opened {
        x11::WindowId window = 0;
        QJsonObject load;
    };
    // Has the console call CB_OpenWindow for the store page tagged `tag`; the window once its
    // page has loaded.
    std::optional<Opened> open(const QString& tag, const QRect& outer, int sixth = 0);
    QString storeUrl(const QString& tag) const;
    std::optional<QJsonObject> waitForStoreEvent(const QString& event, const QString& tag, int ms) const;
    bool mainWindowStays() const;

    std::unique_ptr<x11::WindowManager> m_wm;
    DemoService m_service;
    ConfigHome m_home;
    std::unique_ptr<QuilloProcess> m_quillo;
    x11::WindowId m_main = 0;
};

namespace {
const QString kWindowTitle = u"Custom Browser - Window"_s;
const QString kStorePath = u"/store/free-live-chat-software.asp"_s;

QString tagOf(const QJsonObject& report) {
    return QUrlQuery(QUrl(report.value(u"href"_s).toString())).queryItemValue(u"w"_s);
}

bool isStoreEvent(const QJsonObject& report, const QString& event, const QString& tag) {
    return report.value(u"page"_s).toString() == u"store" && report.value(u"event"_s).toString() == event &&
           tagOf(report) == tag;
}

int countRequests(const QJsonArray& requests, const QString& path, const QString& query = {}) {
    return int(std::count_if(requests.begin(), requests.end(), [&](const QJsonValue& value) {
        const QJsonObject request = value.toObject();
        return request.value(u"method"_s).toString() == u"GET" &&
               request.value(u"path"_s).toString() == path &&
               (query.isNull() || request.value(u"query"_s).toString() == query);
    }));
}
} // namespace

void TestE2ePool::initTestCase() {
    m_wm = x11::startWindowManager();
    QVERIFY2(m_wm, "no window manager could be started");
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    QVERIFY(m_home.isValid());
    m_home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/console?id="_s);

    m_quillo = std::make_unique<QuilloProcess>(m_home, m_service);
    QVERIFY(m_quillo->start());
    const auto loaded = m_service.waitForReport(
        [](const QJsonObject& r) {
            return r.value(u"event"_s).toString() == u"load" && r.value(u"page"_s).toString() == u"console";
        },
        60000);
    QVERIFY2(loaded, qPrintable(m_quillo->output()));
    const auto main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);
    m_main = *main;
}

void TestE2ePool::cleanupTestCase() {
    if (m_quillo) {
        m_quillo->terminate();
        m_quillo->waitForExit(10000);
    }
}

void TestE2ePool::init() {
    QVERIFY2(m_quillo->isRunning(), qPrintable(m_quillo->output()));
    // Every test starts with no secondary window showing and the console in front.
    QVERIFY(!x11::findWindowByTitle(kWindowTitle, 0));
    QVERIFY(x11::activate(m_main));
}

QString TestE2ePool::storeUrl(const QString& tag) const {
    return m_service.baseUrl().toString() + kStorePath + u"?w="_s + tag;
}

std::optional<QJsonObject> TestE2ePool::waitForStoreEvent(const QString& event, const QString& tag,
                                                          int ms) const {
    return m_service.waitForReport([&](const QJsonObject& r) { return isStoreEvent(r, event, tag); }, ms);
}

std::optional<TestE2ePool::Opened> TestE2ePool::open(const QString& tag, const QRect& outer, int sixth) {
    const QJsonObject command{
        {u"page"_s, u"console"_s},
        {u"call"_s, u"CB_OpenWindow"_s},
        {u"args"_s, QJsonArray{storeUrl(tag), outer.x(), outer.y(), outer.width(), outer.height(), sixth}}};
    if (!m_service.pushCommand(command))
        return std::nullopt;
    const auto load = waitForStoreEvent(u"load"_s, tag, 20000);
    if (!load)
        return std::nullopt;
    const auto window = x11::findWindowByTitle(kWindowTitle, 5000);
    if (!window)
        return std::nullopt;
    return Opened{*window, *load};
}

bool TestE2ePool::mainWindowStays() const {
    return m_quillo->isRunning() && x11::isViewable(m_main);
}

void TestE2ePool::opensAtOuterRectangle_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QRect>("outer");
    QTest::addColumn<int>("sixth");

    QTest::newRow("rectangle, sixth 0") << u"r0"_s << QRect(200, 150, 640, 480) << 0;
    QTest::newRow("same rectangle, sixth 1: same window") << u"r1"_s << QRect(200, 150, 640, 480) << 1;
    QTest::newRow("other rectangle, sixth -77") << u"r2"_s << QRect(900, 300, 500, 420) << -77;
    QTest::newRow("at the screen's corner, sixth 2147483647")
        << u"r3"_s << QRect(0, 0, 300, 250) << 2147483647;
}

void TestE2ePool::opensAtOuterRectangle() {
    QFETCH(QString, tag);
    QFETCH(QRect, outer);
    QFETCH(int, sixth);

    const auto opened = open(tag, outer, sixth);
    QVERIFY2(opened, qPrintable(m_quillo->output()));
    // The frame's size is known only once the window manager has framed the window.
    QTRY_COMPARE_WITH_TIMEOUT(x11::frameGeometry(opened->window), outer, 5000);
    QVERIFY(!x11::isUndecorated(opened->window));
    QCOMPARE(opened->load.value(u"external"_s).toString(), u"yes"_s);

    // The page fills the window: its width is the window's own width.
    const QRect client = x11::clientGeometry(opened->window);
    const auto sized = m_service.waitForReport(
        [&](const QJsonObject& r) {
            return r.value(u"page"_s).toString() == u"store" && tagOf(r) == tag &&
                   r.value(u"width"_s).toInt() == client.width();
        },
        5000);
    QVERIFY2(sized, qPrintable(QString::number(client.width())));

    QVERIFY(x11::activate(opened->window));
    QVERIFY(x11::key(u"alt+F4"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(opened->window), 5000);
}

void TestE2ePool::relativeAddressResolvesAgainstThePage() {
    // The console lives at /console; a relative address is taken from there.
    const QJsonObject command{
        {u"page"_s, u"console"_s},
        {u"call"_s, u"CB_OpenWindow"_s},
        {u"args"_s, QJsonArray{u"store/free-live-chat-software.asp?w=relative"_s, 150, 150, 500, 400, 0}}};
    QVERIFY(m_service.pushCommand(command));
    const auto load = waitForStoreEvent(u"load"_s, u"relative"_s, 20000);
    QVERIFY2(load, qPrintable(m_quillo->output()));
    QCOMPARE(QUrl(load->value(u"href"_s).toString()), QUrl(storeUrl(u"relative"_s)));
    const auto window = x11::findWindowByTitle(kWindowTitle, 5000);
    QVERIFY(window);
    QVERIFY(x11::activate(*window));
    QVERIFY(x11::key(u"alt+F4"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(*window), 5000);
}

void TestE2ePool::refusedAddressesOpenNothing_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("file") << u"file:///etc/hostname"_s;
    QTest::newRow("javascript") << u"javascript:void(0)"_s;
    QTest::newRow("data") << u"data:text/html,<title>x</title>"_s;
    QTest::newRow("about") << u"about:blank"_s;
    QTest::newRow("ftp") << u"ftp://127.0.0.1/x"_s;
}

void TestE2ePool::refusedAddressesOpenNothing() {
    QFETCH(QString, address);
    const QJsonObject command{{u"page"_s, u"console"_s},
                              {u"call"_s, u"CB_OpenWindow"_s},
                              {u"args"_s, QJsonArray{address, 100, 100, 400, 300, 0}}};
    QVERIFY(m_service.pushCommand(command));
    // The call returns to the page whatever the client decided; then no window may appear.
    const auto called = m_service.waitForReport(
        [&](const QJsonObject& r) {
            return r.value(u"event"_s).toString() == u"called" &&
                   r.value(u"call"_s).toString() == u"CB_OpenWindow";
        },
        10000);
    QVERIFY(called);
    QVERIFY(!x11::findWindowByTitle(kWindowTitle, 1500));
    QVERIFY(mainWindowStays());
}

void TestE2ePool::cbCloseHidesItsOwnWindowOnly_data() {
    QTest::addColumn<bool>("consoleInFront");
    QTest::newRow("its window active") << false;
    // A page's timer fires while the operator works in the console.
    QTest::newRow("the console active") << true;
}

void TestE2ePool::cbCloseHidesItsOwnWindowOnly() {
    QFETCH(bool, consoleInFront);
    const auto opened = open(u"cbclose"_s, QRect(300, 200, 600, 450));
    QVERIFY2(opened, qPrintable(m_quillo->output()));
    const x11::WindowId front = consoleInFront ? m_main : opened->window;
    QVERIFY(x11::activate(front));
    QTRY_COMPARE_WITH_TIMEOUT(x11::activeWindow(), std::optional<x11::WindowId>(front), 5000);

    const QJsonObject command{{u"page"_s, u"store"_s}, {u"call"_s, u"CB_Close"_s}, {u"args"_s, QJsonArray{}}};
    QVERIFY(m_service.pushCommand(command));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(opened->window), 10000);
    QVERIFY(mainWindowStays());
    // Ended for good: nothing shows it again.
    QVERIFY(!x11::findWindowByTitle(kWindowTitle, 1000));
    QVERIFY2(mainWindowStays(), qPrintable(m_quillo->output()));
}

void TestE2ePool::closeBoxHidesWindow() {
    const auto opened = open(u"closebox"_s, QRect(250, 250, 600, 450));
    QVERIFY2(opened, qPrintable(m_quillo->output()));
    QVERIFY(x11::activate(opened->window));
    // The window manager's close request, as its close box sends it.
    QVERIFY(x11::key(u"alt+F4"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(opened->window), 5000);
    QVERIFY(mainWindowStays());
}

void TestE2ePool::resizingResizesThePage() {
    const auto opened = open(u"resize"_s, QRect(100, 100, 500, 400));
    QVERIFY2(opened, qPrintable(m_quillo->output()));
    QTRY_COMPARE_WITH_TIMEOUT(x11::frameGeometry(opened->window), QRect(100, 100, 500, 400), 5000);

    QVERIFY(x11::resizeWindow(opened->window, 900, 640));
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(opened->window).size(), QSize(900, 640), 5000);
    const auto resized = m_service.waitForReport(
        [](const QJsonObject& r) {
            return isStoreEvent(r, u"resize"_s, u"resize"_s) && r.value(u"width"_s).toInt() == 900 &&
                   r.value(u"height"_s).toInt() == 640;
        },
        10000);
    QVERIFY2(resized, QJsonDocument(m_service.reports()).toJson().constData());

    QVERIFY(x11::activate(opened->window));
    QVERIFY(x11::key(u"alt+F4"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(opened->window), 5000);
}

void TestE2ePool::refreshReloadsOnlyThatWindow() {
    const auto opened = open(u"refresh"_s, QRect(400, 150, 700, 500));
    QVERIFY2(opened, qPrintable(m_quillo->output()));
    QVERIFY(x11::activate(opened->window));
    const QJsonArray before = m_service.requests();
    const int storeBefore = countRequests(before, kStorePath, u"w=refresh"_s);
    const int consoleBefore = countRequests(before, u"/console"_s);
    QCOMPARE(storeBefore, 1);

    const QRect client = x11::clientGeometry(opened->window);
    QVERIFY(x11::click(client.center().x(), client.center().y(), 3));
    // The client's own menu, whose first item is Refresh.
    QVERIFY(x11::findPopupWindow(u"quillo"_s, 5000));
    QVERIFY(x11::key(u"Down"_s));
    QVERIFY(x11::key(u"Return"_s));

    QTRY_COMPARE_WITH_TIMEOUT(countRequests(m_service.requests(), kStorePath, u"w=refresh"_s), 2, 10000);
    QCOMPARE(countRequests(m_service.requests(), u"/console"_s), consoleBefore);

    QVERIFY(x11::activate(opened->window));
    QVERIFY(x11::key(u"alt+F4"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(opened->window), 5000);
}

QTEST_MAIN(TestE2ePool)
#include "test_e2e_pool.moc"
