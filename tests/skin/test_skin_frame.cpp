#include "main_window/chat_main_dlg.h"
#include "skin_controls/color_label.h"
#include "skin_controls/hover_bitmap_button.h"
#include "skin_controls/link_label.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

// The frame as the main window builds it: where its controls sit, what lies above what, and the
// frame's own moving and sizing where no window manager helps (the offscreen platform has none).
class TestSkinFrame : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        m_dialog = std::make_unique<CChatMainDlg>();
        QVERIFY(m_dialog->OnInitDialog());
        m_dialog->resize(804, 778);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        QCOMPARE(m_dialog->size(), QSize(804, 778));
    }
    void cleanup() { m_dialog.reset(); }

    void controlsSitWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("top-left corner never moves") << QStringLiteral("topLeft") << QRect(0, 0, 10, 76);
        QTest::newRow("logo never moves") << QStringLiteral("topLogo") << QRect(9, 0, 223, 76);
        QTest::newRow("top bar") << QStringLiteral("topBar") << QRect(232, 0, 562, 76);
        QTest::newRow("close") << QStringLiteral("btnClose") << QRect(773, 6, 19, 19);
        QTest::newRow("maximise") << QStringLiteral("btnMaximize") << QRect(748, 6, 19, 19);
        QTest::newRow("minimise") << QStringLiteral("btnMinimize") << QRect(723, 6, 19, 19);
        QTest::newRow("top-right corner") << QStringLiteral("topRight") << QRect(794, 0, 10, 76);
        QTest::newRow("bottom-left corner") << QStringLiteral("bottomLeft") << QRect(0, 744, 25, 34);
        QTest::newRow("bottom-right corner") << QStringLiteral("bottomRight") << QRect(779, 744, 25, 34);
        QTest::newRow("bottom bar") << QStringLiteral("bottomBar") << QRect(25, 744, 754, 34);
        QTest::newRow("left edge") << QStringLiteral("leftEdge") << QRect(0, 76, 10, 668);
        QTest::newRow("right edge") << QStringLiteral("rightEdge") << QRect(794, 76, 10, 668);
        QTest::newRow("link label fixed after fitting its text")
            << QStringLiteral("linkLabel") << QRect(25, 752, 570, 16);
    }
    void controlsSitWhereTheLayoutPutsThem() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        auto* widget = m_dialog->findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->geometry(), geometry);
    }

    void buttonsAndLabelsLieAboveTheBars() {
        const QObjectList& order = m_dialog->children();
        const auto indexOf = [&](const char* name) {
            return order.indexOf(m_dialog->findChild<QWidget*>(QString::fromLatin1(name)));
        };
        for (const char* over : {"btnClose", "btnMaximize", "btnMinimize"})
            QVERIFY2(indexOf(over) > indexOf("topBar"), over);
        for (const char* over : {"linkLabel", "versionLabel"})
            QVERIFY2(indexOf(over) > indexOf("bottomBar"), over);
        // What a click reaches: the pieces and the version label let it through to the frame.
        QCOMPARE(m_dialog->childAt(400, 30), nullptr);
        QCOMPARE(m_dialog->childAt(700, 760), nullptr);
        QCOMPARE(m_dialog->childAt(780, 15), m_dialog->findChild<QWidget*>(QStringLiteral("btnClose")));
        QCOMPARE(m_dialog->childAt(30, 760), m_dialog->findChild<QWidget*>(QStringLiteral("linkLabel")));
    }

    void layoutFollowsTheSize() {
        m_dialog->resize(1000, 700);
        QCOMPARE(m_dialog->findChild<QWidget*>(QStringLiteral("btnClose"))->geometry(),
                 QRect(969, 6, 19, 19));
        QCOMPARE(m_dialog->findChild<QWidget*>(QStringLiteral("bottomBar"))->geometry(),
                 QRect(25, 666, 950, 34));
        // Smaller than the pieces: negative sizes become empty, nothing breaks.
        m_dialog->resize(120, 60);
        QCOMPARE(m_dialog->findChild<QWidget*>(QStringLiteral("topBar"))->size(), QSize(0, 76));
        QCOMPARE(m_dialog->findChild<QWidget*>(QStringLiteral("rightEdge"))->size(), QSize(10, 0));
    }

    void versionLabelShowsItsWholeText_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("right"); // one past the last column, as the layout puts it
        QTest::newRow("804: ends at 754") << 804 << 754;
        QTest::newRow("1000: ends at 950") << 1000 << 950;
        QTest::newRow("700: held at x 600, ends at 690") << 700 << 690;
    }
    void versionLabelShowsItsWholeText() {
        QFETCH(int, width);
        QFETCH(int, right);
        m_dialog->resize(width, 700);
        auto* version = m_dialog->findChild<CColorLabel*>(QStringLiteral("versionLabel"));
        const QRect geometry = version->geometry();
        QCOMPARE(geometry.x() + geometry.width(), right);
        QCOMPARE(geometry.y(), 674);
        QCOMPARE(geometry.height(), 16);
        const QRect text = version->fontMetrics().boundingRect(version->text());
        QVERIFY2(
            version->fontMetrics().horizontalAdvance(version->text()) <= geometry.width() &&
                text.right() < geometry.width(),
            qPrintable(
                QStringLiteral("text %1 wide in a label %2 wide").arg(text.width()).arg(geometry.width())));
    }

    void skinControlsAreSetUp() {
        auto* version = m_dialog->findChild<CColorLabel*>(QStringLiteral("versionLabel"));
        QCOMPARE(version->text(), QStringLiteral("Version 1.0 +"));
        QCOMPARE(version->CtlColor().text, QColor(255, 255, 255));
        QCOMPARE(version->CtlColor().textBackground, QColor(25, 25, 112));
        QCOMPARE(version->font().family(), QStringLiteral("Arial"));
        QCOMPARE(version->font().pointSize(), 12);

        auto* link = m_dialog->findChild<CLinkLabel*>(QStringLiteral("linkLabel"));
        QVERIFY(link->text().endsWith(QStringLiteral(", click here.")));
        const QUrl address(link->linkUrl());
        QCOMPARE(address.scheme(), QStringLiteral("http"));
        QVERIFY(!address.host().isEmpty());
        QVERIFY(address.path().isEmpty());
        QCOMPARE(link->toolTip(), link->linkUrl());

        const auto bitmapOf = [this](const char* name) {
            return m_dialog->findChild<CHoverBitmapButton*>(QString::fromLatin1(name))->loadedBitmap();
        };
        QCOMPARE(bitmapOf("btnClose"), 155u);
        QCOMPARE(bitmapOf("btnMaximize"), 158u);
        QCOMPARE(bitmapOf("btnMinimize"), 159u);
    }

    // The maximise button's name says what a press would do now.
    void maximizeButtonIsNamedForWhatItDoes() {
        auto* maximize = m_dialog->findChild<CHoverBitmapButton*>(QStringLiteral("btnMaximize"));
        QCOMPARE(maximize->accessibleName(), QStringLiteral("Maximize"));
        m_dialog->ToggleMaximize();
        QTRY_VERIFY(m_dialog->isMaximized());
        QCOMPARE(maximize->accessibleName(), QStringLiteral("Restore"));
        m_dialog->ToggleMaximize();
        QTRY_VERIFY(!m_dialog->isMaximized());
        QCOMPARE(maximize->accessibleName(), QStringLiteral("Maximize"));
    }

    void cursorShowsTheBand_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<Qt::CursorShape>("shape");
        QTest::newRow("left band") << QPoint(2, 300) << Qt::SizeHorCursor;
        QTest::newRow("right band") << QPoint(800, 300) << Qt::SizeHorCursor;
        QTest::newRow("top band") << QPoint(400, 3) << Qt::SizeVerCursor;
        QTest::newRow("bottom-right corner") << QPoint(800, 775) << Qt::SizeFDiagCursor;
        QTest::newRow("top-right corner") << QPoint(800, 2) << Qt::SizeBDiagCursor;
        QTest::newRow("caption over the top bar") << QPoint(400, 40) << Qt::ArrowCursor;
    }
    void cursorShowsTheBand() {
        QFETCH(QPoint, point);
        QFETCH(Qt::CursorShape, shape);
        move(point, Qt::NoButton);
        QCOMPARE(m_dialog->cursor().shape(), shape);
    }

    // Qt's idea of where a reparented frameless window is can lag behind the window manager's; the
    // frame goes by the event's own positions, which always agree.
    void hitTestGoesByTheEventNotTheStoredPosition() {
        const QPoint local(400, 40);
        const QPoint elsewhere = m_dialog->mapToGlobal(local) + QPoint(-300, 200);
        QMouseEvent event(QEvent::MouseMove, QPointF(local), QPointF(elsewhere), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        m_dialog->setCursor(Qt::SizeHorCursor);
        QApplication::sendEvent(m_dialog.get(), &event);
        QCOMPARE(m_dialog->cursor().shape(), Qt::ArrowCursor);
    }

    void pressOnTheCaptionMovesTheWindow() {
        const QPoint start = m_dialog->pos();
        press(QPoint(400, 40));
        move(QPoint(450, 60), Qt::LeftButton);
        release(QPoint(450, 60));
        QCOMPARE(m_dialog->pos(), start + QPoint(50, 20));
        QCOMPARE(m_dialog->size(), QSize(804, 778));
    }

    void pressOnTheCornerResizesAndTheLayoutFollows() {
        const QPoint start = m_dialog->pos();
        press(QPoint(800, 775));
        move(QPoint(840, 795), Qt::LeftButton);
        release(QPoint(840, 795));
        QCOMPARE(m_dialog->pos(), start);
        QCOMPARE(m_dialog->size(), QSize(844, 798));
        QCOMPARE(m_dialog->findChild<QWidget*>(QStringLiteral("bottomRight"))->pos(), QPoint(819, 764));
        QCOMPARE(m_dialog->findChild<QWidget*>(QStringLiteral("btnClose"))->pos(), QPoint(813, 6));
    }

    void pressOnTheLeftEdgeKeepsTheRightEdge() {
        const QRect start = m_dialog->geometry();
        press(QPoint(3, 300));
        move(QPoint(-17, 300), Qt::LeftButton);
        release(QPoint(-17, 300));
        QCOMPARE(m_dialog->geometry(), start.adjusted(-20, 0, 0, 0));
    }

    void captionButtonsReachTheirHandlers() {
        QSignalSpy rejected(m_dialog.get(), &QDialog::rejected);
        QTest::mouseClick(m_dialog->findChild<QWidget*>(QStringLiteral("btnMaximize")), Qt::LeftButton, {},
                          QPoint(9, 9));
        QTRY_VERIFY(m_dialog->isMaximized());
        QTest::mouseClick(m_dialog->findChild<QWidget*>(QStringLiteral("btnMaximize")), Qt::LeftButton, {},
                          QPoint(9, 9));
        QTRY_VERIFY(!m_dialog->isMaximized());
        QTest::mouseClick(m_dialog->findChild<QWidget*>(QStringLiteral("btnMinimize")), Qt::LeftButton, {},
                          QPoint(9, 9));
        QTRY_VERIFY(m_dialog->isMinimized());
        m_dialog->showNormal();
        QTest::mouseClick(m_dialog->findChild<QWidget*>(QStringLiteral("btnClose")), Qt::LeftButton, {},
                          QPoint(9, 9));
        QCOMPARE(rejected.size(), 1);
    }

private:
    void send(QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(local), QPointF(m_dialog->mapToGlobal(local)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(m_dialog.get(), &event);
    }
    void press(QPoint local) { send(QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton); }
    void move(QPoint local, Qt::MouseButtons buttons) {
        send(QEvent::MouseMove, local, Qt::NoButton, buttons);
    }
    void release(QPoint local) { send(QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton); }

    std::unique_ptr<CChatMainDlg> m_dialog;
};

QTEST_MAIN(TestSkinFrame)
#include "test_skin_frame.moc"
