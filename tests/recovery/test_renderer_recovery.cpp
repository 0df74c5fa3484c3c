#include "recovery/renderer_recovery.h"

#include <QHttpServer>
#include <QHttpServerResponse>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <csignal>

using namespace Qt::StringLiterals;
using quillo::RendererRecovery;

// The waiting page over a real browser: what it says, how long it waits, and what a retry does
// to the history.
class TestRendererRecovery : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void unreachableServiceIsRetriedInPlace();
    void deadRendererIsReloaded();

private:
    RendererRecovery* recovery() const { return m_recovery; }

    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<QWidget> m_window;
    QWebEngineView* m_browser = nullptr;
    RendererRecovery* m_recovery = nullptr;
};

void TestRendererRecovery::initTestCase() {
    m_profile = std::make_unique<QWebEngineProfile>();
}

void TestRendererRecovery::init() {
    m_window = std::make_unique<QWidget>();
    m_window->resize(640, 480);
    m_browser = new QWebEngineView(m_window.get());
    m_browser->setPage(new QWebEnginePage(m_profile.get(), m_browser));
    m_recovery = new RendererRecovery(*m_browser, [] { return false; });
    m_browser->resize(640, 480);
    m_window->show();
}

void TestRendererRecovery::cleanup() {
    m_window.reset();
}

void TestRendererRecovery::unreachableServiceIsRetriedInPlace() {
    // A port nothing listens on, until the service comes up there.
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    // Each verdict is told once the recovery has acted on it: the waiting page is up, or gone.
    QList<std::pair<quillo::LoadVerdict, bool>> judged;
    connect(recovery(), &RendererRecovery::loadJudged, this, [&judged, this](quillo::LoadVerdict verdict) {
        judged.append({verdict, recovery()->isWaiting()});
    });
    const QUrl address(u"http://127.0.0.1:%1/console"_s.arg(port));
    m_browser->load(address);
    QTRY_VERIFY_WITH_TIMEOUT(recovery()->isWaiting(), 10000);
    QStringList texts = recovery()->waitingTexts();
    QCOMPARE(texts.at(0), u"Can't reach the chat service"_s);
    QVERIFY2(texts.at(1).contains(address.toDisplayString()), qPrintable(texts.at(1)));
    QVERIFY2(texts.at(2).contains(u"in 2 seconds"_s) || texts.at(2).contains(u"in 3 seconds"_s),
             qPrintable(texts.at(2)));
    QCOMPARE(texts.at(3), u"Try now"_s);
    QVERIFY(recovery()->scheduledWaitMs() >= 2000 && recovery()->scheduledWaitMs() <= 2200);

    // "Try now" fails again: the next wait doubles, and the failed entry is reloaded, not added.
    QSignalSpy finished(m_browser, &QWebEngineView::loadFinished);
    recovery()->tryNow();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(recovery()->scheduledWaitMs() >= 4000, 5000);
    QVERIFY(recovery()->scheduledWaitMs() <= 4400);
    QCOMPARE(m_browser->history()->count(), 1);
    QCOMPARE(m_browser->url(), address);

    QHttpServer service;
    service.route(u"/console"_s, [] { return QHttpServerResponse("text/html"_ba, "<p>console</p>"_ba); });
    QCOMPARE(service.listen(QHostAddress::LocalHost, port), port);
    recovery()->tryNow();
    QTRY_VERIFY_WITH_TIMEOUT(!recovery()->isWaiting(), 10000);
    QCOMPARE(m_browser->history()->count(), 1);
    QVERIFY(!m_browser->history()->canGoBack());
    using quillo::LoadVerdict;
    const QList<std::pair<LoadVerdict, bool>> expected = {
        {LoadVerdict::Unreachable, true}, {LoadVerdict::Unreachable, true}, {LoadVerdict::Loaded, false}};
    QCOMPARE(judged, expected);
}

void TestRendererRecovery::deadRendererIsReloaded() {
    QHttpServer service;
    int served = 0;
    service.route(u"/console"_s, [&served] {
        ++served;
        return QHttpServerResponse("text/html"_ba, "<p>console</p>"_ba);
    });
    const quint16 port = service.listen(QHostAddress::LocalHost);
    QVERIFY(port != 0);
    QSignalSpy finished(m_browser, &QWebEngineView::loadFinished);
    m_browser->load(QUrl(u"http://127.0.0.1:%1/console"_s.arg(port)));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(m_browser->page()->renderProcessPid() > 0, 5000);

    ::kill(pid_t(m_browser->page()->renderProcessPid()), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(recovery()->isWaiting(), 5000);
    const QStringList texts = recovery()->waitingTexts();
    QCOMPARE(texts.at(1), u"The page's renderer was ended by the system."_s);
    QCOMPARE(texts.at(3), u"Reload now"_s);
    QCOMPARE(recovery()->scheduledWaitMs(), 500);
    QTRY_VERIFY_WITH_TIMEOUT(!recovery()->isWaiting(), 10000);
    QCOMPARE(served, 2);
    QCOMPARE(m_browser->history()->count(), 1);
}

QTEST_MAIN(TestRendererRecovery)
#include "test_renderer_recovery.moc"
