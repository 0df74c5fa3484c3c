#include "browser_host/caller_window.h"
#include "browser_windows/custom_browser_dlg.h"
#include "main_window/chat_main_dlg.h"
#include "tests/settings/fake_settings_backend.h"

#include <QApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

// CB_OpenWindow as the main window carries it out, without browsers: which slot opens, where the
// window goes, what is refused, and how ended windows come back only once the pool is used up.
class TestOpenWindow final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void request_data();
    void request();
    void sixthArgumentChangesNothing();
    void sameAddressTwiceOpensTwoWindows();
    void requestAfterCloseTakesNextSlot();
    void closeActiveWindowEndsOnlyThatWindow();
    void fullPoolReusesLowestEndedSlot();

private:
    static std::unique_ptr<CChatMainDlg> makeDialog();
    static void open(CChatMainDlg& dialog, const char* url, int x = 100, int y = 100) {
        dialog.OpenWindow(url, x, y, 400, 300, 0);
    }
};

void TestOpenWindow::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 800, 800));
}

std::unique_ptr<CChatMainDlg> TestOpenWindow::makeDialog() {
    auto dialog = std::make_unique<CChatMainDlg>();
    dialog->setSettingsBackend(std::make_unique<FakeSettingsBackend>());
    return dialog;
}

void TestOpenWindow::request_data() {
    QTest::addColumn<QByteArray>("url");
    QTest::addColumn<QRect>("requested");
    QTest::addColumn<QRect>("outer"); // null: nothing opens

    const QRect inside(120, 80, 400, 300);
    QTest::newRow("http address at the asked place and size")
        << QByteArray("http://127.0.0.1:8080/pages/a.html") << inside << inside;
    QTest::newRow("https address") << QByteArray("https://chat.tarnwick.example/") << inside << inside;
    QTest::newRow("file address refused") << QByteArray("file:///etc/passwd") << inside << QRect();
    QTest::newRow("javascript address refused") << QByteArray("javascript:alert(1)") << inside << QRect();
    QTest::newRow("data address refused") << QByteArray("data:text/html,<b>x</b>") << inside << QRect();
    QTest::newRow("about address refused") << QByteArray("about:blank") << inside << QRect();
    QTest::newRow("ftp address refused") << QByteArray("ftp://files.example/x") << inside << QRect();
    QTest::newRow("relative address left unresolved refused")
        << QByteArray("pages/a.html") << inside << QRect();
    QTest::newRow("address a strict parser rejects") << QByteArray("http://host/%zz") << inside << QRect();
    QTest::newRow("zero size raised to the minimum")
        << QByteArray("http://host/") << QRect(10, 20, 0, 0) << QRect(10, 20, 136, 39);
    QTest::newRow("entirely left of the screen moves onto it, size kept")
        << QByteArray("http://host/") << QRect(-5000, 50, 400, 300) << QRect(0, 50, 400, 300);
    QTest::newRow("largest size a page can ask for: cut to the screen")
        << QByteArray("http://host/") << QRect(0, 0, 32767, 32767) << QRect(0, 0, 800, 800);
    QTest::newRow("entirely below the screen moves up onto it")
        << QByteArray("http://host/") << QRect(100, 4000, 400, 300) << QRect(100, 500, 400, 300);
}

void TestOpenWindow::request() {
    QFETCH(QByteArray, url);
    QFETCH(QRect, requested);
    QFETCH(QRect, outer);

    auto dialog = makeDialog();
    dialog->OpenWindow(url.toStdString(), requested.x(), requested.y(), requested.width(), requested.height(),
                       0);
    if (outer.isNull()) {
        QCOMPARE(dialog->browserCount(), 0);
        QCOMPARE(dialog->poolWindow(0), nullptr);
        return;
    }
    QCOMPARE(dialog->browserCount(), 1);
    CCustomBrowserDlg* window = dialog->poolWindow(0);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->url(), QString::fromUtf8(url));
    QCOMPARE(window->frameGeometry(), outer);
    QCOMPARE(dialog->poolWindow(1), nullptr);
}

void TestOpenWindow::sixthArgumentChangesNothing() {
    auto dialog = makeDialog();
    for (const int sixth : {0, 1, -1, 7, INT_MAX, INT_MIN})
        dialog->OpenWindow("http://host/", 30, 40, 500, 350, sixth);
    QCOMPARE(dialog->browserCount(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(dialog->poolWindow(i)->frameGeometry(), QRect(30, 40, 500, 350));
        QVERIFY(dialog->poolWindow(i)->isVisible());
    }
}

void TestOpenWindow::sameAddressTwiceOpensTwoWindows() {
    auto dialog = makeDialog();
    open(*dialog, "http://host/same");
    open(*dialog, "http://host/same");
    QCOMPARE(dialog->browserCount(), 2);
    QVERIFY(dialog->poolWindow(0) != dialog->poolWindow(1));
    QVERIFY(dialog->poolWindow(0)->isVisible());
    QVERIFY(dialog->poolWindow(1)->isVisible());
}

void TestOpenWindow::requestAfterCloseTakesNextSlot() {
    auto dialog = makeDialog();
    open(*dialog, "http://host/first");
    CCustomBrowserDlg* first = dialog->poolWindow(0);
    first->close();
    QVERIFY(!first->isVisible());

    open(*dialog, "http://host/second");
    QCOMPARE(dialog->browserCount(), 2);
    QCOMPARE(dialog->poolWindow(0), first);
    QVERIFY(!first->isVisible());
    QCOMPARE(first->url(), QStringLiteral("http://host/first"));
    QCOMPARE(dialog->poolWindow(1)->url(), QStringLiteral("http://host/second"));
    QVERIFY(dialog->poolWindow(1)->isVisible());
}

void TestOpenWindow::closeActiveWindowEndsOnlyThatWindow() {
    auto dialog = makeDialog();
    dialog->show();
    open(*dialog, "http://host/a");
    open(*dialog, "http://host/b");
    CCustomBrowserDlg* active = dialog->poolWindow(1);
    dialog->setActiveWindowOverride([&] { return active; });

    const quillo::CallerWindow caller(*active);
    dialog->CloseActiveWindow(&caller);
    QVERIFY(!active->isVisible());
    QVERIFY(active->isEnded());
    QVERIFY(dialog->poolWindow(0)->isVisible());
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->result(), 0);
    QCOMPARE(dialog->browserCount(), 2);
}

void TestOpenWindow::fullPoolReusesLowestEndedSlot() {
    auto dialog = makeDialog();
    for (int i = 0; i < CChatMainDlg::kPoolSize; ++i)
        open(*dialog, "http://host/pool");
    QCOMPARE(dialog->browserCount(), 100);

    open(*dialog, "http://host/none-free", 10, 10);
    QCOMPARE(dialog->browserCount(), 100);
    for (int i = 0; i < CChatMainDlg::kPoolSize; ++i)
        QCOMPARE(dialog->poolWindow(i)->url(), QStringLiteral("http://host/pool"));

    dialog->poolWindow(70)->close();
    dialog->poolWindow(30)->done(1);
    open(*dialog, "http://host/reused", 10, 10);
    QCOMPARE(dialog->browserCount(), 100);
    CCustomBrowserDlg* reused = dialog->poolWindow(30);
    QVERIFY(reused->isVisible());
    QVERIFY(!reused->isEnded());
    QCOMPARE(reused->url(), QStringLiteral("http://host/reused"));
    QCOMPARE(reused->frameGeometry(), QRect(10, 10, 400, 300));
    QVERIFY(!dialog->poolWindow(70)->isVisible());

    open(*dialog, "http://host/next", 10, 10);
    QVERIFY(dialog->poolWindow(70)->isVisible());
    QCOMPARE(dialog->poolWindow(70)->url(), QStringLiteral("http://host/next"));

    open(*dialog, "http://host/none-free-again", 10, 10);
    QCOMPARE(dialog->browserCount(), 100);
    QCOMPARE(dialog->poolWindow(CChatMainDlg::kPoolSize - 1)->url(), QStringLiteral("http://host/pool"));
}

QTEST_MAIN(TestOpenWindow)
#include "test_open_window.moc"
