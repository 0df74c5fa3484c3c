#include "browser_windows/url_policy.h"

#include <QTest>

class TestUrlPolicy : public QObject {
    Q_OBJECT

private slots:
    void addresses_data() {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<bool>("openable");

        QTest::newRow("http address") << QByteArray("http://127.0.0.1:8080/pages/chat.html") << true;
        QTest::newRow("https address") << QByteArray("https://chat.tarnwick.example/a?b=c#d") << true;
        QTest::newRow("scheme in capitals") << QByteArray("HTTPS://chat.tarnwick.example/") << true;
        QTest::newRow("host only") << QByteArray("http://chat.tarnwick.example") << true;
        QTest::newRow("user info before the host") << QByteArray("http://ann@chat.tarnwick.example/") << true;
        QTest::newRow("IPv6 host with port") << QByteArray("http://[::1]:8080/x") << true;
        QTest::newRow("non-ASCII path") << QByteArray("http://host/caf\xc3\xa9") << true;

        QTest::newRow("file") << QByteArray("file:///etc/passwd") << false;
        QTest::newRow("javascript") << QByteArray("javascript:alert(1)") << false;
        QTest::newRow("javascript with slashes") << QByteArray("javascript://host/%0aalert(1)") << false;
        QTest::newRow("data") << QByteArray("data:text/html,<script>alert(1)</script>") << false;
        QTest::newRow("about") << QByteArray("about:blank") << false;
        QTest::newRow("ftp") << QByteArray("ftp://files.example/x") << false;
        QTest::newRow("view-source of http") << QByteArray("view-source:http://host/") << false;
        QTest::newRow("scheme that only starts with http") << QByteArray("httpx://host/") << false;
        QTest::newRow("empty") << QByteArray() << false;

        QTest::newRow("relative path, unresolved") << QByteArray("chat.html") << false;
        QTest::newRow("absolute path, unresolved") << QByteArray("/pages/chat.html") << false;
        QTest::newRow("scheme-relative") << QByteArray("//host/x") << false;
        QTest::newRow("http without slashes") << QByteArray("http:host/x") << false;
        QTest::newRow("no host") << QByteArray("http:///x") << false;
        QTest::newRow("only a port") << QByteArray("http://:80/") << false;
        QTest::newRow("port not a number") << QByteArray("http://host:8o/") << false;
        QTest::newRow("backslash in the host") << QByteArray("http://evil\\@host/") << false;
        QTest::newRow("leading space") << QByteArray(" http://host/") << false;
        QTest::newRow("tab inside the scheme") << QByteArray("ht\ttp://host/") << false;
        QTest::newRow("newline in the path") << QByteArray("http://host/a\nb") << false;
        QTest::newRow("NUL byte") << QByteArray("http://host/\0x", 14) << false;
    }

    void addresses() {
        QFETCH(QByteArray, url);
        QFETCH(bool, openable);
        QCOMPARE(quillo::isOpenableAddress(std::string_view(url.constData(), std::size_t(url.size()))),
                 openable);
    }
};

QTEST_APPLESS_MAIN(TestUrlPolicy)
#include "test_url_policy.moc"
