#include "browser_host/origin_trust.h"

#include <QTest>

using namespace quillo;

class TestOriginTrust : public QObject {
    Q_OBJECT

private slots:
    void serialize_data();
    void serialize();
    void trust_data();
    void trust();
};

void TestOriginTrust::serialize_data() {
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("expected");

    QTest::newRow("https, default port") << "https"
                                         << "chat.tarnwick.example" << -1 << "https://chat.tarnwick.example";
    QTest::newRow("explicit default port dropped") << "http"
                                                   << "a.example" << 80 << "http://a.example";
    QTest::newRow("https on 80 keeps its port") << "https"
                                                << "a.example" << 80 << "https://a.example:80";
    QTest::newRow("upper case folded") << "HTTP"
                                       << "Chat.Example" << 8080 << "http://chat.example:8080";
    QTest::newRow("IPv6 in brackets") << "http"
                                      << "::1" << 9000 << "http://[::1]:9000";
    QTest::newRow("file scheme: never") << "file"
                                        << "" << -1 << "";
    QTest::newRow("ftp scheme: never") << "ftp"
                                       << "a.example" << -1 << "";
    QTest::newRow("empty host: never") << "http"
                                       << "" << 80 << "";
    QTest::newRow("port out of range: never") << "http"
                                              << "a.example" << 70000 << "";
}

void TestOriginTrust::serialize() {
    QFETCH(QString, scheme);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, expected);
    const Origin origin{scheme.toStdString(), host.toStdString(), port};
    QCOMPARE(QString::fromStdString(SerializeOrigin(origin)), expected);
}

void TestOriginTrust::trust_data() {
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("trusted");

    // The trusted set: a start page on 127.0.0.1:4711, a URL setting on https://console.example,
    // the chat host over https (its logon page) and the maker's host over http (its product page).
    QTest::newRow("start page origin") << "http"
                                       << "127.0.0.1" << 4711 << true;
    QTest::newRow("start page host on another port") << "http"
                                                     << "127.0.0.1" << 4712 << false;
    QTest::newRow("start page port over https: a different origin") << "https"
                                                                    << "127.0.0.1" << 4711 << false;
    QTest::newRow("localhost is not 127.0.0.1") << "http"
                                                << "localhost" << 4711 << false;
    QTest::newRow("URL setting origin") << "https"
                                        << "console.example" << -1 << true;
    QTest::newRow("URL setting host over plain http: not trusted") << "http"
                                                                   << "console.example" << -1 << false;
    QTest::newRow("chat host over https") << "https"
                                          << "chat.tarnwick.example" << -1 << true;
    QTest::newRow("chat host over plain http: not trusted") << "http"
                                                            << "chat.tarnwick.example" << 80 << false;
    QTest::newRow("chat host in upper case") << "HTTPS"
                                             << "CHAT.Tarnwick.Example" << 443 << true;
    QTest::newRow("chat host on another port") << "https"
                                               << "chat.tarnwick.example" << 8443 << false;
    QTest::newRow("maker host") << "http"
                                << "www.tarnwick.example" << -1 << true;
    QTest::newRow("maker host over https: not how the client reaches it")
        << "https"
        << "www.tarnwick.example" << -1 << false;
    QTest::newRow("subdomain of the chat host") << "https"
                                                << "evil.chat.tarnwick.example" << -1 << false;
    QTest::newRow("host that only ends like the chat host") << "https"
                                                            << "xchat.tarnwick.example" << -1 << false;
    QTest::newRow("host that starts like the chat host")
        << "https"
        << "chat.tarnwick.example.evil.example" << -1 << false;
    QTest::newRow("visitor site") << "https"
                                  << "visitor.example" << -1 << false;
    QTest::newRow("chat host over file") << "file"
                                         << "chat.tarnwick.example" << -1 << false;
    QTest::newRow("data and blank pages have no host") << "data"
                                                       << "" << -1 << false;
}

void TestOriginTrust::trust() {
    QFETCH(QString, scheme);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, trusted);

    OriginTrust trust;
    trust.trustOrigin({"http", "127.0.0.1", 4711});
    trust.trustOrigin({"https", "console.example", 443});
    trust.trustOrigin({"file", "", -1}); // ignored
    trust.trustOrigin({"https", "chat.tarnwick.example", -1});
    trust.trustOrigin({"http", "www.tarnwick.example", -1});
    QCOMPARE(trust.isTrusted({scheme.toStdString(), host.toStdString(), port}), trusted);
}

QTEST_GUILESS_MAIN(TestOriginTrust)
#include "test_origin_trust.moc"
