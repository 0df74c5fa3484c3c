#include "tests/support/e2e_harness.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QTest>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kPoolSize = 100;
// The client's aim is an answer within a second (bench/bridge times it); a page that held up the
// console, as a nested event loop would, holds it for good. A loaded machine, with tests running
// side by side, gets five times the aim before the test calls the console frozen.
constexpr qint64 kMaxAnswerMs = 5000;
// The burst of 500 windows was answered in 0.5 to 0.7 s on a quiet machine, 2.3 s with the suite
// running side by side under load.
constexpr qint64 kMaxBurstAnswerMs = kMaxAnswerMs;
constexpr qint64 kMaxGrowthKb = 50 * 1024;
const QString kWindowTitle = u"Custom Browser - Window"_s;

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

bool consoleReport(const QJsonObject& report, const QString& event, const QString& call, qint64 afterMs) {
    return report.value(u"page"_s).toString() == u"console"_s &&
           report.value(u"event"_s).toString() == event && report.value(u"call"_s).toString() == call &&
           report.value(u"time_ms"_s).toInteger() > afterMs;
}

} // namespace

// Pages that attack the client from secondary windows while the operator's console keeps working.
class TestE2eHostile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void attack_data();
    void attack();
    void windowBurst();
    // Once every hostile page before it has been and gone.
    void memoryReturnsOnceClosed();
    // After the burst's windows are closed: the burst leaves the pool full until then.
    void forgedReportsAreIgnored();

private:
    // Opens the attack in a secondary window and pings the console until the attack reports its
    // end (or a ping goes unanswered): the slowest answer, and whether the attack finished.
    struct Outcome {
        qint64 slowestAnswerMs = 0;
        bool finished = false;
    };
    Outcome runAttack(const QString& name);

    std::unique_ptr<x11::WindowManager> m_windowManager;
    DemoService m_service;
    ConfigHome m_home;
    std::unique_ptr<QuilloProcess> m_quillo;
    qint64 m_startPssKb = 0;
};

void TestE2eHostile::initTestCase() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
    m_windowManager = x11::startWindowManager();
    QVERIFY2(m_windowManager, "no window manager could be started (is openbox installed?)");
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_home.writeSettings(u"7"_s, m_service.baseUrl().toString() + u"/console?id="_s);
    m_quillo = std::make_unique<QuilloProcess>(m_home, m_service);
    QVERIFY(m_quillo->start());
    QUILLO_VERIFY(m_service.waitForReport(
                      [](const QJsonObject& r) {
                          return r.value(u"page"_s).toString() == u"console"_s &&
                                 r.value(u"event"_s).toString() == u"version"_s;
                      },
                      30000),
                  *m_quillo);
    // Past the renderer's start-up allocations: they take longer on a loaded machine, so the start is
    // when two readings a second apart agree within a megabyte (10 s at the least, as before).
    QTest::qWait(10000);
    qint64 previous = processTreePss(m_quillo->pid());
    QDeadlineTimer settle(60000);
    while (!settle.hasExpired()) {
        QTest::qWait(1000);
        m_startPssKb = processTreePss(m_quillo->pid());
        if (std::abs(m_startPssKb - previous) < 1024)
            break;
        previous = m_startPssKb;
    }
    qInfo("PSS at start %lld MB", m_startPssKb / 1024);
}

void TestE2eHostile::attack_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("every method with no, wrong, NaN, infinite, 10 MB and deeply nested arguments")
        << u"args"_s;
    QTest::newRow("10,000 calls in a tight loop") << u"flood"_s;
    QTest::newRow("records full of escape bytes and delimiters") << u"records"_s;
    // The first call ends the window; the rest must not end the main window, active next.
    QTest::newRow("CB_Close storm from a secondary window") << u"close"_s;
    // A dialog that waits for its answer would hold up every page of the engine, the console's too.
    QTest::newRow("alert(), confirm(), prompt() and print() in a loop") << u"dialogs"_s;
}

void TestE2eHostile::attack() {
    QFETCH(QString, name);
    const Outcome outcome = runAttack(name);
    QUILLO_VERIFY(outcome.finished, *m_quillo);
    QVERIFY2(outcome.slowestAnswerMs < kMaxAnswerMs, qPrintable(QString::number(outcome.slowestAnswerMs)));
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
    QVERIFY(x11::findWindowByTitle(u"Quillo"_s, 1000));
}

TestE2eHostile::Outcome TestE2eHostile::runAttack(const QString& name) {
    const qint64 openedAt = nowMs();
    const QJsonArray open{m_service.baseUrl().toString() + u"/cases/hostile/"_s + name, 40, 40, 600, 400, 0};
    if (!m_service.pushCommand(
            {{u"call"_s, u"CB_OpenWindow"_s}, {u"args"_s, open}, {u"page"_s, u"console"_s}}))
        return {};
    const auto finished = [&](const QJsonObject& r) {
        return r.value(u"event"_s).toString() == u"hostile-done"_s &&
               r.value(u"attack"_s).toString() == name && r.value(u"time_ms"_s).toInteger() > openedAt;
    };

    // While the attack runs, and once after it, the console's calls are answered at once.
    constexpr int kGiveUpMs = 15000;
    const QString call = u"CB_IsOurCustomBrowser"_s;
    qint64 slowest = 0;
    std::optional<QJsonObject> done;
    const QDeadlineTimer deadline(120000);
    for (bool last = false; !last;) {
        last = done.has_value() || deadline.hasExpired();
        const qint64 pingAt = nowMs();
        m_service.pushCommand({{u"call"_s, call}, {u"page"_s, u"console"_s}});
        const auto called = m_service.waitForReport(
            [&](const QJsonObject& r) { return consoleReport(r, u"called"_s, call, pingAt); }, kGiveUpMs);
        const auto calling = m_service.waitForReport(
            [&](const QJsonObject& r) { return consoleReport(r, u"calling"_s, call, pingAt); }, 0);
        if (!called || !calling) {
            slowest = kGiveUpMs;
            break;
        }
        slowest = std::max(slowest, called->value(u"time_ms"_s).toInteger() -
                                        calling->value(u"time_ms"_s).toInteger());
        if (!done)
            done = m_service.waitForReport(finished, 300);
    }
    // A page whose calls are held up finishes once the client answers again; one that was given
    // the whole time while the console answered is not waited for twice.
    if (!done && slowest >= kGiveUpMs)
        done = m_service.waitForReport(finished, 120000);
    if (!done)
        return {slowest, false};
    qInfo("%s: attack took %lld ms in the page, outcomes %s, slowest console answer %lld ms",
          qPrintable(name), done->value(u"ms"_s).toInteger(),
          QJsonDocument(done->value(u"counts"_s).toObject()).toJson(QJsonDocument::Compact).constData(),
          slowest);
    return {slowest, true};
}

void TestE2eHostile::memoryReturnsOnceClosed() {
    QVERIFY(!x11::windowsByTitle(kWindowTitle).isEmpty());
    // Asked again while any is left: a window still being mapped may miss the first request.
    const auto closeAll = [] {
        const QList<x11::WindowId> left = x11::windowsByTitle(kWindowTitle);
        for (const x11::WindowId window : left)
            x11::requestClose(window);
        return left.isEmpty();
    };
    // Awaited on the clock: QTRY counts its timeout in 50 ms steps, and with a walk of the window
    // tree or of /proc in every step its minute became many on a loaded machine.
    QVERIFY2(QTest::qWaitFor(closeAll, 60000), "the hostile windows did not close");
    // Ended windows unload their pages; their renderers take a while to go on a busy machine, so
    // the memory is given a minute to come back.
    qint64 pss = 0;
    const auto returned = [&] {
        pss = processTreePss(m_quillo->pid());
        return pss - m_startPssKb < kMaxGrowthKb;
    };
    const auto kept = [&] {
        return QString(u"%1 MB kept, %2 processes"_s)
            .arg((pss - m_startPssKb) / 1024)
            .arg(processTreePids(m_quillo->pid()).size());
    };
    QVERIFY2(QTest::qWaitFor(returned, 60000), qPrintable(kept()));
    qInfo("PSS at start %lld MB, after the hostile windows closed: %s", m_startPssKb / 1024,
          qPrintable(kept()));
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
}

void TestE2eHostile::windowBurst() {
    const Outcome outcome = runAttack(u"windows"_s);
    if (!m_quillo->isRunning())
        qInfo("quillo ended: %s, code %d",
              m_quillo->exitStatus() == QProcess::CrashExit ? "crashed" : "exited", m_quillo->exitCode());
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
    QVERIFY(x11::windowsByTitle(kWindowTitle).size() <= kPoolSize);
    QVERIFY(outcome.finished);
    QVERIFY2(outcome.slowestAnswerMs < kMaxBurstAnswerMs,
             qPrintable(QString::number(outcome.slowestAnswerMs)));
}

// Lines dressed as the client's own report of a failed sound, from a trusted page's own script and
// from a frame of another site in it, leave nothing in the log; a sound that really fails does.
void TestE2eHostile::forgedReportsAreIgnored() {
    QUILLO_VERIFY(runAttack(u"reports"_s).finished, *m_quillo);
    QTRY_VERIFY2_WITH_TIMEOUT(m_quillo->output().contains(u"real-failure.ogg"_s),
                              qPrintable(m_quillo->output()), 20000);
    QVERIFY2(!m_quillo->output().contains(u"forged"_s), qPrintable(m_quillo->output()));
}

QTEST_MAIN(TestE2eHostile)
#include "test_e2e_hostile.moc"
