#include "browser_host/caller_window.h"
#include "browser_windows/custom_browser_dlg.h"
#include "main_window/chat_main_dlg.h"
#include "notification/chat_notify_dlg.h"
#include "tests/settings/fake_settings_backend.h"

#include <QApplication>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>

// The main window's own rules, without a browser: the installer poll, flashing, the page's
// actions, closing the active window and the maximise toggle.
class TestChatMainDlg final : public QObject {
    Q_OBJECT

private slots:
    void installerPoll_data();
    void installerPoll();
    void flashStopsWhenActive();
    void actions_data();
    void actions();
    void popupClosedStopsFlashing();
    void closeActiveWindow();
    void toggleMaximize();

private:
    static std::unique_ptr<CChatMainDlg> makeDialog();
};

std::unique_ptr<CChatMainDlg> TestChatMainDlg::makeDialog() {
    auto dialog = std::make_unique<CChatMainDlg>();
    dialog->setSettingsBackend(std::make_unique<FakeSettingsBackend>());
    dialog->setForeignWindowCloser([](const char*, const char*) { return false; });
    return dialog;
}

void TestChatMainDlg::installerPoll_data() {
    QTest::addColumn<int>("foundAtTick"); // 0: never there
    QTest::addColumn<int>("closes");
    QTest::addColumn<int>("searches");

    // The tick counter belongs to the process and is never reset, so the rows run in order and
    // each starts where the last one left the counter.
    QTest::newRow("dialog there at the first tick: closed, poll ends") << 1 << 1 << 1;
    QTest::newRow("second window of the run: the shared counter ends the poll after one tick") << 0 << 0 << 1;
}

void TestChatMainDlg::installerPoll() {
    QFETCH(int, foundAtTick);
    QFETCH(int, closes);
    QFETCH(int, searches);

    auto dialog = makeDialog();
    int searched = 0;
    int closed = 0;
    QByteArrayList asked;
    dialog->setForeignWindowCloser([&](const char* windowClass, const char* title) -> bool {
        ++searched;
        asked = {windowClass, title};
        const bool found = searched == foundAtTick;
        closed += found ? 1 : 0;
        return found;
    });
    QVERIFY(dialog->OnInitDialog());
    QVERIFY(dialog->isTimerActive(CChatMainDlg::IDT_INSTALLER_POLL));
    // Deliver ticks the way the timer would: only while it runs, at most ten.
    for (int i = 0; i < 10 && dialog->isTimerActive(CChatMainDlg::IDT_INSTALLER_POLL); ++i)
        dialog->OnTimer(CChatMainDlg::IDT_INSTALLER_POLL);
    QVERIFY(!dialog->isTimerActive(CChatMainDlg::IDT_INSTALLER_POLL));
    QCOMPARE(searched, searches);
    QCOMPARE(closed, closes);
    QCOMPARE(asked, (QByteArrayList{"MsiDialogCloseClass", "TarnwickQuillo"}));
}

void TestChatMainDlg::flashStopsWhenActive() {
    auto dialog = makeDialog();
    QWidget other;
    QWidget* active = &other;
    dialog->setActiveWindowOverride([&] { return active; });
    QVERIFY(dialog->OnInitDialog());

    dialog->CustomFunctionWithParams({}, 3);
    QVERIFY(dialog->isTimerActive(CChatMainDlg::IDT_FLASH));
    const bool before = dialog->property("quilloFlashed").toBool();
    dialog->OnTimer(CChatMainDlg::IDT_FLASH);
    QCOMPARE(dialog->property("quilloFlashed").toBool(), !before);
    dialog->OnTimer(CChatMainDlg::IDT_FLASH);
    QCOMPARE(dialog->property("quilloFlashed").toBool(), before);
    QVERIFY(dialog->isTimerActive(CChatMainDlg::IDT_FLASH));

    active = dialog.get();
    dialog->OnTimer(CChatMainDlg::IDT_FLASH);
    QVERIFY(!dialog->isTimerActive(CChatMainDlg::IDT_FLASH));
    QVERIFY2(!dialog->property("quilloFlashed").toBool(),
             "an active window is not left marked for attention");
}

void TestChatMainDlg::actions_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("startsFlashing");
    QTest::addColumn<bool>("stopsFlashing");

    QTest::newRow("1: notification and flashing") << 1 << true << false;
    QTest::newRow("2: stop flashing") << 2 << false << true;
    QTest::newRow("3: flashing without the popup") << 3 << true << false;
    QTest::newRow("7: nothing") << 7 << false << false;
    QTest::newRow("0: nothing") << 0 << false << false;
    QTest::newRow("-1: nothing") << -1 << false << false;
}

void TestChatMainDlg::actions() {
    QFETCH(int, action);
    QFETCH(bool, startsFlashing);
    QFETCH(bool, stopsFlashing);

    for (const bool wasFlashing : {false, true}) {
        auto dialog = makeDialog();
        QWidget other;
        dialog->setActiveWindowOverride([&] { return &other; });
        QVERIFY(dialog->OnInitDialog());
        if (wasFlashing)
            dialog->CustomFunctionWithParams({}, 3);
        dialog->CustomFunctionWithParams("Ann|Hello|1 min|Sales", action);
        const bool expected = startsFlashing || (wasFlashing && !stopsFlashing);
        QCOMPARE(dialog->isTimerActive(CChatMainDlg::IDT_FLASH), expected);
    }
}

void TestChatMainDlg::popupClosedStopsFlashing() {
    for (const bool accepted : {false, true}) {
        auto dialog = makeDialog();
        QWidget other;
        dialog->setActiveWindowOverride([&] { return &other; });
        QVERIFY(dialog->OnInitDialog());
        dialog->showMinimized();
        dialog->CustomFunctionWithParams("Ann|Hi|1 min|Sales", 1);
        QVERIFY(dialog->isTimerActive(CChatMainDlg::IDT_FLASH));
        // The popup reports through its signal, synchronously, as it hides.
        emit dialog->notifyDlg()->chatPopupClosed(accepted);
        QVERIFY(!dialog->isTimerActive(CChatMainDlg::IDT_FLASH));
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isMinimized());
    }
}

void TestChatMainDlg::closeActiveWindow() {
    auto dialog = makeDialog();
    CCustomBrowserDlg secondary(nullptr);
    // A box the client opened for the operator over the console (a file chooser with a path typed
    // in, a question).
    QDialog operatorsBox(dialog.get());
    QWidget* active = nullptr;
    dialog->setActiveWindowOverride([&] { return active; });
    QVERIFY(dialog->OnInitDialog());
    dialog->show();
    secondary.show();
    operatorsBox.show();
    QSignalSpy mainFinished(dialog.get(), &QDialog::finished);
    const quillo::CallerWindow fromConsole(*dialog);
    const quillo::CallerWindow fromSecondary(secondary);

    // The console's page, with the operator elsewhere or in its box: nothing ends.
    for (QWidget* window : {static_cast<QWidget*>(nullptr), static_cast<QWidget*>(&operatorsBox),
                            static_cast<QWidget*>(&secondary)}) {
        active = window;
        dialog->CloseActiveWindow(&fromConsole);
        QVERIFY(secondary.isVisible());
        QVERIFY(operatorsBox.isVisible());
        QCOMPARE(mainFinished.count(), 0);
    }
    dialog->CloseActiveWindow(nullptr);
    QCOMPARE(mainFinished.count(), 0);

    // A secondary window's page ends its own window, even with the console in front.
    active = dialog.get();
    dialog->CloseActiveWindow(&fromSecondary);
    QVERIFY(!secondary.isVisible());
    QCOMPARE(secondary.result(), 1);
    // So does the page of a window that a page opened for itself.
    QWidget pagesWindow;
    pagesWindow.show();
    const quillo::CallerWindow fromPagesWindow(pagesWindow);
    dialog->CloseActiveWindow(&fromPagesWindow);
    QVERIFY(!pagesWindow.isVisible());
    QCOMPARE(mainFinished.count(), 0);

    dialog->CloseActiveWindow(&fromConsole);
    QCOMPARE(mainFinished.count(), 1);
    QCOMPARE(mainFinished.first().first().toInt(), 0);
}

void TestChatMainDlg::toggleMaximize() {
    auto dialog = makeDialog();
    QVERIFY(dialog->OnInitDialog());
    dialog->show();
    dialog->ToggleMaximize();
    QTRY_VERIFY(dialog->isMaximized());
    dialog->ToggleMaximize();
    QTRY_VERIFY(!dialog->isMaximized());
    dialog->showMinimized();
    dialog->ToggleMaximize();
    QTRY_VERIFY(dialog->isMaximized());
}

QTEST_MAIN(TestChatMainDlg)
#include "test_chat_main_dlg.moc"
