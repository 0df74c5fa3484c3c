#include "main_window/settings_store.h"
#include "main_window/start_page.h"
#include "tests/main_window/fake_settings_backend.h"

#include <QTest>

using namespace quillo;

class TestStartPage final : public QObject {
    Q_OBJECT

private slots:
    void choose_data();
    void choose();
};

void TestStartPage::choose_data() {
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<QString>("orderId"); // null: no value
    QTest::addColumn<QString>("url");     // null: no value
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("urlRead");

    const QString product = QStringLiteral("http://www.maker.test/store/free-live-chat-software.asp");
    QTest::newRow("no order number: product page, address never read")
        << true << QString() << QStringLiteral("http://x/") << product << false;
    QTest::newRow("order 12345 without address: logon page")
        << true << QStringLiteral("12345") << QString()
        << QStringLiteral("https://chat.maker.test/logon.aspx?id=12345") << true;
    QTest::newRow("order 12345 with address ending in ?id=: appended as it stands")
        << true << QStringLiteral("12345") << QStringLiteral("https://c.test/console.aspx?id=")
        << QStringLiteral("https://c.test/console.aspx?id=12345") << true;
    QTest::newRow("order number of 10 characters counts as missing")
        << true << QStringLiteral("1234567890") << QStringLiteral("http://x/") << product << false;
    QTest::newRow("empty order number is appended as nothing")
        << true << QStringLiteral("") << QStringLiteral("http://x/?id=") << QStringLiteral("http://x/?id=")
        << true;
    QTest::newRow("address of 256 characters counts as missing")
        << true << QStringLiteral("9") << QString(256, QLatin1Char('a'))
        << QStringLiteral("https://chat.maker.test/logon.aspx?id=9") << true;
    QTest::newRow("no key at all: product page") << false << QString() << QString() << product << false;
}

void TestStartPage::choose() {
    QFETCH(bool, keyExists);
    QFETCH(QString, orderId);
    QFETCH(QString, url);
    QFETCH(QString, expected);
    QFETCH(bool, urlRead);

    FakeSettingsBackend backend;
    backend.keyExists = keyExists;
    if (!orderId.isNull())
        backend.values[kOrderIdValue] = orderId.toStdString();
    if (!url.isNull())
        backend.values[kUrlValue] = url.toStdString();
    bool missing = false;
    const StartPageHosts hosts{"www.maker.test", "chat.maker.test"};
    QCOMPARE(QString::fromStdString(ChooseStartPage(backend, missing, hosts)), expected);
    QCOMPARE(backend.queries.count(kUrlValue) > 0, urlRead);
}

QTEST_GUILESS_MAIN(TestStartPage)
#include "test_start_page.moc"
