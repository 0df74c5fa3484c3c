#include "main_window/settings_store.h"

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

const QString kUrl = u"http://chat.example/console?id="_s;

} // namespace

Q_DECLARE_METATYPE(Fault)

// The operator's settings file as the real backend sees it, broken in the ways a machine breaks it.
class TestSettingsFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void fault_data();
    void fault();

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

QTEST_GUILESS_MAIN(TestSettingsFaults)
#include "test_settings_faults.moc"
