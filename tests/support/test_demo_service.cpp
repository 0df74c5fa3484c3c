#include "tests/support/e2e_harness.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QSslError>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

struct Reply {
    int status = 0;
    QByteArray body;
};

} // namespace

// The demo service as tests see it: the pages, the request log, reports and the command channel.
class TestDemoService : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void pages_data();
    void pages();
    void plumbingIsNotLogged();
    void reportsAndReset();
    void commandQueuedBeforePoll();
    void commandWakesWaitingPoll();
    void commandForOnePageSkipsOthers();
    void abandonedPollDoesNotLoseCommand();
    void invalidCommand_data();
    void invalidCommand();
    void httpsIsServedAndLogged();

private:
    QNetworkReply* send(const QUrl& url, const QByteArray& method, const QByteArray& body = {});
    Reply finish(QNetworkReply* reply, int ms = 10000);
    Reply request(const QString& path, const QByteArray& method = "GET", const QByteArray& body = {});

    DemoService m_service;
    QNetworkAccessManager m_network;
};

QNetworkReply* TestDemoService::send(const QUrl& url, const QByteArray& method, const QByteArray& body) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, u"application/x-www-form-urlencoded"_s);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = m_network.sendCustomRequest(request, method, body);
    connect(reply, &QNetworkReply::sslErrors, reply, [reply](const QList<QSslError>&) {
        reply->ignoreSslErrors(); // the throwaway certificate is self-signed
    });
    return reply;
}

Reply TestDemoService::finish(QNetworkReply* reply, int ms) {
    std::unique_ptr<QNetworkReply> owner(reply);
    if (!reply->isFinished()) {
        QSignalSpy finished(reply, &QNetworkReply::finished);
        finished.wait(ms);
    }
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
}

Reply TestDemoService::request(const QString& path, const QByteArray& method, const QByteArray& body) {
    return finish(send(m_service.baseUrl().resolved(QUrl(path)), method, body));
}

void TestDemoService::initTestCase() {
    m_network.setProxy(QNetworkProxy::NoProxy);
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    QVERIFY(m_service.port() != 0);
}

void TestDemoService::init() {
    QVERIFY(m_service.reset());
}

void TestDemoService::pages_data() {
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contains");
    QTest::addColumn<QByteArray>("absent");

    QTest::newRow("logon form shows the order number")
        << QByteArray("GET") << u"/logon.aspx?id=12345"_s << QByteArray() << 200
        << QByteArray("Order number: 12345") << QByteArray("divLogonOrderID");
    QTest::newRow("logon: markup in the order number is escaped")
        << QByteArray("GET") << u"/logon.aspx?id=%3Cscript%3Ex()%3C/script%3E"_s << QByteArray() << 200
        << QByteArray("&lt;script&gt;x()") << QByteArray("<script>x()");
    QTest::newRow("logon submitted: the order number is the whole of divLogonOrderID")
        << QByteArray("POST") << u"/logon.aspx?id=12345"_s << QByteArray("operator=Ann+Lee&password=x") << 200
        << QByteArray("<div id=\"divLogonOrderID\">12345</div>") << QByteArray("password");
    QTest::newRow("logon submitted without an order number: the demo one")
        << QByteArray("POST") << u"/logon.aspx?id="_s << QByteArray("operator=Ann") << 200
        << QByteArray("<div id=\"divLogonOrderID\">48213</div>") << QByteArray();
    QTest::newRow("logon submitted: the operator's name is escaped")
        << QByteArray("POST") << u"/logon.aspx?id=1"_s << QByteArray("operator=%3Cb%3E") << 200
        << QByteArray("Welcome, &lt;b&gt;") << QByteArray("Welcome, <b>");
    QTest::newRow("console has the contract elements")
        << QByteArray("GET") << u"/console?id=12345"_s << QByteArray() << 200
        << QByteArray("<button type=\"button\" id=\"cmdHidden\" style=\"display:none\">") << QByteArray();
    QTest::newRow("product page") << QByteArray("GET") << u"/store/free-live-chat-software.asp"_s
                                  << QByteArray() << 200 << QByteArray("Free live chat software")
                                  << QByteArray("chatVersion");
    QTest::newRow("page script") << QByteArray("GET") << u"/pages/common.js"_s << QByteArray() << 200
                                 << QByteArray("/next-command?page=") << QByteArray();
    QTest::newRow("only named files of the pages folder are served")
        << QByteArray("GET") << u"/pages/logon.html"_s << QByteArray() << 404 << QByteArray() << QByteArray();
    QTest::newRow("unknown page: not found")
        << QByteArray("GET") << u"/nothing/here"_s << QByteArray() << 404 << QByteArray() << QByteArray();
}

void TestDemoService::pages() {
    QFETCH(QByteArray, method);
    QFETCH(QString, target);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QByteArray, contains);
    QFETCH(QByteArray, absent);

    const Reply reply = request(target, method, body);
    QCOMPARE(reply.status, status);
    if (!contains.isEmpty())
        QVERIFY2(reply.body.contains(contains), reply.body.constData());
    if (!absent.isEmpty())
        QVERIFY2(!reply.body.contains(absent), reply.body.constData());

    // Every page request is logged, found or not, with what a test needs to tell them apart.
    const QJsonArray log = m_service.requests();
    QCOMPARE(log.size(), 1);
    const QJsonObject entry = log.first().toObject();
    const QUrl url(target);
    QCOMPARE(entry.value(u"method"_s).toString(), QString::fromLatin1(method));
    QCOMPARE(entry.value(u"path"_s).toString(), url.path());
    QCOMPARE(entry.value(u"query"_s).toString(), url.query(QUrl::FullyEncoded));
    QCOMPARE(entry.value(u"host"_s).toString(), u"127.0.0.1:%1"_s.arg(m_service.port()));
    QCOMPARE(entry.value(u"scheme"_s).toString(), u"http"_s);
    QVERIFY(entry.value(u"time_ms"_s).toDouble() > 0);
}

void TestDemoService::plumbingIsNotLogged() {
    QCOMPARE(request(u"/log"_s).status, 200);
    QCOMPARE(request(u"/reports"_s).status, 200);
    QCOMPARE(request(u"/report"_s, "POST", R"({"event":"load"})").status, 204);
    QVERIFY(m_service.pushCommand({{u"call"_s, u"CB_Close"_s}}));
    QCOMPARE(request(u"/next-command?page=console"_s).status, 200);
    QCOMPARE(m_service.requests().size(), 0);
}

void TestDemoService::reportsAndReset() {
    QCOMPARE(request(u"/report"_s, "POST", "not json").status, 400);
    QCOMPARE(request(u"/report"_s, "POST", R"(["an array"])").status, 400);
    QCOMPARE(request(u"/report"_s, "POST", R"({"page":"console","event":"load","version":"1.0.1"})").status,
             204);

    const auto report = m_service.waitForReport(
        [](const QJsonObject& r) { return r.value(u"event"_s).toString() == u"load"_s; }, 1000);
    QVERIFY(report.has_value());
    QCOMPARE(report->value(u"version"_s).toString(), u"1.0.1"_s);
    QCOMPARE(report->value(u"scheme"_s).toString(), u"http"_s);
    QVERIFY(report->value(u"time_ms"_s).toDouble() > 0);
    QCOMPARE(m_service.reports().size(), 1);
    // A predicate nothing meets times out with nothing.
    QVERIFY(!m_service.waitForReport([](const QJsonObject&) { return false; }, 300).has_value());

    request(u"/console"_s);
    QVERIFY(m_service.reset());
    QCOMPARE(m_service.reports().size(), 0);
    QCOMPARE(m_service.requests().size(), 0);
}

void TestDemoService::commandQueuedBeforePoll() {
    const QJsonObject command{{u"call"_s, u"CB_CustomFunctionWithParams"_s},
                              {u"args"_s, QJsonArray{u"Ann|Hi|2 min|Sales"_s, 1}}};
    QVERIFY(m_service.pushCommand(command));
    const Reply reply = request(u"/next-command?page=console"_s);
    QCOMPARE(reply.status, 200);
    QCOMPARE(QJsonDocument::fromJson(reply.body).object(), command);
    // Taken once: the queue is empty again.
    QVERIFY(m_service.pushCommand({{u"navigate"_s, u"/console"_s}}));
    QCOMPARE(
        QJsonDocument::fromJson(request(u"/next-command?page=console"_s).body).object().value(u"navigate"_s),
        u"/console"_s);
}

void TestDemoService::commandWakesWaitingPoll() {
    QNetworkReply* poll = send(m_service.baseUrl().resolved(QUrl(u"/next-command?page=console"_s)), "GET");
    QSignalSpy finished(poll, &QNetworkReply::finished);
    QVERIFY(!finished.wait(500)); // held open, not answered with "nothing"
    QVERIFY(m_service.pushCommand({{u"call"_s, u"CB_IsOurCustomBrowser"_s}}));
    // Well before the 20 s timeout; the answer may already have come while the command was sent.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 2000);
    const Reply reply = finish(poll);
    QCOMPARE(reply.status, 200);
    QCOMPARE(QJsonDocument::fromJson(reply.body).object().value(u"call"_s).toString(),
             u"CB_IsOurCustomBrowser"_s);
}

void TestDemoService::commandForOnePageSkipsOthers() {
    QNetworkReply* logonPoll = send(m_service.baseUrl().resolved(QUrl(u"/next-command?page=logon"_s)), "GET");
    QSignalSpy logonFinished(logonPoll, &QNetworkReply::finished);
    QTest::qWait(200);
    QVERIFY(m_service.pushCommand({{u"page"_s, u"console"_s}, {u"call"_s, u"CB_Close"_s}}));
    QVERIFY(!logonFinished.wait(500));

    const Reply reply = request(u"/next-command?page=console"_s);
    QCOMPARE(reply.status, 200);
    QCOMPARE(QJsonDocument::fromJson(reply.body).object().value(u"call"_s).toString(), u"CB_Close"_s);
    logonPoll->abort();
    delete logonPoll;
}

void TestDemoService::abandonedPollDoesNotLoseCommand() {
    // A page that navigates away drops its poll; the command must wait for the next page.
    QNetworkReply* poll = send(m_service.baseUrl().resolved(QUrl(u"/next-command?page=console"_s)), "GET");
    QTest::qWait(300);
    poll->abort();
    delete poll;
    QTest::qWait(300);
    QVERIFY(m_service.pushCommand({{u"call"_s, u"CB_CustomFunction"_s}}));
    const Reply reply = request(u"/next-command?page=console"_s);
    QCOMPARE(reply.status, 200);
    QCOMPARE(QJsonDocument::fromJson(reply.body).object().value(u"call"_s).toString(),
             u"CB_CustomFunction"_s);
}

void TestDemoService::invalidCommand_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("not JSON") << QByteArray("CB_Close");
    QTest::newRow("code to evaluate is no command") << QByteArray("{\"eval\":\"window.close()\"}");
    QTest::newRow("call that is not a name") << QByteArray(R"({"call":["CB_Close"]})");
}

void TestDemoService::invalidCommand() {
    QFETCH(QByteArray, body);
    QCOMPARE(request(u"/command"_s, "POST", body).status, 400);
    // Nothing was queued: a poll finds no command and is still waiting.
    QNetworkReply* poll = send(m_service.baseUrl().resolved(QUrl(u"/next-command?page=console"_s)), "GET");
    QSignalSpy finished(poll, &QNetworkReply::finished);
    QVERIFY(!finished.wait(400));
    poll->abort();
    delete poll;
}

void TestDemoService::httpsIsServedAndLogged() {
    DemoService secure;
    QVERIFY2(secure.start(true), qPrintable(secure.errorString()));
    QVERIFY(secure.tlsPort() != 0 && secure.tlsPort() != secure.port());
    QVERIFY(secure.hostResolverRules().startsWith(u"MAP *:443 127.0.0.1:%1,"_s.arg(secure.tlsPort())));

    const Reply reply =
        finish(send(QUrl(u"https://127.0.0.1:%1/logon.aspx?id=12345"_s.arg(secure.tlsPort())), "GET"));
    QCOMPARE(reply.status, 200);
    QVERIFY(reply.body.contains("Order number: 12345"));
    const QJsonArray log = secure.requests();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().toObject().value(u"scheme"_s).toString(), u"https"_s);
}

QTEST_GUILESS_MAIN(TestDemoService)
#include "test_demo_service.moc"
