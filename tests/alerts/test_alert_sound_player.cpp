// The player's checks of each play, through a sound service that fails as the test says.

#include "alerts/alert_sound_player.h"
#include "platform/event_sound.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace quillo;
using namespace Qt::StringLiterals;

namespace {

// Plays by the script: per attempt 'p' played, 'f' failed, 'n' never reports.
class ScriptedSound final : public EventSound {
public:
    QString script;
    int attempts = 0;
    int reopens = 0;
    QString lastFile;

    void play(quint32 id, const QString& filePath) override {
        lastFile = filePath;
        const QChar outcome = attempts < script.size() ? script.at(attempts) : u'f';
        ++attempts;
        if (outcome != u'n')
            QMetaObject::invokeMethod(
                this, [this, id, outcome] { emit finished(id, outcome == u'p', u"scripted"_s); },
                Qt::QueuedConnection);
    }
    void reopen() override { ++reopens; }
};

QStringList s_logged;

} // namespace

class TestAlertSoundPlayer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
            if (QLatin1StringView(context.category) == "quillo.alerts"_L1)
                s_logged << message;
        });
    }

    void retriesOnceAndLogsOnce_data() {
        QTest::addColumn<QStringList>("plays"); // each play's attempts
        QTest::addColumn<QList<bool>>("played");
        QTest::addColumn<int>("reopens");
        QTest::addColumn<QStringList>("logged"); // the start of each line logged
        QTest::newRow("plays") << QStringList{u"p"_s} << QList<bool>{true} << 0 << QStringList{};
        QTest::newRow("fails, plays on a reopened connection")
            << QStringList{u"fp"_s} << QList<bool>{true} << 1 << QStringList{};
        QTest::newRow("never ends, plays on a reopened connection")
            << QStringList{u"np"_s} << QList<bool>{true} << 1 << QStringList{};
        QTest::newRow("fails twice: logged once for both plays, and when it plays again")
            << QStringList{u"ff"_s, u"ff"_s, u"fp"_s} << QList<bool>{false, false, true} << 3
            << QStringList{u"the alert sound could not play: scripted"_s, u"the alert sound plays again"_s};
    }

    void retriesOnceAndLogsOnce() {
        QFETCH(QStringList, plays);
        QFETCH(QList<bool>, played);
        QFETCH(int, reopens);
        QFETCH(QStringList, logged);
        auto sound = std::make_unique<ScriptedSound>();
        ScriptedSound& scripted = *sound;
        scripted.script = plays.join(QString());
        alerts::AlertSoundPlayer player(std::move(sound), nullptr);
        QSignalSpy outcomes(&player, &alerts::AlertSoundPlayer::played);
        s_logged.clear();
        for (qsizetype i = 0; i < plays.size(); ++i) {
            player.play();
            QTRY_COMPARE_WITH_TIMEOUT(outcomes.size(), i + 1,
                                      alerts::AlertSoundPlayer::kPlayTimeoutMs + 2000);
        }
        QList<bool> results;
        for (const QList<QVariant>& outcome : outcomes)
            results << outcome.at(0).toBool();
        QCOMPARE(results, played);
        QCOMPARE(scripted.reopens, reopens);
        QCOMPARE(s_logged.size(), logged.size());
        for (qsizetype i = 0; i < logged.size(); ++i)
            QVERIFY2(s_logged[i].startsWith(logged[i]), qPrintable(s_logged[i]));
        // The service is given the client's own sound, as a file.
        QFile file(scripted.lastFile);
        QFile resource(u":/sounds/alert.wav"_s);
        QVERIFY(file.open(QIODevice::ReadOnly) && resource.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), resource.readAll());
    }
};

QTEST_GUILESS_MAIN(TestAlertSoundPlayer)
#include "test_alert_sound_player.moc"
