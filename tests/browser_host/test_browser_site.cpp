#include "browser_host/custom_control_site.h"
#include "browser_host/custom_occ_manager.h"
#include "browser_host/element_walk.h"
#include "browser_host/page_scripts.h"
#include "browser_host/web_browser2.h"
#include "page_contract/external_dispatch.h"

#include <QEventLoop>
#include <QFile>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>

using namespace quillo;

namespace {

struct Call {
    QString name;
    QString text;
    QList<int> numbers;
};

class RecordingTarget final : public ExternalTarget {
public:
    bool IsOurCustomBrowser() override {
        calls.append({QStringLiteral("IsOurCustomBrowser"), {}, {}});
        return true;
    }
    void CloseActiveWindow(const quillo::CallerWindow*) override {
        calls.append({QStringLiteral("CloseActiveWindow"), {}, {}});
    }
    void CustomFunction() override {
        calls.append({QStringLiteral("CustomFunction"), {}, {}});
        // Like the message box: a loop of its own, in which more calls can come in.
        if (nestedLoopMs > 0) {
            QEventLoop loop;
            QTimer::singleShot(nestedLoopMs, &loop, &QEventLoop::quit);
            loop.exec();
            calls.append({QStringLiteral("CustomFunctionDone"), {}, {}});
        }
    }
    void CustomFunctionWithParams(std::string text, std::int32_t action) override {
        calls.append({QStringLiteral("CustomFunctionWithParams"), QString::fromStdString(text), {action}});
    }
    void OpenWindow(std::string url, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t sixth) override {
        calls.append(
            {QStringLiteral("OpenWindow"), QString::fromStdString(url), {x, y, width, height, sixth}});
    }

    QList<Call> calls;
    int nestedLoopMs = 0;
};

QStringList describe(const QList<Call>& calls) {
    QStringList lines;
    for (const Call& call : calls) {
        QStringList numbers;
        for (int number : call.numbers)
            numbers << QString::number(number);
        lines << call.name + QLatin1Char('(') + call.text.left(40) + QLatin1Char('|') +
                     numbers.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return lines;
}

} // namespace

class TestBrowserSite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void callsMadeWhileParsingArriveInOrder();
    void eachMethodReachesTheClient();
    void callsDuringAModalCallWaitTheirTurn();
    void badInput_data();
    void badInput();
    void untrustedOriginHasNoExternal();
    void untrustedPageCannotUseTheTransport();
    void framesOfOtherOriginsHaveNoExternal();
    void forgedRelayFromOtherOriginIsIgnored();
    void scanWritesVersionAndCollectsOrderTexts();
    void frameFinishingLaterCompletesTheDocumentAgain();
    void acceptClicksEveryAcceptElementInOrder();
    void contextMenuOffersRefreshAndBack();
    void contextMenuCommandsActOnTheirBrowser();

private:
    QString url(const QString& page) const;
    QString otherOriginUrl(const QString& page) const;
    void load(const QString& address);
    QVariant evaluate(const QString& script, quint32 world = QWebEngineScript::MainWorld);
    // Sends a marker call through window.external and waits until it arrives, so every call the
    // page made before it has been handled.
    void sync();

    QHttpServer m_server;
    quint16 m_port = 0;
    std::unique_ptr<QWebEngineProfile> m_profile;
    RecordingTarget m_target;
    std::unique_ptr<CExternalDispatch> m_dispatch;
    std::unique_ptr<CCustomOccManager> m_manager;
    std::unique_ptr<QWidget> m_window;
    CCustomControlSite* m_site = nullptr;
    // What the fake services saw: the pages and recoveries they gave, the commands routed.
    QList<QWebEngineView*> m_pagesMadeFor;
    QList<QWebEngineView*> m_recoveriesFor;
    BrowserCommandRouter m_router;
};

void TestBrowserSite::initTestCase() {
    m_server.route(QStringLiteral("/<arg>"), [this](const QString& name) {
        QFile file(QStringLiteral(QT_TESTCASE_SOURCEDIR "/pages/") + name);
        if (!file.open(QIODevice::ReadOnly))
            return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
        QByteArray page = file.readAll();
        page.replace("OTHER", otherOriginUrl(QString()).chopped(1).toUtf8());
        return QHttpServerResponse(QByteArrayLiteral("text/html"), page);
    });
    m_port = m_server.listen(QHostAddress::Any);
    QVERIFY(m_port != 0);
    m_profile = std::make_unique<QWebEngineProfile>();
    m_dispatch = std::make_unique<CExternalDispatch>([this]() -> ExternalTarget* { return &m_target; });
}

void TestBrowserSite::init() {
    m_target.calls.clear();
    m_pagesMadeFor.clear();
    m_recoveriesFor.clear();
    m_router = {};
    OriginTrust trust;
    trust.trustOrigin({"http", "127.0.0.1", m_port});
    // A site from a value of fakes: no page services, plain pages, recovery only counted.
    m_manager = std::make_unique<CCustomOccManager>(BrowserServices{
        .profile = *m_profile,
        .external = *m_dispatch,
        .trust = trust,
        .scripts = buildExternalScripts(trust, QStringLiteral("token")),
        .commandRouter = [this](CWebBrowser2& browser,
                                BrowserCommand command) { return m_router && m_router(browser, command); },
        .makePage =
            [this](QWebEngineView& browser) {
                m_pagesMadeFor << &browser;
                return new QWebEnginePage(m_profile.get(), &browser);
            },
        .attachRecovery = [this](QWebEngineView& browser) { m_recoveriesFor << &browser; },
    });
    m_window = std::make_unique<QWidget>();
    m_window->resize(640, 480);
    m_site = m_manager->CreateSite(m_window.get());
    m_site->browser()->resize(640, 480);
    m_window->show();
    // The browser shows the page the services made, in their profile, and got its recovery there.
    QCOMPARE(m_pagesMadeFor, QList<QWebEngineView*>{m_site->browser()});
    QCOMPARE(m_site->browser()->page()->profile(), m_profile.get());
    QCOMPARE(m_recoveriesFor, QList<QWebEngineView*>{m_site->browser()});
}

void TestBrowserSite::cleanup() {
    m_window.reset();
    m_manager.reset();
}

QString TestBrowserSite::url(const QString& page) const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port) + page;
}

QString TestBrowserSite::otherOriginUrl(const QString& page) const {
    return QStringLiteral("http://localhost:%1/").arg(m_port) + page;
}

void TestBrowserSite::load(const QString& address) {
    QSignalSpy complete(m_site->browser(), &CWebBrowser2::DocumentComplete);
    m_site->browser()->Navigate2(address);
    QVERIFY(complete.wait(20000));
}

QVariant TestBrowserSite::evaluate(const QString& script, quint32 world) {
    QVariant result;
    bool done = false;
    m_site->browser()->page()->runJavaScript(script, world, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("script did not answer: %s", qPrintable(script));
    return result;
}

void TestBrowserSite::sync() {
    const qsizetype before = m_target.calls.size();
    evaluate(QStringLiteral("window.external.CB_CustomFunctionWithParams('sync', 99)"));
    QTRY_VERIFY_WITH_TIMEOUT(
        m_target.calls.size() > before && m_target.calls.last().text == QStringLiteral("sync"), 10000);
    m_target.calls.removeLast();
}

void TestBrowserSite::callsMadeWhileParsingArriveInOrder() {
    load(url(QStringLiteral("calls.html")));
    QTRY_COMPARE_WITH_TIMEOUT(m_target.calls.size(), 3, 10000);
    QCOMPARE(describe(m_target.calls), (QStringList{QStringLiteral("IsOurCustomBrowser(|)"),
                                                    QStringLiteral("CustomFunctionWithParams(early|1|3)"),
                                                    QStringLiteral("CustomFunctionWithParams(early|2|2)")}));
    // The answer came back at once, without waiting for the client.
    QCOMPARE(evaluate(QStringLiteral("window.early")), QVariant(true));
}

void TestBrowserSite::eachMethodReachesTheClient() {
    load(url(QStringLiteral("calls.html")));
    QTRY_COMPARE_WITH_TIMEOUT(m_target.calls.size(), 3, 10000);
    m_target.calls.clear();
    evaluate(QStringLiteral("var e = window.external; e.CB_Close(); e.CB_CustomFunction();"
                            "e.CB_OpenWindow('visitor.html?a=1', 10, 20, 300, 200, 7);"
                            "e.CB_CustomFunctionWithParams('Ann|Hi|2 min|Sales', 1);"
                            "typeof e.CB_OpenWindow"));
    sync();
    QCOMPARE(describe(m_target.calls),
             (QStringList{QStringLiteral("CloseActiveWindow(|)"), QStringLiteral("CustomFunction(|)"),
                          QStringLiteral("OpenWindow(") + url(QStringLiteral("visitor.html?a=1")).left(40) +
                              QStringLiteral("|10,20,300,200,7)"),
                          QStringLiteral("CustomFunctionWithParams(Ann|Hi|2 min|Sales|1)")}));
    QCOMPARE(m_target.calls[2].text, url(QStringLiteral("visitor.html?a=1")));
}

void TestBrowserSite::callsDuringAModalCallWaitTheirTurn() {
    load(url(QStringLiteral("calls.html")));
    QTRY_COMPARE_WITH_TIMEOUT(m_target.calls.size(), 3, 10000);
    m_target.calls.clear();
    m_target.nestedLoopMs = 800;
    evaluate(QStringLiteral("window.external.CB_CustomFunction(); setTimeout(function () {"
                            "  window.external.CB_CustomFunctionWithParams('after', 1); }, 100); true"));
    QTRY_COMPARE_WITH_TIMEOUT(m_target.calls.size(), 3, 10000);
    m_target.nestedLoopMs = 0;
    QCOMPARE(describe(m_target.calls),
             (QStringList{QStringLiteral("CustomFunction(|)"), QStringLiteral("CustomFunctionDone(|)"),
                          QStringLiteral("CustomFunctionWithParams(after|1)")}));
}

void TestBrowserSite::badInput_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expected");

    const auto calls = [](std::initializer_list<const char*> lines) {
        QStringList list;
        for (const char* line : lines)
            list << QString::fromUtf8(line);
        return list;
    };
    QTest::newRow("action missing: nothing")
        << QStringLiteral("e.CB_CustomFunctionWithParams('x')") << QStringList{};
    QTest::newRow("no arguments at all: nothing") << QStringLiteral("e.CB_OpenWindow()") << QStringList{};
    QTest::newRow("action NaN: nothing")
        << QStringLiteral("e.CB_CustomFunctionWithParams('x', NaN)") << QStringList{};
    QTest::newRow("action Infinity: nothing")
        << QStringLiteral("e.CB_CustomFunctionWithParams('x', 1/0)") << QStringList{};
    QTest::newRow("action as text: nothing")
        << QStringLiteral("e.CB_CustomFunctionWithParams('x', '3')") << QStringList{};
    QTest::newRow("null text: empty") << QStringLiteral("e.CB_CustomFunctionWithParams(null, 2)")
                                      << calls({"CustomFunctionWithParams(|2)"});
    QTest::newRow("undefined text: empty") << QStringLiteral("e.CB_CustomFunctionWithParams(undefined, 2)")
                                           << calls({"CustomFunctionWithParams(|2)"});
    QTest::newRow("object as text: empty") << QStringLiteral("e.CB_CustomFunctionWithParams({a: 1}, 2)")
                                           << calls({"CustomFunctionWithParams(|2)"});
    QTest::newRow("big integer as text: empty, nothing thrown")
        << QStringLiteral("e.CB_CustomFunctionWithParams(10n, 2)") << calls({"CustomFunctionWithParams(|2)"});
    QTest::newRow("extra arguments ignored")
        << QStringLiteral("e.CB_CustomFunctionWithParams('x', 2, 'y', 3)")
        << calls({"CustomFunctionWithParams(x|2)"});
    QTest::newRow("fraction cut toward zero") << QStringLiteral("e.CB_CustomFunctionWithParams('x', -2.7)")
                                              << calls({"CustomFunctionWithParams(x|-2)"});
    QTest::newRow("open with a position that is NaN: nothing")
        << QStringLiteral("e.CB_OpenWindow('v.html', NaN, 0, 100, 100, 0)") << QStringList{};
    QTest::newRow("open with five arguments: nothing")
        << QStringLiteral("e.CB_OpenWindow('v.html', 0, 0, 100, 100)") << QStringList{};
    QTest::newRow("open with empty url: stays empty")
        << QStringLiteral("e.CB_OpenWindow('', 1, 2, 3, 4, 5)") << calls({"OpenWindow(|1,2,3,4,5)"});
    // A page can hand the bridge a call without its window.external; the leading arguments count.
    const auto raw = [](const char* call) {
        return QStringLiteral("window.dispatchEvent(new CustomEvent('%1', {detail: JSON.stringify(%2)}))")
            .arg(QString::fromLatin1(quillo::kExternalCallEvent), QString::fromUtf8(call));
    };
    QTest::newRow("nine arguments handed over directly: the leading two read")
        << raw("['CB_CustomFunctionWithParams', ['x', 2, 'a', 3, 4, 5, 6, 7, 8]]")
        << calls({"CustomFunctionWithParams(x|2)"});
    QTest::newRow("nine arguments handed over directly: the leading six read")
        << raw("['CB_OpenWindow', ['', 1, 2, 3, 4, 5, 6, 7, 8]]") << calls({"OpenWindow(|1,2,3,4,5)"});
    QTest::newRow("unknown name, letter case: no such method")
        << QStringLiteral("try { e.cb_close(); } catch (error) {}") << QStringList{};
}

void TestBrowserSite::badInput() {
    QFETCH(QString, script);
    QFETCH(QStringList, expected);
    load(url(QStringLiteral("calls.html")));
    QTRY_COMPARE_WITH_TIMEOUT(m_target.calls.size(), 3, 10000);
    m_target.calls.clear();
    evaluate(QStringLiteral("var e = window.external; ") + script);
    sync();
    QCOMPARE(describe(m_target.calls), expected);
}

void TestBrowserSite::untrustedOriginHasNoExternal() {
    load(otherOriginUrl(QStringLiteral("calls.html")));
    QCOMPARE(evaluate(QStringLiteral("typeof window.external.CB_IsOurCustomBrowser")),
             QVariant(QStringLiteral("undefined")));
    QCOMPARE(evaluate(QStringLiteral("typeof qt")), QVariant(QStringLiteral("undefined")));
    // The trusted page of the same browser still works afterwards.
    load(url(QStringLiteral("calls.html")));
    QTRY_COMPARE_WITH_TIMEOUT(m_target.calls.size(), 3, 10000);
}

void TestBrowserSite::untrustedPageCannotUseTheTransport() {
    // Even a script in the client's own world of an untrusted page, talking to the channel
    // directly and naming a trusted caller, reaches nothing: the client checks the page's origin
    // on every call too.
    load(otherOriginUrl(QStringLiteral("calls.html")));
    evaluate(QStringLiteral("window.answered = false;"
                            "new QWebChannel(qt.webChannelTransport, function (channel) {"
                            "  channel.objects.quilloExternal.calls([['CB_Close', [], '%1']], function () {"
                            "    window.answered = true; });"
                            "}); true")
                 .arg(QStringLiteral("http://127.0.0.1:%1").arg(m_port)),
             QWebEngineScript::ApplicationWorld);
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(QStringLiteral("window.answered"), QWebEngineScript::ApplicationWorld),
                              QVariant(true), 10000);
    QVERIFY(m_target.calls.isEmpty());
}

void TestBrowserSite::framesOfOtherOriginsHaveNoExternal() {

    evaluate(QStringLiteral("true")); // a page must exist before the listener can be added
    load(url(QStringLiteral("frames.html")));
    // The client's own relay of frame calls passes here too; only the frames' reports count.
    evaluate(QStringLiteral(
        "window.seen = []; window.addEventListener('message', function (event) {"
        "  if ('has' in event.data) window.seen.push(event.data.origin + ' ' + event.data.has);"
        "}); true"));
    // Frames may have reported before the listener was there; reload them now it is.
    evaluate(QStringLiteral("document.getElementById('same').src += '?again';"
                            "document.getElementById('other').src += '?again'; true"));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(QStringLiteral("window.seen.length")).toInt(), 2, 10000);
    QStringList seen = evaluate(QStringLiteral("window.seen")).toStringList();
    seen.sort();
    QCOMPARE(seen, (QStringList{QStringLiteral("http://127.0.0.1:%1 true").arg(m_port),
                                QStringLiteral("http://localhost:%1 false").arg(m_port)}));
    // A frame's channel comes up on its own, so its calls are waited for, not synchronised.
    QTRY_VERIFY_WITH_TIMEOUT(m_target.calls.size() >= 2, 10000);
    sync();
    QStringList calls = describe(m_target.calls);
    calls.removeDuplicates(); // the same-origin frame called once per load
    QCOMPARE(calls, QStringList{
                        QStringLiteral("CustomFunctionWithParams(frame http://127.0.0.1:%1|3)").arg(m_port)});
}

void TestBrowserSite::forgedRelayFromOtherOriginIsIgnored() {
    load(url(QStringLiteral("forged.html")));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(QStringLiteral("window.seen")).toStringList(),
                              QStringList{QStringLiteral("sent")}, 10000);
    // The forged message was posted before the marker; a call of the page after both is the last.
    sync();
    QCOMPARE(describe(m_target.calls), QStringList{});
}

void TestBrowserSite::scanWritesVersionAndCollectsOrderTexts() {
    load(url(QStringLiteral("walk.html")));
    QStringList texts;
    bool done = false;
    runElementWalk(*m_site->browser()->page(), ElementWalk::Scan, [&](const QStringList& orderTexts) {
        texts = orderTexts;
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    // Document order, empty ones included, markup kept, the lower-case id left out.
    QCOMPARE(texts, (QStringList{QStringLiteral("111"), QString(), QStringLiteral("<b>42</b> &amp; x")}));
    QCOMPARE(evaluate(QStringLiteral("Array.from(document.querySelectorAll('span')).map(s => s.innerText)"))
                 .toStringList(),
             (QStringList{QStringLiteral("1.0.1"), QStringLiteral("1.0.1")}));
    QCOMPARE(evaluate(QStringLiteral("clicked.length")).toInt(), 0);
}

void TestBrowserSite::frameFinishingLaterCompletesTheDocumentAgain() {
    // A frame's script may write the order number into the top document once the frame is loaded.
    load(url(QStringLiteral("walk.html")));
    QSignalSpy complete(m_site->browser(), &CWebBrowser2::DocumentComplete);
    evaluate(QStringLiteral("var f = document.createElement('iframe'); f.src = '/frame.html';"
                            "document.body.appendChild(f); true"));
    QVERIFY(complete.wait(10000));
}

void TestBrowserSite::acceptClicksEveryAcceptElementInOrder() {
    load(url(QStringLiteral("walk.html")));
    runElementWalk(*m_site->browser()->page(), ElementWalk::Accept);
    QTRY_COMPARE_WITH_TIMEOUT(
        evaluate(QStringLiteral("clicked")).toStringList(),
        (QStringList{QStringLiteral("first:Accept()"), QStringLiteral("second:Accept()")}), 10000);
    // The accept walk leaves the version alone.
    QCOMPARE(evaluate(QStringLiteral("document.querySelector('span').innerText")),
             QVariant(QStringLiteral("?")));
}

void TestBrowserSite::contextMenuOffersRefreshAndBack() {
    load(url(QStringLiteral("frame.html")));
    m_site->ShowContextMenu(m_site->browser()->mapToGlobal(QPoint(20, 30)));
    QMenu* menu = m_site->contextMenu();
    QVERIFY(menu != nullptr);
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    QCOMPARE(texts, (QStringList{QStringLiteral("Refresh"), QStringLiteral("Back")}));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), m_site->browser()->mapToGlobal(QPoint(20, 30)));

    // Back with no earlier page: nothing happens.
    QSignalSpy loads(m_site->browser(), &QWebEngineView::loadStarted);
    menu->actions().at(1)->trigger();
    QTest::qWait(300);
    QCOMPARE(loads.count(), 0);
    QCOMPARE(m_site->browser()->url().toString(), url(QStringLiteral("frame.html")));
}

void TestBrowserSite::contextMenuCommandsActOnTheirBrowser() {
    QList<BrowserCommand> routed;
    CWebBrowser2* routedBrowser = nullptr;
    m_router = [&](CWebBrowser2& browser, BrowserCommand command) {
        routedBrowser = &browser;
        routed << command;
        return command == BrowserCommand::Back; // the router takes Back only
    };
    load(url(QStringLiteral("calls.html")));
    load(url(QStringLiteral("frame.html")));

    m_site->ShowContextMenu(m_site->browser()->mapToGlobal(QPoint(5, 5)));
    m_site->contextMenu()->actions().at(1)->trigger();
    QCOMPARE(routedBrowser, m_site->browser());
    QTest::qWait(300);
    QCOMPARE(m_site->browser()->url().toString(), url(QStringLiteral("frame.html")));

    // Refresh is left to the browser itself, which reloads.
    QSignalSpy complete(m_site->browser(), &CWebBrowser2::DocumentComplete);
    m_site->ShowContextMenu(m_site->browser()->mapToGlobal(QPoint(5, 5)));
    m_site->contextMenu()->actions().at(0)->trigger();
    QVERIFY(complete.wait(10000));
    QCOMPARE(routed, (QList<BrowserCommand>{BrowserCommand::Back, BrowserCommand::Refresh}));
}

QTEST_MAIN(TestBrowserSite)
#include "test_browser_site.moc"
