#include "main_window/settings_store.h"
#include "tests/main_window/fake_settings_backend.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

using namespace quillo;

class TestSettingsStore final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void read_data();
    void read();
    void absentKeyLeavesBufferAndFlag();
    void flagStaysRaised();
    void writeNeedsExistingKey();
    void writeEmptyText();
    void fileBackendRoundTrip();
    void fileBackendAbsentOrCorruptFile();
    void fileBackendReadsValuesAsWritten_data();
    void fileBackendReadsValuesAsWritten();

private:
    QTemporaryDir m_home;
    QString m_conf;
};

void TestSettingsStore::initTestCase() {
    // The file backend finds its file through XDG_CONFIG_HOME, read when QSettings is first used.
    QVERIFY(m_home.isValid());
    qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
    m_conf = m_home.path() + QStringLiteral("/Tarnwick/Tarnwick Live Chat.conf");
}

void TestSettingsStore::read_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("present");
    QTest::addColumn<uint>("size");
    QTest::addColumn<long>("error");
    QTest::addColumn<bool>("missing");

    const QString nine = QStringLiteral("123456789");
    QTest::newRow("order number of 9 characters fits 10 bytes")
        << nine << true << 10u << kErrorSuccess << false;
    QTest::newRow("order number of 10 characters does not fit")
        << QStringLiteral("1234567890") << true << 10u << kErrorMoreData << true;
    QTest::newRow("address of 255 characters fits 256 bytes")
        << QString(255, QLatin1Char('u')) << true << 256u << kErrorSuccess << false;
    QTest::newRow("address of 256 characters does not fit")
        << QString(256, QLatin1Char('u')) << true << 256u << kErrorMoreData << true;
    QTest::newRow("empty value is read as empty text") << QString() << true << 10u << kErrorSuccess << false;
    QTest::newRow("absent value raises the flag") << QString() << false << 10u << kErrorFileNotFound << true;
}

void TestSettingsStore::read() {
    QFETCH(QString, stored);
    QFETCH(bool, present);
    QFETCH(uint, size);
    QFETCH(long, error);
    QFETCH(bool, missing);

    FakeSettingsBackend backend;
    if (present)
        backend.values["V"] = stored.toStdString();
    std::string buffer(size + 8, '#');
    bool flag = false;
    QCOMPARE(ReadSetting(backend, kSettingsKey, buffer.data(), "V", size, flag), error);
    QCOMPARE(flag, missing);
    if (error == kErrorSuccess) {
        QCOMPARE(QString::fromLatin1(buffer.c_str()), stored);
    } else {
        // A failed read never writes into the caller's buffer.
        QCOMPARE(buffer, std::string(size + 8, '#'));
    }
    // Nothing is ever written past the buffer the caller offered.
    QCOMPARE(buffer.substr(size), std::string(8, '#'));
}

void TestSettingsStore::absentKeyLeavesBufferAndFlag() {
    FakeSettingsBackend backend;
    backend.keyExists = false;
    char buffer[10] = "untouched";
    bool flag = false;
    QCOMPARE(ReadSetting(backend, kSettingsKey, buffer, kOrderIdValue, sizeof buffer, flag),
             kErrorFileNotFound);
    QCOMPARE(flag, false);
    QCOMPARE(QByteArray(buffer), QByteArray("untouched"));
}

void TestSettingsStore::flagStaysRaised() {
    FakeSettingsBackend backend;
    backend.values["URL"] = "http://chat/";
    char buffer[256] = {};
    bool flag = false;
    ReadSetting(backend, kSettingsKey, buffer, kOrderIdValue, 10, flag);
    QVERIFY(flag);
    QCOMPARE(ReadSetting(backend, kSettingsKey, buffer, kUrlValue, sizeof buffer, flag), kErrorSuccess);
    QVERIFY2(flag, "a later successful read must not lower the flag");
}

void TestSettingsStore::writeNeedsExistingKey() {
    FakeSettingsBackend backend;
    backend.keyExists = false;
    QCOMPARE(WriteSetting(backend, kSettingsKey, "12345", kOrderIdValue), kErrorFileNotFound);
    backend.keyExists = true;
    QVERIFY(backend.values.empty());
    QCOMPARE(WriteSetting(backend, kSettingsKey, "12345", kOrderIdValue), kErrorSuccess);
    QCOMPARE(backend.values.at(kOrderIdValue), std::string("12345"));
}

void TestSettingsStore::writeEmptyText() {
    FakeSettingsBackend backend;
    backend.values[kOrderIdValue] = "777";
    QCOMPARE(WriteSetting(backend, kSettingsKey, "", kOrderIdValue), kErrorSuccess);
    QCOMPARE(backend.values.at(kOrderIdValue), std::string());
}

void TestSettingsStore::fileBackendRoundTrip() {
    QVERIFY(QDir().mkpath(QFileInfo(m_conf).path()));
    {
        QFile file(m_conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nURL=https://chat.example/logon.aspx?id=\n");
    }
    auto backend = createUserSettingsBackend();
    char buffer[256] = {};
    bool flag = false;
    QCOMPARE(ReadSetting(*backend, kSettingsKey, buffer, kUrlValue, sizeof buffer, flag), kErrorSuccess);
    QCOMPARE(QByteArray(buffer), QByteArray("https://chat.example/logon.aspx?id="));
    QCOMPARE(ReadSetting(*backend, kSettingsKey, buffer, kOrderIdValue, 10, flag), kErrorFileNotFound);
    QVERIFY(flag);

    QCOMPARE(WriteSetting(*backend, kSettingsKey, "<b>42</b>", kOrderIdValue), kErrorSuccess);
    // Another program reading the file with QSettings sees both values, the address unharmed.
    QSettings reader(m_conf, QSettings::NativeFormat);
    QCOMPARE(reader.value(QStringLiteral("OrderID")).toString(), QStringLiteral("<b>42</b>"));
    QCOMPARE(reader.value(QStringLiteral("URL")).toString(),
             QStringLiteral("https://chat.example/logon.aspx?id="));
}

void TestSettingsStore::fileBackendAbsentOrCorruptFile() {
    QFile::remove(m_conf);
    auto backend = createUserSettingsBackend();
    char buffer[10] = {};
    bool flag = false;
    QCOMPARE(ReadSetting(*backend, kSettingsKey, buffer, kOrderIdValue, sizeof buffer, flag),
             kErrorFileNotFound);
    QVERIFY(!flag);
    QCOMPARE(WriteSetting(*backend, kSettingsKey, "123", kOrderIdValue), kErrorFileNotFound);
    QVERIFY2(!QFile::exists(m_conf), "the client must never create the key");

    {
        QFile file(m_conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General\n\x01\x02garbage=\"unterminated\n");
    }
    QCOMPARE(ReadSetting(*backend, kSettingsKey, buffer, kOrderIdValue, sizeof buffer, flag),
             kErrorFileNotFound);
    QVERIFY2(!flag, "a corrupt file counts as an absent key");
}

void TestSettingsStore::fileBackendReadsValuesAsWritten_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("url");

    const QByteArray comma = "https://chat.example.com/logon.aspx?lang=en,fr&id=";
    const QByteArray semicolon = "https://chat.example.com/s;jsessionid=7/logon.aspx?id=";
    QTest::newRow("by hand, with a comma") << "URL=" + comma << comma;
    QTest::newRow("by hand, with a semicolon") << "URL=" + semicolon << semicolon;
    QTest::newRow("by hand, spaces around the sign") << "URL = " + comma + " " << comma;
    QTest::newRow("by hand, quoted") << "URL=\"" + semicolon + "\"" << semicolon;
    QTest::newRow("as Qt quotes it, with escapes")
        << QByteArray(R"(URL="https://chat.example.com/a\\b;c,d\"e")")
        << QByteArray(R"(https://chat.example.com/a\b;c,d"e)");
    QTest::newRow("another section's line does not count")
        << "URL=" + comma + "\n[Other]\nURL=" + semicolon << comma;
}

void TestSettingsStore::fileBackendReadsValuesAsWritten() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, url);
    QVERIFY(QDir().mkpath(QFileInfo(m_conf).path()));
    {
        QFile file(m_conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\n" + line + "\n");
    }
    auto backend = createUserSettingsBackend();
    char buffer[256] = {};
    bool flag = false;
    QCOMPARE(ReadSetting(*backend, kSettingsKey, buffer, kUrlValue, sizeof buffer, flag), kErrorSuccess);
    QCOMPARE(QByteArray(buffer), url);
    QVERIFY(!flag);

    // Storing the order number rewrites the file; the address survives it, for us and for Qt.
    QCOMPARE(WriteSetting(*backend, kSettingsKey, "42", kOrderIdValue), kErrorSuccess);
    std::memset(buffer, 0, sizeof buffer);
    QCOMPARE(ReadSetting(*backend, kSettingsKey, buffer, kUrlValue, sizeof buffer, flag), kErrorSuccess);
    QCOMPARE(QByteArray(buffer), url);
    QSettings reader(m_conf, QSettings::NativeFormat);
    QCOMPARE(reader.value(QStringLiteral("URL")).toString().toUtf8(), url);
    QCOMPARE(reader.value(QStringLiteral("OrderID")).toString(), QStringLiteral("42"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
