#include "settings/settings_store.h"
#include "tests/settings/fake_settings_backend.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo;

namespace {
// What a read gave, in words: the text it read, or why there was none.
QString outcome(const SettingResult& result) {
    if (result)
        return QStringLiteral("text: ") + QString::fromStdString(result.value());
    switch (result.error()) {
    case SettingError::NoKey:
        return QStringLiteral("no key");
    case SettingError::NoValue:
        return QStringLiteral("no value");
    case SettingError::TooLong:
        return QStringLiteral("too long");
    }
    return {};
}
} // namespace

class TestSettingsStore final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void read_data();
    void read();
    void absentKeyLeavesTheFlag();
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
    QTest::addColumn<QString>("read");
    QTest::addColumn<bool>("missing");

    const QString nine = QStringLiteral("123456789");
    QTest::newRow("order number of 9 characters fits 10 bytes")
        << nine << true << 10u << QStringLiteral("text: ") + nine << false;
    QTest::newRow("order number of 10 characters does not fit")
        << QStringLiteral("1234567890") << true << 10u << QStringLiteral("too long") << true;
    QTest::newRow("address of 255 characters fits 256 bytes")
        << QString(255, QLatin1Char('u')) << true << 256u
        << QStringLiteral("text: ") + QString(255, QLatin1Char('u')) << false;
    QTest::newRow("address of 256 characters does not fit")
        << QString(256, QLatin1Char('u')) << true << 256u << QStringLiteral("too long") << true;
    QTest::newRow("empty value is read as empty text")
        << QString() << true << 10u << QStringLiteral("text: ") << false;
    QTest::newRow("absent value raises the flag")
        << QString() << false << 10u << QStringLiteral("no value") << true;
}

void TestSettingsStore::read() {
    QFETCH(QString, stored);
    QFETCH(bool, present);
    QFETCH(uint, size);
    QFETCH(QString, read);
    QFETCH(bool, missing);

    FakeSettingsBackend backend;
    if (present)
        backend.values["V"] = stored.toStdString();
    bool flag = false;
    QCOMPARE(outcome(ReadSetting(backend, "V", size, flag)), read);
    QCOMPARE(flag, missing);
}

void TestSettingsStore::absentKeyLeavesTheFlag() {
    FakeSettingsBackend backend;
    backend.present = false;
    bool flag = false;
    QCOMPARE(outcome(ReadSetting(backend, kOrderIdValue, kOrderIdBufferSize, flag)),
             QStringLiteral("no key"));
    QCOMPARE(flag, false);
}

void TestSettingsStore::flagStaysRaised() {
    FakeSettingsBackend backend;
    backend.values["URL"] = "http://chat/";
    bool flag = false;
    ReadSetting(backend, kOrderIdValue, kOrderIdBufferSize, flag);
    QVERIFY(flag);
    QCOMPARE(outcome(ReadSetting(backend, kUrlValue, kUrlBufferSize, flag)),
             QStringLiteral("text: http://chat/"));
    QVERIFY2(flag, "a later successful read must not lower the flag");
}

void TestSettingsStore::writeNeedsExistingKey() {
    FakeSettingsBackend backend;
    backend.present = false;
    QVERIFY(!WriteSetting(backend, "12345", kOrderIdValue));
    backend.present = true;
    QVERIFY(backend.values.empty());
    QVERIFY(WriteSetting(backend, "12345", kOrderIdValue));
    QCOMPARE(backend.values.at(kOrderIdValue), std::string("12345"));
}

void TestSettingsStore::writeEmptyText() {
    FakeSettingsBackend backend;
    backend.values[kOrderIdValue] = "777";
    QVERIFY(WriteSetting(backend, "", kOrderIdValue));
    QCOMPARE(backend.values.at(kOrderIdValue), std::string());
}

void TestSettingsStore::fileBackendRoundTrip() {
    QVERIFY(QDir().mkpath(QFileInfo(m_conf).path()));
    {
        QFile file(m_conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nURL=https://chat.example/logon.aspx?id=\n");
    }
    auto backend = createUserSettings();
    bool flag = false;
    QCOMPARE(outcome(ReadSetting(*backend, kUrlValue, kUrlBufferSize, flag)),
             QStringLiteral("text: https://chat.example/logon.aspx?id="));
    QCOMPARE(outcome(ReadSetting(*backend, kOrderIdValue, kOrderIdBufferSize, flag)),
             QStringLiteral("no value"));
    QVERIFY(flag);

    QVERIFY(WriteSetting(*backend, "<b>42</b>", kOrderIdValue));
    // Another program reading the file with QSettings sees both values, the address unharmed.
    QSettings reader(m_conf, QSettings::NativeFormat);
    QCOMPARE(reader.value(QStringLiteral("OrderID")).toString(), QStringLiteral("<b>42</b>"));
    QCOMPARE(reader.value(QStringLiteral("URL")).toString(),
             QStringLiteral("https://chat.example/logon.aspx?id="));
}

void TestSettingsStore::fileBackendAbsentOrCorruptFile() {
    QFile::remove(m_conf);
    auto backend = createUserSettings();
    bool flag = false;
    QCOMPARE(outcome(ReadSetting(*backend, kOrderIdValue, kOrderIdBufferSize, flag)),
             QStringLiteral("no key"));
    QVERIFY(!flag);
    QVERIFY(!WriteSetting(*backend, "123", kOrderIdValue));
    QVERIFY2(!QFile::exists(m_conf), "the client must never create the key");

    {
        QFile file(m_conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General\n\x01\x02garbage=\"unterminated\n");
    }
    QCOMPARE(outcome(ReadSetting(*backend, kOrderIdValue, kOrderIdBufferSize, flag)),
             QStringLiteral("no key"));
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
    auto backend = createUserSettings();
    bool flag = false;
    QCOMPARE(outcome(ReadSetting(*backend, kUrlValue, kUrlBufferSize, flag)),
             QStringLiteral("text: ") + QString::fromUtf8(url));
    QVERIFY(!flag);

    // Storing the order number rewrites the file; the address survives it, for us and for Qt.
    QVERIFY(WriteSetting(*backend, "42", kOrderIdValue));
    QCOMPARE(outcome(ReadSetting(*backend, kUrlValue, kUrlBufferSize, flag)),
             QStringLiteral("text: ") + QString::fromUtf8(url));
    QSettings reader(m_conf, QSettings::NativeFormat);
    QCOMPARE(reader.value(QStringLiteral("URL")).toString().toUtf8(), url);
    QCOMPARE(reader.value(QStringLiteral("OrderID")).toString(), QStringLiteral("42"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
