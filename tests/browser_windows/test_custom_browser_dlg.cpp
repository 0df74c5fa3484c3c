#include "browser_host/custom_occ_manager.h"
#include "browser_host/web_browser2.h"
#include "browser_windows/custom_browser_dlg.h"
#include "page_contract/external_dispatch.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <unistd.h>

// The secondary window with a real browser: it fills the window, navigates when shown and only
// then, and an ended window hides and lets go of its page.
class TestCustomBrowserDlg final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowLooksLikeAWindow();
    void browserFillsClientArea_data();
    void browserFillsClientArea();
    void showNavigates();
    void hideDoesNotNavigate();
    void endingUnloadsPage_data();
    void endingUnloadsPage();
    void showingAgainLoadsTheNewAddress();
    void withoutContainerNothingLoads();

private:
    static QUrl page(const char* text);
    std::unique_ptr<CCustomBrowserDlg> openedWindow(const QUrl& url);

    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<CExternalDispatch> m_external;
    std::unique_ptr<CCustomOccManager> m_manager;
};

void TestCustomBrowserDlg::initTestCase() {
    m_profile = std::make_unique<QWebEngineProfile>();
    m_external = std::make_unique<CExternalDispatch>([]() -> quillo::ExternalTarget* { return nullptr; });
    m_manager = std::make_unique<CCustomOccManager>(quillo::BrowserServices{
        .profile = *m_profile,
        .external = *m_external,
        .trust = {},
        .scripts = quillo::buildExternalScripts({}, QStringLiteral("token")),
        .makePage = [this](QWebEngineView& browser) { return new QWebEnginePage(m_profile.get(), &browser); },
    });
}

QUrl TestCustomBrowserDlg::page(const char* text) {
    return QUrl(QStringLiteral("data:text/html,<title>%1</title><p>%1</p>").arg(QLatin1String(text)));
}

std::unique_ptr<CCustomBrowserDlg> TestCustomBrowserDlg::openedWindow(const QUrl& url) {
    auto window = std::make_unique<CCustomBrowserDlg>(m_manager.get());
    if (!window->Create())
        return nullptr;
    QSignalSpy loaded(window->browser(), &CWebBrowser2::loadFinished);
    window->setUrl(url.toString());
    window->show();
    if (!loaded.wait(20000))
        return nullptr;
    return window;
}

void TestCustomBrowserDlg::windowLooksLikeAWindow() {
    CCustomBrowserDlg window(m_manager.get());
    QCOMPARE(window.windowTitle(), QStringLiteral("Custom Browser - Window"));
    const Qt::WindowFlags flags = window.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(flags.testFlags(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                            Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(!window.isVisible());
}

void TestCustomBrowserDlg::browserFillsClientArea_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("maximise");

    QTest::newRow("larger than the template") << QSize(900, 700) << false;
    QTest::newRow("smaller than the browser's template place") << QSize(60, 40) << false;
    QTest::newRow("wide and flat") << QSize(1200, 90) << false;
    QTest::newRow("maximised") << QSize(300, 200) << true;
}

void TestCustomBrowserDlg::browserFillsClientArea() {
    QFETCH(QSize, size);
    QFETCH(bool, maximise);

    CCustomBrowserDlg window(m_manager.get());
    QVERIFY(window.Create());
    window.show();
    window.resize(size);
    if (maximise)
        window.showMaximized();
    QTRY_COMPARE(window.browser()->geometry(), window.rect());
    QVERIFY(window.rect().size() != QSize(0, 0));
    if (!maximise)
        QCOMPARE(window.browser()->size(), size);
    else
        QTRY_VERIFY(window.browser()->width() > size.width());
}

void TestCustomBrowserDlg::showNavigates() {
    const QUrl url = page("shown");
    auto window = openedWindow(url);
    QVERIFY(window);
    QCOMPARE(window->browser()->url(), url);
    QVERIFY(!window->isEnded());
}

void TestCustomBrowserDlg::hideDoesNotNavigate() {
    const QUrl url = page("kept");
    auto window = openedWindow(url);
    QVERIFY(window);
    // A reload would wipe what script left in the page.
    window->browser()->page()->runJavaScript(QStringLiteral("window.marker = 42;"));
    QSignalSpy started(window->browser(), &CWebBrowser2::loadStarted);

    window->hide();
    // Nothing to wait for when all is well; give a wrongly started load time to show itself.
    QTest::qWait(500);
    QCOMPARE(started.count(), 0);
    QCOMPARE(window->browser()->url(), url);
    QVariant marker;
    bool answered = false;
    window->browser()->page()->runJavaScript(QStringLiteral("window.marker"), [&](const QVariant& value) {
        marker = value;
        answered = true;
    });
    QTRY_VERIFY(answered);
    QCOMPARE(marker.toInt(), 42);
    QVERIFY(!window->isEnded());
}

void TestCustomBrowserDlg::endingUnloadsPage_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("CB_Close ends it with result 1") << QStringLiteral("done1");
    QTest::newRow("reject, as the session's end does") << QStringLiteral("reject");
    QTest::newRow("close box") << QStringLiteral("close");
}

void TestCustomBrowserDlg::endingUnloadsPage() {
    QFETCH(QString, how);

    const QUrl url = page("ending");
    auto window = openedWindow(url);
    QVERIFY(window);
    QSignalSpy ended(window.get(), &CCustomBrowserDlg::ended);
    if (how == QLatin1String("done1"))
        window->done(1);
    else if (how == QLatin1String("reject"))
        window->reject();
    else
        window->close();

    QVERIFY(!window->isVisible());
    QVERIFY(window->isEnded());
    QCOMPARE(ended.count(), 1);
    // The browser goes, and its page with it.
    const QPointer<QWebEnginePage> endedPage = window->browser()->page();
    QTRY_VERIFY(window->browser() == nullptr);
    QTRY_VERIFY(endedPage.isNull());
    // The window object stays, with its address, for its pool slot.
    QCOMPARE(window->url(), url.toString());

    // Ending an ended window again is not a second end.
    window->done(1);
    QCOMPARE(ended.count(), 1);
}

void TestCustomBrowserDlg::showingAgainLoadsTheNewAddress() {
    auto window = openedWindow(page("first"));
    QVERIFY(window);
    window->done(1);
    QTRY_VERIFY(window->browser() == nullptr);

    const QUrl second = page("second");
    window->setUrl(second.toString());
    window->show();
    QTRY_COMPARE(window->browser()->url(), second);
    QVERIFY(!window->isEnded());
}

void TestCustomBrowserDlg::withoutContainerNothingLoads() {
    CCustomBrowserDlg window(nullptr);
    const bool created = window.Create();
    QVERIFY(!created);
    QCOMPARE(window.browser(), nullptr);
    window.setUrl(page("nowhere").toString());
    window.show();
    window.resize(400, 300);
    window.done(1);
    QVERIFY(window.isEnded());
}

int main(int argc, char* argv[]) {
    // Chromium refuses its sandbox to root, as in the client itself.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    TestCustomBrowserDlg test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_custom_browser_dlg.moc"
