#include "tests/support/e2e_harness.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kPoolSize = 100;
constexpr qint64 kMaxAnswerMs = 1000;
constexpr qint64 kMaxGrowthKb = 50 * 1024;
const QString kWindowTitle = u"Custom Browser - Window"_s;

#define QUILLO_VERIFY(condition, process) QVERIFY2(condition, qPrintable((process).output()))

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
    void memoryReturnsOnceClosed();

private:
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
    // Past the renderer's start-up allocations.
    QTest::qWait(10000);
    m_startPssKb = processTreePss(m_quillo->pid());
}

void TestE2eHostile::attack_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("every method with no, wrong, NaN, infinite, 10 MB and deeply nested arguments")
        << u"args"_s;
    QTest::newRow("10,000 calls in a tight loop") << u"flood"_s;
    QTest::newRow("records full of escape bytes and delimiters") << u"records"_s;
    QTest::newRow("500 openings: other schemes, off-screen, negative and huge rectangles") << u"windows"_s;
}

void TestE2eHostile::attack() {
    QFETCH(QString, name);
    const qint64 openedAt = nowMs();
    QVERIFY(m_service.pushCommand(
        {{u"call"_s, u"CB_OpenWindow"_s},
         {u"args"_s,
          QJsonArray{m_service.baseUrl().toString() + u"/cases/hostile/"_s + name, 40, 40, 600, 400, 0}},
         {u"page"_s, u"console"_s}}));
    const auto finished = [&](const QJsonObject& r) {
        return r.value(u"event"_s).toString() == u"hostile-done"_s &&
               r.value(u"attack"_s).toString() == name && r.value(u"time_ms"_s).toInteger() > openedAt;
    };

    // While the attack runs, and once after it, the console's calls are answered at once.
    QList<qint64> answers;
    std::optional<QJsonObject> done;
    const QDeadlineTimer deadline(120000);
    for (bool last = false; !last;) {
        last = done.has_value() || deadline.hasExpired();
        const qint64 pingAt = nowMs();
        const QString call = u"CB_IsOurCustomBrowser"_s;
        QVERIFY(m_service.pushCommand({{u"call"_s, call}, {u"page"_s, u"console"_s}}));
        const auto called = m_service.waitForReport(
            [&](const QJsonObject& r) { return consoleReport(r, u"called"_s, call, pingAt); }, 15000);
        QUILLO_VERIFY(called, *m_quillo);
        const auto calling = m_service.waitForReport(
            [&](const QJsonObject& r) { return consoleReport(r, u"calling"_s, call, pingAt); }, 0);
        QVERIFY(calling);
        answers.append(called->value(u"time_ms"_s).toInteger() - calling->value(u"time_ms"_s).toInteger());
        if (!done)
            done = m_service.waitForReport(finished, 300);
    }
    QUILLO_VERIFY(done, *m_quillo);
    const qint64 slowest = *std::max_element(answers.begin(), answers.end());
    qInfo("%s: attack took %lld ms in the page, %lld console calls, slowest answered in %lld ms",
          qPrintable(name), done->value(u"ms"_s).toInteger(), qint64(answers.size()), slowest);
    QVERIFY2(slowest < kMaxAnswerMs, qPrintable(QString::number(slowest)));
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
    QVERIFY(x11::findWindowByTitle(u"Quillo"_s, 1000));
    QVERIFY(x11::windowsByTitle(kWindowTitle).size() <= kPoolSize);
}

void TestE2eHostile::memoryReturnsOnceClosed() {
    const QList<x11::WindowId> windows = x11::windowsByTitle(kWindowTitle);
    QVERIFY(!windows.isEmpty());
    for (const x11::WindowId window : windows)
        QVERIFY(x11::requestClose(window));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(kWindowTitle).isEmpty(), 60000);
    // Ended windows unload their pages; their renderers take a moment to go.
    QTest::qWait(15000);
    const qint64 pss = processTreePss(m_quillo->pid());
    qInfo("PSS at start %lld MB, after the hostile windows closed %lld MB", m_startPssKb / 1024, pss / 1024);
    QVERIFY2(pss - m_startPssKb < kMaxGrowthKb, qPrintable(QString::number((pss - m_startPssKb) / 1024)));
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
}

QTEST_MAIN(TestE2eHostile)
#include "test_e2e_hostile.moc"
