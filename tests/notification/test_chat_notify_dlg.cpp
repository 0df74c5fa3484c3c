#include "notification/chat_notify_dlg.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

class TestChatNotifyDlg : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void createdHiddenAsAToolWindow();
    void slideGeometry_data();
    void slideGeometry();
    void displayTimeHidesAndReports();
    void textAndColours_data();
    void textAndColours();
    void clicks_data();
    void clicks();
    void reportMayStartANewRequest();
    void acceptAreaCoversTheAcceptZone_data();
    void acceptAreaCoversTheAcceptZone();
    void screenReaderAnnouncesAndAccepts();
};

namespace {
const QRect kBottomPanel(0, 0, 1920, 1040);

struct Popup {
    CChatNotifyDlg dlg;
    QSignalSpy closed{&dlg, &CChatNotifyDlg::chatPopupClosed};
    explicit Popup(QRect workArea = kBottomPanel) {
        dlg.setWorkAreaProvider([workArea] { return workArea; });
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            dlg.OnTimer(CChatNotifyDlg::IDT_POPUP_SLIDE);
    }
};

// The format of the character at position (a cursor reports the one before it).
QTextCharFormat formatAt(const QTextEdit* edit, int position) {
    QTextCursor cursor(edit->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}
} // namespace

void TestChatNotifyDlg::initTestCase() {
    // The offscreen platform has no window masks and no stacking; it says so on every slide tick.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            previous(type, context, message);
    });
}

void TestChatNotifyDlg::createdHiddenAsAToolWindow() {
    Popup popup;
    CChatNotifyDlg& dlg = popup.dlg;
    QVERIFY(!dlg.isVisible());
    QVERIFY(dlg.parentWidget() == nullptr);
    const Qt::WindowFlags flags = dlg.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(dlg.testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Quillo notification"));
    QCOMPARE(dlg.textArea()->geometry(), QRect(5, 45, 183, 44));
    QCOMPARE(dlg.textArea()->palette().color(QPalette::Base), QColor(0, 0, 128));
    QCOMPARE(dlg.state(), quillo::notify::PopupMotion::State::Created);
    QVERIFY(!dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_SLIDE));

    // The request only starts the slide; the window appears on the first tick.
    QVERIFY(dlg.ShowNotification("Ann|Hi|1 min|Sales"));
    QVERIFY(!dlg.isVisible());
    QVERIFY(dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_SLIDE));
    QVERIFY(!dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_DISMISS));
}

void TestChatNotifyDlg::slideGeometry_data() {
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("sliding");

    const QRect full(0, 0, 1920, 1080);
    QTest::newRow("no panel, tick 1") << full << 1 << QRect(1727, 1075, 193, 135) << true;
    QTest::newRow("no panel, tick 2") << full << 2 << QRect(1727, 1070, 193, 140) << true;
    QTest::newRow("no panel, tick 26") << full << 26 << QRect(1727, 950, 193, 260) << true;
    QTest::newRow("no panel, tick 27") << full << 27 << QRect(1727, 950, 193, 260) << false;
    QTest::newRow("bottom panel, tick 1") << kBottomPanel << 1 << QRect(1727, 1035, 193, 135) << true;
    QTest::newRow("bottom panel, tick 2") << kBottomPanel << 2 << QRect(1727, 1030, 193, 140) << true;
    QTest::newRow("bottom panel, tick 26") << kBottomPanel << 26 << QRect(1727, 910, 193, 260) << true;
    QTest::newRow("bottom panel, tick 27") << kBottomPanel << 27 << QRect(1727, 910, 193, 260) << false;
    QTest::newRow("left panel, tick 26: rises from the bottom")
        << QRect(60, 0, 1860, 1080) << 26 << QRect(1727, 950, 193, 260) << true;
}

void TestChatNotifyDlg::slideGeometry() {
    QFETCH(QRect, workArea);
    QFETCH(int, ticks);
    QFETCH(QRect, geometry);
    QFETCH(bool, sliding);

    Popup popup(workArea);
    popup.dlg.ShowNotification("Ann|Hi|1 min|Sales");
    popup.ticks(ticks);
    QVERIFY(popup.dlg.isVisible());
    QCOMPARE(popup.dlg.geometry(), geometry);
    QCOMPARE(popup.dlg.windowRect(), geometry);
    QCOMPARE(popup.dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_SLIDE), sliding);
    QCOMPARE(popup.dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_DISMISS), !sliding);
    // Only the part above the base line is seen.
    QCOMPARE(popup.dlg.mask().boundingRect(), QRect(0, 0, 193, std::min(ticks, 26) * 5));
    QCOMPARE(popup.closed.count(), 0);
}

void TestChatNotifyDlg::displayTimeHidesAndReports() {
    Popup popup;
    popup.dlg.ShowNotification("Ann|Hi|1 min|Sales");
    popup.ticks(27);
    popup.dlg.OnTimer(CChatNotifyDlg::IDT_POPUP_DISMISS);
    QVERIFY(!popup.dlg.isVisible());
    QVERIFY(!popup.dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_DISMISS));
    QCOMPARE(popup.closed.count(), 1);
    QCOMPARE(popup.closed.at(0), (QVariantList{false}));

    // A further tick of a timer that no longer runs changes nothing.
    popup.dlg.OnTimer(CChatNotifyDlg::IDT_POPUP_DISMISS);
    QCOMPARE(popup.closed.count(), 1);
}

void TestChatNotifyDlg::textAndColours_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("grey");
    QTest::addColumn<QString>("orange");

    QTest::newRow("all fields") << QByteArray("Ann|Hi there|2 min|Sales")
                                << QStringLiteral("Ann : Hi there\nWaiting 2 min for Sales")
                                << QStringLiteral("Waiting 2 min for ") << QStringLiteral("Sales");
    QTest::newRow("last field in the name")
        << QByteArray("Sales Sam|Hi|1 min|Sales") << QStringLiteral("Sales Sam : Hi\nWaiting 1 min for Sales")
        << QStringLiteral("Waiting 1 min for ") << QStringLiteral("Sales");
    QTest::newRow("non-ASCII name and emoji message")
        << QByteArray("J\xC3\xBCrgen|\xF0\x9F\x98\x80 hi|1 min|Support")
        << QString::fromUtf8("J\xC3\xBCrgen : \xF0\x9F\x98\x80 hi\nWaiting 1 min for Support")
        << QStringLiteral("Waiting 1 min for ") << QStringLiteral("Support");
    QTest::newRow("empty record") << QByteArray("") << QStringLiteral(" : \nWaiting ")
                                  << QStringLiteral("Waiting ") << QString();
}

void TestChatNotifyDlg::textAndColours() {
    QFETCH(QByteArray, record);
    QFETCH(QString, plain);
    QFETCH(QString, grey);
    QFETCH(QString, orange);

    Popup popup;
    popup.dlg.ShowNotification(record.toStdString());
    const QTextEdit* edit = popup.dlg.textArea();
    QCOMPARE(edit->toPlainText(), plain);
    // A selection would be painted over the coloured span.
    QVERIFY(!edit->textCursor().hasSelection());

    const QString text = edit->document()->toPlainText();
    const int greyAt = text.indexOf(grey);
    const int orangeAt = orange.isEmpty() ? -1 : text.indexOf(orange);
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QChar::ParagraphSeparator || text.at(i) == u'\n')
            continue;
        QColor expected(255, 255, 255);
        if (greyAt >= 0 && i >= greyAt && i < greyAt + grey.size())
            expected = QColor(192, 192, 192);
        if (orangeAt >= 0 && i >= orangeAt && i < orangeAt + orange.size())
            expected = QColor(255, 165, 0);
        const QTextCharFormat format = formatAt(edit, i);
        QVERIFY2(format.foreground().color() == expected, qPrintable(QStringLiteral("at %1").arg(i)));
        QCOMPARE(format.fontPointSize(), 7.0);
        QCOMPARE(format.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    }
}

void TestChatNotifyDlg::clicks_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("reports");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("accept button below the text (60,100)") << QPoint(60, 100) << 1 << true;
    QTest::newRow("zone corner (96,116)") << QPoint(96, 116) << 1 << true;
    QTest::newRow("decline button (140,100)") << QPoint(140, 100) << 1 << false;
    QTest::newRow("title area (20,20)") << QPoint(20, 20) << 1 << false;
    QTest::newRow("on the text area, inside the zone rows (60,86): text keeps it")
        << QPoint(60, 86) << 0 << false;
    QTest::newRow("on the text area (100,60): text keeps it") << QPoint(100, 60) << 0 << false;
}

void TestChatNotifyDlg::clicks() {
    QFETCH(QPoint, at);
    QFETCH(int, reports);
    QFETCH(bool, accepted);

    Popup popup;
    popup.dlg.ShowNotification("Ann|Hi|1 min|Sales");
    popup.ticks(27);
    QVERIFY(QTest::qWaitForWindowExposed(&popup.dlg));
    // Through the window, so the click reaches whichever child lies under it.
    QTest::mouseClick(popup.dlg.windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(popup.closed.count(), reports);
    QCOMPARE(popup.dlg.isVisible(), reports == 0);
    if (reports > 0)
        QCOMPARE(popup.closed.at(0).at(0).toBool(), accepted);
    // A click on the card ends its display; one the text area keeps leaves the display time running.
    QCOMPARE(popup.dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_DISMISS), reports == 0);
}

void TestChatNotifyDlg::reportMayStartANewRequest() {
    // The owner handles the report synchronously; the page may raise the next request from there.
    Popup popup;
    QObject::connect(
        &popup.dlg, &CChatNotifyDlg::chatPopupClosed, &popup.dlg,
        [&popup](bool accepted) {
            if (accepted)
                popup.dlg.ShowNotification("Bob|Next|0 min|Sales");
        },
        Qt::DirectConnection);
    popup.dlg.ShowNotification("Ann|Hi|1 min|Sales");
    popup.ticks(10);
    popup.dlg.OnLButtonUp(60, 100);
    QVERIFY(!popup.dlg.isVisible());
    QVERIFY(popup.dlg.textArea()->toPlainText().startsWith(QStringLiteral("Bob : Next")));
    QCOMPARE(popup.dlg.risen(), 0);
    popup.ticks(1);
    QVERIFY(popup.dlg.isVisible());
    QCOMPARE(popup.dlg.geometry(), QRect(1727, 1035, 193, 135));
}

void TestChatNotifyDlg::acceptAreaCoversTheAcceptZone_data() {
    QTest::addColumn<QPoint>("at");
    const QRect area = CChatNotifyDlg::kAcceptAreaRect;
    QTest::newRow("top left corner") << area.topLeft();
    QTest::newRow("bottom right corner") << area.bottomRight();
    QTest::newRow("left of it") << area.topLeft() - QPoint(1, 0);
    QTest::newRow("above it") << area.topLeft() - QPoint(0, 1);
    QTest::newRow("right of it") << area.bottomRight() + QPoint(1, 0);
    QTest::newRow("below it") << area.bottomRight() + QPoint(0, 1);
}

void TestChatNotifyDlg::acceptAreaCoversTheAcceptZone() {
    // The button assistive technology is shown lies exactly over the zone a click accepts in.
    QFETCH(QPoint, at);
    QCOMPARE(CChatNotifyDlg::kAcceptAreaRect.contains(at), quillo::notify::inAcceptZone(at.x(), at.y()));
}

void TestChatNotifyDlg::screenReaderAnnouncesAndAccepts() {
    Popup popup;
    QAccessibleInterface* card = QAccessible::queryAccessibleInterface(&popup.dlg);
    QVERIFY(card);
    QCOMPARE(card->role(), QAccessible::AlertMessage);
    QCOMPARE(card->text(QAccessible::Name), QStringLiteral("Chat request"));

    QAccessibleInterface* accept = nullptr;
    for (int i = 0; i < card->childCount(); ++i) {
        if (card->child(i)->role() == QAccessible::Button)
            accept = card->child(i);
    }
    QVERIFY(accept);
    QCOMPARE(accept->text(QAccessible::Name), QStringLiteral("Accept chat"));
    QAccessibleActionInterface* press = accept->actionInterface();
    QVERIFY(press);
    QCOMPARE(press->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    // Nothing shows, so there is nothing to accept.
    press->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(popup.closed.count(), 0);

    // The text is there before the window shows, since its showing is what gets announced.
    popup.dlg.ShowNotification("Ann|Is anyone there?|2 min|Sales");
    QVERIFY(!popup.dlg.isVisible());
    const QString description = card->text(QAccessible::Description);
    QVERIFY2(description.startsWith(QStringLiteral("Ann : Is anyone there?")), qPrintable(description));
    QVERIFY2(description.endsWith(QStringLiteral("Waiting 2 min for Sales")), qPrintable(description));

    popup.ticks(3);
    QVERIFY(popup.dlg.isVisible());
    press->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(popup.closed.count(), 1);
    QCOMPARE(popup.closed.at(0).at(0).toBool(), true);
    QVERIFY(!popup.dlg.isVisible());
    QVERIFY(!popup.dlg.isTimerActive(CChatNotifyDlg::IDT_POPUP_SLIDE));
}

QTEST_MAIN(TestChatNotifyDlg)
#include "test_chat_notify_dlg.moc"
