#include "settings/client_settings.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace quillo;

namespace {

enum class Fault { None, Unreadable, Directory, HugeValue, ReplacedMeanwhile, WriteFails };
enum class ClientFault { FileIsDirectory, FolderIsFile, DiskFull, Corrupt, OtherWriter };

QStringList settingsWarnings;

void countSettingsWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && qstrcmp(context.category, "quillo.settings") == 0)
        settingsWarnings << message;
}

const QString kUrl = u"http://chat.example/console?id="_s;

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(ClientFault)

// The operator's settings file as the real backend sees it, broken in the ways a machine breaks it.
class TestSettingsFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void fault_data();
    void fault();
    void clientFile_data();
    void clientFile();

private:
    QString settingsPath() const { return m_home.path() + u"/Tarnwick/Tarnwick Live Chat.conf"_s; }
    void writeFile(const QList<std::pair<QString, QString>>& values) const;
    QVariant stored(const QString& name) const {
        return QSettings(settingsPath(), QSettings::IniFormat).value(name);
    }

    QTemporaryDir m_home;
};

void TestSettingsFaults::initTestCase() {
    QVERIFY(m_home.isValid());
    // The backend finds its file through XDG_CONFIG_HOME, read when QSettings is first used.
    qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
    // A write beyond the file-size limit must fail with an error, not end the test.
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestSettingsFaults::init() {
    QDir(m_home.path() + u"/Tarnwick"_s).removeRecursively();
    QVERIFY(QDir().mkpath(m_home.path() + u"/Tarnwick"_s));
}

void TestSettingsFaults::writeFile(const QList<std::pair<QString, QString>>& values) const {
    QSettings settings(settingsPath(), QSettings::IniFormat);
    for (const auto& [name, value] : values)
        settings.setValue(name, value);
    settings.sync();
}

void TestSettingsFaults::fault_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("readResult"); // of ReadSetting for URL
    QTest::addColumn<bool>("missing");
    QTest::addColumn<bool>("written"); // the new order number is in the file afterwards

    QTest::newRow("whole file with values of others: all kept, order number stored")
        << Fault::None << u"text"_s << false << true;
    QTest::newRow("file unreadable (mode 000): absent key, nothing written")
        << Fault::Unreadable << u"no key"_s << false << false;
    QTest::newRow("directory where the file should be: absent key, nothing written")
        << Fault::Directory << u"no key"_s << false << false;
    QTest::newRow("1 MB URL: too long to read, kept whole when the order number is stored")
        << Fault::HugeValue << u"too long"_s << true << true;
    QTest::newRow("file replaced by another process: its values are read and kept")
        << Fault::ReplacedMeanwhile << u"text"_s << false << true;
    QTest::newRow("write fails: logged, reported as failed, file unchanged")
        << Fault::WriteFails << u"text"_s << false << false;
}

void TestSettingsFaults::fault() {
    QFETCH(Fault, fault);
    QFETCH(QString, readResult);
    QFETCH(bool, missing);
    QFETCH(bool, written);
    const std::unique_ptr<SettingsBackend> backend = createUserSettings();
    QString url = kUrl;

    writeFile({{u"OrderID"_s, u"111"_s}, {u"URL"_s, kUrl}, {u"Extra/Colour"_s, u"blue"_s}});
    switch (fault) {
    case Fault::None:
    case Fault::WriteFails:
        break;
    case Fault::Unreadable:
        if (::geteuid() == 0)
            QSKIP("root reads a file of mode 000");
        QVERIFY(QFile::setPermissions(settingsPath(), {}));
        break;
    case Fault::Directory:
        QVERIFY(QFile::remove(settingsPath()));
        QVERIFY(QDir().mkpath(settingsPath()));
        break;
    case Fault::HugeValue:
        url = QString(1024 * 1024, u'u');
        writeFile({{u"URL"_s, url}});
        break;
    case Fault::ReplacedMeanwhile: {
        // The backend has read the file once; another program then swaps a new one in whole.
        QVERIFY(backend->value(kUrlValue).has_value());
        url = u"http://other.example/?id="_s;
        QSaveFile replacement(settingsPath());
        QVERIFY(replacement.open(QIODevice::WriteOnly));
        replacement.write("[General]\nOrderID=222\nURL=" + url.toUtf8() + "\n[Extra]\nColour=blue\n");
        QVERIFY(replacement.commit());
        break;
    }
    }

    bool settingMissing = false;
    const SettingResult read = ReadSetting(*backend, kUrlValue, kUrlBufferSize, settingMissing);
    QCOMPARE(settingMissing, missing);
    const QString outcome = read                                    ? u"text"_s
                            : read.error() == SettingError::NoKey   ? u"no key"_s
                            : read.error() == SettingError::TooLong ? u"too long"_s
                                                                    : u"no value"_s;
    QCOMPARE(outcome, readResult);
    if (read)
        QCOMPARE(QString::fromStdString(read.value()), url);

    if (fault == Fault::WriteFails) {
        // Room for the file as it is, not for a rewrite that grows it.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"could not store OrderID"_s));
        const rlimit limit{rlim_t(QFileInfo(settingsPath()).size()), RLIM_INFINITY};
        rlimit previous{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previous), 0);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        const bool stored = backend->setValue(kOrderIdValue, std::string(4096, '9'));
        ::setrlimit(RLIMIT_FSIZE, &previous);
        QVERIFY(!stored);
    } else {
        WriteSetting(*backend, "4242", kOrderIdValue);
    }

    if (fault == Fault::Directory) {
        QVERIFY(QFileInfo(settingsPath()).isDir());
        return;
    }
    if (fault == Fault::Unreadable)
        QVERIFY(QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(stored(u"OrderID"_s).toString() == u"4242"_s, written);
    QCOMPARE(stored(u"URL"_s).toString(), url);
    QCOMPARE(stored(u"Extra/Colour"_s).toString(), u"blue"_s);
}

// The client's own file through the one object a run has: a failed write is logged once for a run of
// them, every value stays readable, and the next write that succeeds stores them all.
void TestSettingsFaults::clientFile_data() {
    QTest::addColumn<ClientFault>("fault");
    QTest::addColumn<bool>("stored"); // what the writes during the fault return
    QTest::addColumn<int>("warnings");
    QTest::addColumn<QString>("earlier"); // the value from before, in the file at the end

    QTest::newRow("directory where the file should be: two writes fail, one warning")
        << ClientFault::FileIsDirectory << false << 1 << QString();
    QTest::newRow("file where its folder should be: two writes fail, one warning")
        << ClientFault::FolderIsFile << false << 1 << QString();
    QTest::newRow("no room for the file: two writes fail, one warning, the file as it was meanwhile")
        << ClientFault::DiskFull << false << 1 << u"repeat"_s;
    QTest::newRow("corrupt file: its readable values kept, writes succeed, one warning")
        << ClientFault::Corrupt << true << 1 << u"repeat"_s;
    QTest::newRow("another program writes its group between ours: both kept, no warning")
        << ClientFault::OtherWriter << true << 0 << u"repeat"_s;
}

void TestSettingsFaults::clientFile() {
    QFETCH(ClientFault, fault);
    QFETCH(bool, stored);
    QFETCH(int, warnings);
    QFETCH(QString, earlier);
    const QString folder = m_home.path() + u"/Quillo"_s;
    const QString path = folder + u"/quillo.ini"_s;
    QDir(folder).removeRecursively();
    QFile::remove(folder);
    QVERIFY(QDir().mkpath(folder));
    {
        QSettings before(path, QSettings::IniFormat);
        before.setValue(u"alerts/sound"_s, u"repeat"_s);
    }
    switch (fault) {
    case ClientFault::FileIsDirectory:
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path));
        break;
    case ClientFault::FolderIsFile: {
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        break;
    }
    case ClientFault::Corrupt: {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("[zoom\nthis line is no setting\n");
        break;
    }
    case ClientFault::DiskFull:
    case ClientFault::OtherWriter:
        break;
    }

    settingsWarnings.clear();
    const QtMessageHandler previousHandler = qInstallMessageHandler(countSettingsWarnings);
    const rlimit noRoom{rlim_t(QFileInfo(path).size()), RLIM_INFINITY};
    rlimit previousLimit{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    if (fault == ClientFault::DiskFull)
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &noRoom), 0);

    ClientSettings settings(path);
    const bool first = settings.setValue(u"mainWindow/state"_s, u"10,20,640,480,0,HDMI-1"_s);
    if (fault == ClientFault::OtherWriter) {
        // What quillo-setup does from its own process: reads the file, writes it whole with its value.
        QSaveFile other(path);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("[alerts]\nsound=repeat\n[mainWindow]\nstate=\"10,20,640,480,0,HDMI-1\"\n"
                    "[network]\nsingleSignOnServers=*.corp.example\n");
        QVERIFY(other.commit());
    }
    const bool second = settings.setValue(u"spelling/languages"_s, QStringList{u"en-US"_s, u"de-DE"_s});
    if (fault == ClientFault::DiskFull) {
        // Read as bytes, while there is no room: a QSettings of this process would share what is kept
        // and write it, as the next read or write does once there is room.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[alerts]\nsound=repeat\n"));
    }
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    QCOMPARE(first, stored);
    QCOMPARE(second, stored);
    QCOMPARE(settings.value(u"mainWindow/state"_s).toString(), u"10,20,640,480,0,HDMI-1"_s);

    if (fault == ClientFault::FileIsDirectory)
        QVERIFY(QDir(path).removeRecursively());
    if (fault == ClientFault::FolderIsFile) {
        QVERIFY(QFile::remove(folder));
        QVERIFY(QDir().mkpath(folder));
    }
    const bool third = settings.setValue(u"zoom/levels"_s, u"http://chat.example=1.5"_s);
    qInstallMessageHandler(previousHandler);
    QVERIFY(third);
    QCOMPARE(settingsWarnings.size(), warnings);

    // A copy, so that what this process keeps in memory for the file cannot stand in for it.
    const QString copy = m_home.path() + u"/copy.ini"_s;
    QFile::remove(copy);
    QVERIFY(QFile::copy(path, copy));
    const QSettings file(copy, QSettings::IniFormat);
    QCOMPARE(file.value(u"alerts/sound"_s).toString(), earlier);
    QCOMPARE(file.value(u"mainWindow/state"_s).toString(), u"10,20,640,480,0,HDMI-1"_s);
    QCOMPARE(file.value(u"spelling/languages"_s).toStringList(), (QStringList{u"en-US"_s, u"de-DE"_s}));
    QCOMPARE(file.value(u"zoom/levels"_s).toString(), u"http://chat.example=1.5"_s);
    if (fault == ClientFault::OtherWriter)
        QCOMPARE(file.value(u"network/singleSignOnServers"_s).toString(), u"*.corp.example"_s);
}

QTEST_GUILESS_MAIN(TestSettingsFaults)
#include "test_settings_faults.moc"
