#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

constexpr auto kSettingsFile = "/Tarnwick/Tarnwick Live Chat.conf";
constexpr auto kClientSettingsFile = "/Quillo/quillo.ini";
constexpr auto kAutostartFile = "/autostart/example.tarnwick.Quillo.desktop";

struct Run {
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class TestQuilloSetup final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void values_data();
    void values();
    void showPrintsWhatTheClientReads();
    void sound_data();
    void sound();
    void autostart();
    void trustedCertificates_data();
    void trustedCertificates();
    void singleSignOnServers_data();
    void singleSignOnServers();
    void autostartEntryForInstallPath_data();
    void autostartEntryForInstallPath();

private:
    Run run(const QStringList& arguments, const QString& program = QStringLiteral(QUILLO_SETUP_PATH)) const;
    QString settingsPath() const { return m_home->path() + QLatin1String(kSettingsFile); }
    void writeSettingsFile(const QByteArray& content) const;
    QByteArray settingsFile() const;

    std::unique_ptr<QTemporaryDir> m_home;
};

void TestQuilloSetup::init() {
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

Run TestQuilloSetup::run(const QStringList& arguments, const QString& program) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->path());
    environment.remove(QStringLiteral("DISPLAY"));
    QProcess setup;
    setup.setProcessEnvironment(environment);
    setup.start(program, arguments);
    Run result;
    if (!setup.waitForFinished(20000) || setup.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = setup.exitCode();
    result.out = QString::fromUtf8(setup.readAllStandardOutput());
    result.err = QString::fromUtf8(setup.readAllStandardError());
    return result;
}

void TestQuilloSetup::writeSettingsFile(const QByteArray& content) const {
    QVERIFY(QDir().mkpath(QFileInfo(settingsPath()).path()));
    QFile file(settingsPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TestQuilloSetup::settingsFile() const {
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestQuilloSetup::values_data() {
    QTest::addColumn<QByteArray>("before"); // the settings file before; null: no key
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("orderId"); // null: absent afterwards
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("message"); // part of stderr

    const QByteArray existing = "[General]\nOrderID=111\nURL=http://old.example/logon.aspx?id=\nTheme=dark\n";
    const QString oldUrl = QStringLiteral("http://old.example/logon.aspx?id=");
    const QString url = QStringLiteral("https://chat.example.com/logon.aspx?id=");
    QTest::newRow("no key yet: both values, key created")
        << QByteArray()
        << QStringList{QStringLiteral("--order-id"), QStringLiteral("48213"), QStringLiteral("--url"), url}
        << 0 << QStringLiteral("48213") << url << QString();
    QTest::newRow("order number alone, no key yet")
        << QByteArray() << QStringList{QStringLiteral("--order-id"), QStringLiteral("123456789")} << 0
        << QStringLiteral("123456789") << QString() << QString();
    QTest::newRow("address alone keeps the order number and other values")
        << existing << QStringList{QStringLiteral("--url"), url} << 0 << QStringLiteral("111") << url
        << QString();
    QTest::newRow("10 characters refused, nothing written")
        << existing
        << QStringList{QStringLiteral("--order-id"), QStringLiteral("1234567890"), QStringLiteral("--url"),
                       url}
        << 1 << QStringLiteral("111") << oldUrl << QStringLiteral("longer than 9 characters");
    QTest::newRow("9 characters that are 10 bytes refused: the client counts bytes")
        << existing << QStringList{QStringLiteral("--order-id"), QStringLiteral("12345678\u00e9")} << 1
        << QStringLiteral("111") << oldUrl << QStringLiteral("longer than 9");
    QTest::newRow("empty order number refused")
        << QByteArray() << QStringList{QStringLiteral("--order-id="), QStringLiteral("--url"), url} << 1
        << QString() << QString() << QStringLiteral("empty");
    QTest::newRow("relative address refused")
        << existing << QStringList{QStringLiteral("--url"), QStringLiteral("logon.aspx?id=")} << 1
        << QStringLiteral("111") << oldUrl << QStringLiteral("not an absolute http or https URL");
    QTest::newRow("ftp address refused")
        << existing << QStringList{QStringLiteral("--url"), QStringLiteral("ftp://chat.example.com/")} << 1
        << QStringLiteral("111") << oldUrl << QStringLiteral("not an absolute http or https URL");
    QTest::newRow("address the client would not read (256 bytes) refused")
        << existing
        << QStringList{QStringLiteral("--url"),
                       QStringLiteral("https://chat.example.com/") + QString(231, u'a')}
        << 1 << QStringLiteral("111") << oldUrl << QStringLiteral("longer than 255");
    QTest::newRow("values with , and ; read back whole")
        << QByteArray()
        << QStringList{QStringLiteral("--order-id"), QStringLiteral("12,34;5"), QStringLiteral("--url"),
                       QStringLiteral("https://chat.example.com/a;b,c?id=")}
        << 0 << QStringLiteral("12,34;5") << QStringLiteral("https://chat.example.com/a;b,c?id=")
        << QString();
    QTest::newRow("nothing asked: an error, not a silent success")
        << QByteArray() << QStringList{} << 1 << QString() << QString() << QStringLiteral("nothing to do");
}

void TestQuilloSetup::values() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, orderId);
    QFETCH(QString, url);
    QFETCH(QString, message);
    if (!before.isNull())
        writeSettingsFile(before);

    const Run result = run(arguments);
    QVERIFY2(result.status == status, qPrintable(result.out + result.err));
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    if (status != 0) {
        // A refused run leaves the key exactly as it was, or absent.
        QCOMPARE(settingsFile(), before.isNull() ? QByteArray() : before);
        QCOMPARE(QFile::exists(settingsPath()), !before.isNull());
        return;
    }
    const QSettings stored(settingsPath(), QSettings::IniFormat);
    QCOMPARE(stored.status(), QSettings::NoError);
    QCOMPARE(stored.value(QStringLiteral("OrderID")).toString(), orderId);
    QCOMPARE(stored.contains(QStringLiteral("URL")), !url.isNull());
    QCOMPARE(stored.value(QStringLiteral("URL")).toString(), url);
    if (before.contains("Theme"))
        QCOMPARE(stored.value(QStringLiteral("Theme")).toString(), QStringLiteral("dark"));
}

void TestQuilloSetup::showPrintsWhatTheClientReads() {
    QCOMPARE(run({QStringLiteral("--show")}).out,
             QStringLiteral(
                 "No settings yet: give the order number with --order-id.\nAutostart: off\nSound: once\n"
                 "Trusted certificates: none\nSingle sign-on servers: none\n"));
    writeSettingsFile("[General]\nOrderID=1234567890\n");
    const Run result = run({QStringLiteral("--url"), QStringLiteral("http://127.0.0.1:8080/console?id="),
                            QStringLiteral("--show")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out,
             QStringLiteral("OrderID: (too long; Quillo ignores it)\n"
                            "URL: http://127.0.0.1:8080/console?id=\nAutostart: off\nSound: once\n"
                            "Trusted certificates: none\nSingle sign-on servers: none\n"));
}

void TestQuilloSetup::sound_data() {
    QTest::addColumn<QByteArray>("before"); // the client's own file before; null: none
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stored"); // null: absent afterwards

    const QByteArray existing = "[zoom]\nchat.example.com=1.25\n\n[alerts]\nsound=repeat\n";
    QTest::newRow("capitals read, stored as the client reads it")
        << QByteArray() << QStringLiteral("REPEAT") << 0 << QStringLiteral("repeat");
    QTest::newRow("off replaces repeat and keeps the other settings")
        << existing << QStringLiteral("off") << 0 << QStringLiteral("off");
    QTest::newRow("unknown mode refused, file untouched")
        << existing << QStringLiteral("loud") << 1 << QString();
    QTest::newRow("empty mode refused, no file made") << QByteArray() << QString() << 1 << QString();
}

void TestQuilloSetup::sound() {
    QFETCH(QByteArray, before);
    QFETCH(QString, argument);
    QFETCH(int, status);
    QFETCH(QString, stored);
    const QString path = m_home->path() + QLatin1String(kClientSettingsFile);
    if (!before.isNull()) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }

    const Run result = run({QStringLiteral("--sound=") + argument});
    QVERIFY2(result.status == status, qPrintable(result.out + result.err));
    if (status != 0) {
        QVERIFY2(result.err.contains(QStringLiteral("--sound takes off, once or repeat")),
                 qPrintable(result.err));
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), before);
        // Neither the Tarnwick key nor the client's file appears for a refused run.
        QCOMPARE(QFile::exists(path), !before.isNull());
        QVERIFY(!QFile::exists(settingsPath()));
        return;
    }
    const QSettings client(path, QSettings::IniFormat);
    QCOMPARE(client.value(QStringLiteral("alerts/sound")).toString(), stored);
    if (!before.isNull())
        QCOMPARE(client.value(QStringLiteral("zoom/chat.example.com")).toString(), QStringLiteral("1.25"));
    // The sound alone is no reason to create the Tarnwick key.
    QVERIFY(!QFile::exists(settingsPath()));
    QVERIFY(run({QStringLiteral("--show")}).out.contains(QStringLiteral("\nSound: ") + stored + u'\n'));
}

void TestQuilloSetup::trustedCertificates_data() {
    QTest::addColumn<QString>("file"); // in the home: cert.pem, cert.der, chain.pem, junk.pem, missing.pem
    QTest::addColumn<bool>("trusted");

    QTest::newRow("PEM") << QStringLiteral("cert.pem") << true;
    QTest::newRow("DER, the same fingerprint") << QStringLiteral("cert.der") << true;
    QTest::newRow("two certificates: which one is meant?") << QStringLiteral("chain.pem") << false;
    QTest::newRow("not a certificate") << QStringLiteral("junk.pem") << false;
    QTest::newRow("no such file") << QStringLiteral("missing.pem") << false;
}

void TestQuilloSetup::trustedCertificates() {
    QFETCH(QString, file);
    QFETCH(bool, trusted);
    const QDir home(m_home->path());
    const auto openssl = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral("openssl"), arguments);
        return process.waitForFinished(30000) && process.exitCode() == 0
                   ? std::optional<QByteArray>(process.readAllStandardOutput())
                   : std::nullopt;
    };
    QVERIFY(openssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                     QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-subj"),
                     QStringLiteral("/CN=chat.corp.example"), QStringLiteral("-keyout"),
                     home.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"),
                     home.filePath(QStringLiteral("cert.pem"))})
                .has_value());
    QVERIFY(openssl({QStringLiteral("x509"), QStringLiteral("-in"), home.filePath(QStringLiteral("cert.pem")),
                     QStringLiteral("-outform"), QStringLiteral("der"), QStringLiteral("-out"),
                     home.filePath(QStringLiteral("cert.der"))})
                .has_value());
    QFile pem(home.filePath(QStringLiteral("cert.pem")));
    QVERIFY(pem.open(QIODevice::ReadOnly));
    const QByteArray certificate = pem.readAll();
    for (const auto& [name, content] :
         {std::pair{QStringLiteral("chain.pem"), certificate + certificate},
          std::pair{QStringLiteral("junk.pem"), QByteArray("-----BEGIN CERTIFICATE-----\nnot one\n")}}) {
        QFile out(home.filePath(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    const QString fingerprint =
        QString::fromLatin1(openssl({QStringLiteral("x509"), QStringLiteral("-noout"),
                                     QStringLiteral("-fingerprint"), QStringLiteral("-sha256"),
                                     QStringLiteral("-in"), home.filePath(QStringLiteral("cert.pem"))})
                                .value_or(QByteArray()))
            .section(u'=', 1)
            .trimmed();
    QCOMPARE(fingerprint.size(), 95);

    const QString clientFile = m_home->path() + QLatin1String(kClientSettingsFile);
    const Run result = run({QStringLiteral("--trust-certificate"), home.filePath(file)});
    QVERIFY2(result.status == (trusted ? 0 : 1), qPrintable(result.out + result.err));
    if (!trusted) {
        // Refused before anything is written.
        QVERIFY(!QFile::exists(clientFile));
        return;
    }
    QVERIFY(run({QStringLiteral("--show")}).out.contains(QStringLiteral("  SHA-256 ") + fingerprint + u'\n'));
    // Trusted twice is listed once; the other form of the file takes it back.
    QCOMPARE(run({QStringLiteral("--trust-certificate"), home.filePath(file)}).status, 0);
    QCOMPARE(run({QStringLiteral("--show")}).out.count(fingerprint), 1);
    const QString other =
        file == QStringLiteral("cert.pem") ? QStringLiteral("cert.der") : QStringLiteral("cert.pem");
    QCOMPARE(run({QStringLiteral("--untrust-certificate"), home.filePath(other)}).status, 0);
    QVERIFY(run({QStringLiteral("--show")}).out.contains(QStringLiteral("Trusted certificates: none\n")));
}

void TestQuilloSetup::singleSignOnServers_data() {
    QTest::addColumn<QString>("servers");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("shown");

    QTest::newRow("a pattern") << QStringLiteral("*.corp.example") << 0 << QStringLiteral("*.corp.example");
    QTest::newRow("empty turns it off") << QString() << 0 << QStringLiteral("none");
    QTest::newRow("a flag smuggled in is refused")
        << QStringLiteral("a.example --no-sandbox") << 1 << QStringLiteral("intranet.example");
}

void TestQuilloSetup::singleSignOnServers() {
    QFETCH(QString, servers);
    QFETCH(int, status);
    QFETCH(QString, shown);
    QCOMPARE(run({QStringLiteral("--sso-servers=intranet.example")}).status, 0);
    const Run result = run({QStringLiteral("--sso-servers=") + servers});
    QVERIFY2(result.status == status, qPrintable(result.out + result.err));
    QVERIFY(run({QStringLiteral("--show")})
                .out.contains(QStringLiteral("Single sign-on servers: ") + shown + u'\n'));
}

void TestQuilloSetup::autostart() {
    const QString entry = m_home->path() + QLatin1String(kAutostartFile);
    QCOMPARE(run({QStringLiteral("--autostart"), QStringLiteral("on")}).status, 0);
    QSettings desktop(entry, QSettings::IniFormat);
    desktop.beginGroup(QStringLiteral("Desktop Entry"));
    QCOMPARE(desktop.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
    QVERIFY2(desktop.value(QStringLiteral("Exec")).toString().endsWith(QStringLiteral("quillo")),
             qPrintable(desktop.value(QStringLiteral("Exec")).toString()));
    // Turning autostart on is no reason to create the settings key.
    QVERIFY(!QFile::exists(settingsPath()));
    QVERIFY(run({QStringLiteral("--show")}).out.contains(QStringLiteral("Autostart: on\n")));

    QCOMPARE(run({QStringLiteral("--autostart"), QStringLiteral("maybe")}).status, 1);
    QVERIFY(QFile::exists(entry));
    QCOMPARE(run({QStringLiteral("--autostart"), QStringLiteral("off")}).status, 0);
    QVERIFY(!QFile::exists(entry));
    QCOMPARE(run({QStringLiteral("--autostart"), QStringLiteral("off")}).status, 0);
}

void TestQuilloSetup::autostartEntryForInstallPath_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("percent sign: no field code") << QStringLiteral("Quillo 100%");
    QTest::newRow("spaces") << QStringLiteral("Live Chat/Quillo app");
    QTest::newRow("double and single quotes") << QStringLiteral("the \"best\" operator's tools");
    QTest::newRow("dollar, backtick and backslash") << QStringLiteral("$HOME `x` a\\b");
    QTest::newRow("percent field code look-alike") << QStringLiteral("%f %u %%");
}

// quillo-setup installed in an awkward folder, with the client beside it: the entry it writes
// passes the desktop's validator, a real launcher starts exactly that client from it, and once
// the client is gone the launcher skips the entry.
void TestQuilloSetup::autostartEntryForInstallPath() {
    QFETCH(QString, folder);
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (validator.isEmpty() || launcher.isEmpty())
        QSKIP("needs desktop-file-validate (desktop-file-utils) and gio (libglib2.0-bin)");

    const QString bin = m_home->path() + QStringLiteral("/install/") + folder + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(bin));
    const QString setup = bin + QStringLiteral("/quillo-setup");
    QVERIFY(QFile::copy(QStringLiteral(QUILLO_SETUP_PATH), setup));
    // The client stand-in writes the path it was started by, so the test sees what ran.
    const QString client = bin + QStringLiteral("/quillo");
    {
        QFile script(client);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$0\" > \"$QUILLO_PROBE\"\n");
    }
    QVERIFY(QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const Run result = run({QStringLiteral("--autostart"), QStringLiteral("on")}, setup);
    QVERIFY2(result.status == 0, qPrintable(result.err));
    const QString entry = m_home->path() + QLatin1String(kAutostartFile);

    QProcess validate;
    validate.start(validator, {entry});
    QVERIFY(validate.waitForFinished(20000));
    QFile written(entry);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray content = written.readAll();
    QVERIFY2(validate.exitCode() == 0 && validate.readAll().isEmpty(), content.constData());
    // Desktops that honour TryExec skip the entry once the client is gone.
    const QByteArray tryExec =
        "\nTryExec=" + QString(client).replace(u'\\', QStringLiteral("\\\\")).toUtf8() + '\n';
    QVERIFY2(content.contains(tryExec), content.constData());

    const QString probe = m_home->path() + QStringLiteral("/probe");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUILLO_PROBE"), probe);
    QProcess launch;
    launch.setProcessEnvironment(environment);
    launch.start(launcher, {QStringLiteral("launch"), entry});
    QVERIFY(launch.waitForFinished(20000));
    QVERIFY2(launch.exitCode() == 0, launch.readAllStandardError().constData());
    const auto started = [&probe] {
        QFile file(probe);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(started(), client, 10000);

    // Removed: the entry stays behind in the user's folder, but names a program that is gone.
    QVERIFY(QFile::remove(client));
    launch.start(launcher, {QStringLiteral("launch"), entry});
    QVERIFY(launch.waitForFinished(20000));
    QVERIFY2(launch.exitCode() != 0, content.constData());
}

QTEST_GUILESS_MAIN(TestQuilloSetup)

#include "test_quillo_setup.moc"
