#include "resources/qt_rgb.h"
#include "resources/resource_loader.h"
#include "skin_controls/color_label.h"
#include "skin_controls/cursor_source.h"
#include "skin_controls/hover_bitmap_button.h"
#include "skin_controls/link_label.h"
#include "skin_controls/skin_colors.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace quillo;

namespace {
const QColor kMidnightBlue(25, 25, 112);
const QColor kParentRed(200, 0, 0);

// A red parent, so a control that paints no background of its own shows red.
std::unique_ptr<QWidget> makeParent() {
    auto parent = std::make_unique<QWidget>();
    parent->resize(900, 800);
    QPalette palette = parent->palette();
    palette.setColor(QPalette::Window, kParentRed);
    parent->setPalette(palette);
    parent->setAutoFillBackground(true);
    return parent;
}

QColor pixelAt(QWidget& parent, QPoint point) {
    return parent.grab().toImage().pixelColor(point);
}

bool hasPixel(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

void sendMove(QWidget* widget, QPoint local) {
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(widget->mapToGlobal(local)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}
} // namespace

class TestSkinControls : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        setCursorSourceForTests({});
        CLinkLabel::setOpenerForTests({});
        HoverButtonLogic::resetHoverShown();
    }

    // Colour label.

    void colorLabelPaintsWholeControlOnceColoured() {
        auto parent = makeParent();
        auto* label = new CColorLabel(QStringLiteral("Version 1.0 +"), parent.get());
        label->setGeometry(664, 752, 90, 16);
        label->setFont(QFont(QStringLiteral("Arial"), 12));
        parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent.get()));

        // No background chosen yet: the parent's shows beside the text.
        QCOMPARE(pixelAt(*parent, {664 + 89, 752 + 15}), kParentRed);

        label->SetBackColor(toQColor(kSkinBackColor));
        label->SetForeColor(toQColor(kVersionTextColor));
        const QImage image = parent->grab(label->geometry()).toImage();
        QCOMPARE(image.pixelColor(89, 15), kMidnightBlue);
        QCOMPARE(image.pixelColor(0, 15), kMidnightBlue);
        QVERIFY2(hasPixel(image, Qt::white), "the text is drawn in white");
        QVERIFY2(!hasPixel(image, kParentRed), "no part of the control shows the parent");
        QCOMPARE(label->CtlColor().text, QColor(Qt::white));
        QCOMPARE(label->CtlColor().textBackground, kMidnightBlue);
    }

    // Link label.

    void attachWithEmptyText_data() {
        QTest::addColumn<QString>("addressBefore");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("url");
        QTest::newRow("no text, no address: both stay empty") << QString() << QString() << QString();
        QTest::newRow("no text, address set before: the text becomes the address")
            << QStringLiteral("http://a.example") << QStringLiteral("http://a.example")
            << QStringLiteral("http://a.example");
    }
    void attachWithEmptyText() {
        QFETCH(QString, addressBefore);
        QFETCH(QString, text);
        QFETCH(QString, url);
        QWidget parent;
        CLinkLabel label(QString(), &parent);
        if (!addressBefore.isEmpty())
            label.SetLinkUrl(addressBefore);
        label.PreSubclassWindow();
        QCOMPARE(label.text(), text);
        QCOMPARE(label.linkUrl(), url);
        QCOMPARE(label.toolTip(), url);
    }

    void attachTakesTheTextAsAddressUntilOneIsSet() {
        QWidget parent;
        CLinkLabel label(QStringLiteral("Learn more, click here."), &parent);
        label.PreSubclassWindow();
        QCOMPARE(label.linkUrl(), QStringLiteral("Learn more, click here."));
        label.SetLinkUrl(QStringLiteral("http://www.tarnwick.example"));
        QCOMPARE(label.toolTip(), QStringLiteral("http://www.tarnwick.example"));
        QCOMPARE(label.text(), QStringLiteral("Learn more, click here."));
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    }

    void attachFitsTheLabelToItsText() {
        QWidget parent;
        CLinkLabel label(QStringLiteral("Learn about more products, click here."), &parent);
        label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label.setGeometry(80, 548, 569, 18);
        label.PreSubclassWindow();
        QFont underlined = label.font();
        underlined.setUnderline(true);
        const QFontMetrics metrics(underlined);
        QCOMPARE(label.x(), 80);
        QCOMPARE(label.width(), metrics.horizontalAdvance(label.text()));
        QCOMPARE(label.height(), metrics.height());
        QCOMPARE(label.y(), 548 + (18 - metrics.height()) / 2);
    }

    void linkHoverWithInjectedCursor() {
        auto parent = makeParent();
        auto* label = new CLinkLabel(QStringLiteral("Learn more, click here."), parent.get());
        label->setGeometry(25, 752, 570, 16);
        label->PreSubclassWindow();
        label->setGeometry(25, 752, 570, 16);
        parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent.get()));
        QVERIFY(!label->underlined());

        sendMove(label, {5, 5});
        QVERIFY(label->cursorOver());
        QVERIFY(label->underlined());
        QVERIFY(label->isHoverTimerActive());

        // Still over the label at the tick: nothing changes.
        setCursorSourceForTests([label] { return label->mapToGlobal(QPoint(569, 15)); });
        label->OnTimer();
        QVERIFY(label->underlined());
        QVERIFY(label->isHoverTimerActive());

        setCursorSourceForTests([label] { return label->mapToGlobal(QPoint(570, 15)); });
        label->OnTimer();
        QVERIFY(!label->cursorOver());
        QVERIFY(!label->underlined());
        QVERIFY(!label->isHoverTimerActive());
    }

    void linkColoursOnTheSkinBlue() {
        auto parent = makeParent();
        auto* label = new CLinkLabel(QStringLiteral("Learn more, click here."), parent.get());
        label->setGeometry(25, 752, 570, 16);
        label->PreSubclassWindow();
        label->setGeometry(25, 752, 570, 16);
        parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent.get()));
        const QImage image = parent->grab(label->geometry()).toImage();
        QCOMPARE(image.pixelColor(569, 0), kMidnightBlue);
        QVERIFY2(hasPixel(image, QColor(176, 196, 222)), "the text is light steel blue");
    }

    // A click opens the address and clears the hover flag, but the underline and the poll stay
    // until a tick finds the cursor outside.
    void clickOpensTheAddress() {
        QList<QUrl> opened;
        CLinkLabel::setOpenerForTests([&opened](const QUrl& address) {
            opened.append(address);
            return true;
        });
        auto parent = makeParent();
        auto* label = new CLinkLabel(QStringLiteral("Learn more, click here."), parent.get());
        label->PreSubclassWindow();
        label->SetLinkUrl(QStringLiteral("http://www.tarnwick.example"));
        label->setGeometry(25, 752, 570, 16);
        parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent.get()));

        sendMove(label, {10, 8});
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().toString(), QStringLiteral("http://www.tarnwick.example"));
        QVERIFY(!label->cursorOver());
        QVERIFY(label->underlined());
        QVERIFY(label->isHoverTimerActive());

        setCursorSourceForTests([] { return QPoint(-100, -100); });
        label->OnTimer();
        QVERIFY(!label->underlined());
        QVERIFY(!label->isHoverTimerActive());
    }

    // A screen reader's user finds a link named by its text, and follows it with its press action.
    void linkLabelIsALinkToAssistiveTechnology() {
        QList<QUrl> opened;
        CLinkLabel::setOpenerForTests([&opened](const QUrl& address) {
            opened.append(address);
            return true;
        });
        QWidget parent;
        auto* label = new CLinkLabel(QStringLiteral("Learn more, click here."), &parent);
        label->PreSubclassWindow();
        label->SetLinkUrl(QStringLiteral("http://www.tarnwick.example"));
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(label);
        QVERIFY(link);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), QStringLiteral("Learn more, click here."));
        QCOMPARE(link->text(QAccessible::Description), QStringLiteral("http://www.tarnwick.example"));
        QAccessibleActionInterface* actions = link->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://www.tarnwick.example"))});
        // A name the owner gives wins over the text.
        label->setAccessibleName(QStringLiteral("Tarnwick products"));
        QCOMPARE(link->text(QAccessible::Name), QStringLiteral("Tarnwick products"));
    }

    void pressAndReleaseOutsideOpensNothing() {
        int opened = 0;
        CLinkLabel::setOpenerForTests([&opened](const QUrl&) { return ++opened, true; });
        QWidget parent;
        auto* label = new CLinkLabel(QStringLiteral("x"), &parent);
        label->setGeometry(0, 0, 100, 16);
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(150, 5));
        QCOMPARE(opened, 0);
    }

    // Hover button.

    void buttonDrawsItsBitmapUnscaled() {
        auto parent = makeParent();
        auto* button = new CHoverBitmapButton(parent.get());
        button->setGeometry(773, 6, 19, 19);
        button->LoadBitmaps(155);
        button->SetBitmapIds(155, 157);
        parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent.get()));
        const QImage shown = parent->grab(button->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage bitmap = res::loadBitmap(155).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(bitmap.width(), 20);
        QCOMPARE(shown, bitmap.copy(0, 0, 19, 19));
    }

    void buttonHoverPollWithInjectedCursor() {
        auto parent = makeParent();
        auto* close = new CHoverBitmapButton(parent.get());
        auto* maximize = new CHoverBitmapButton(parent.get());
        close->setGeometry(773, 6, 19, 19);
        maximize->setGeometry(748, 6, 19, 19);
        close->LoadBitmaps(155);
        close->SetBitmapIds(155, 157);
        maximize->LoadBitmaps(158);
        maximize->SetBitmapIds(158, 162);
        parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent.get()));
        const QImage normal = parent->grab(close->geometry()).toImage();

        QPoint cursor = close->mapToGlobal(QPoint(9, 9));
        setCursorSourceForTests([&cursor] { return cursor; });
        sendMove(close, {9, 9});
        QVERIFY(close->isHoverTimerActive());
        close->OnTimer();
        QVERIFY(!close->isHoverTimerActive());
        QCOMPARE(close->loadedBitmap(), 157u);
        QVERIFY2(parent->grab(close->geometry()).toImage() != normal, "the hover bitmap is drawn");

        // Straight onto maximise: close's tick restores it, maximise's shows its hover bitmap.
        sendMove(close, {0, 9});
        cursor = maximize->mapToGlobal(QPoint(9, 9));
        sendMove(maximize, {9, 9});
        close->OnTimer();
        maximize->OnTimer();
        QCOMPARE(close->loadedBitmap(), 155u);
        QCOMPARE(maximize->loadedBitmap(), 162u);
        QCOMPARE(parent->grab(close->geometry()).toImage(), normal);
    }

    // The real timer fires once, 50 ms after the last move, and then stays off: an idle cursor
    // costs nothing.
    void buttonPollIsOneShot() {
        QWidget parent;
        auto* button = new CHoverBitmapButton(&parent);
        button->setGeometry(0, 0, 19, 19);
        button->LoadBitmaps(155);
        button->SetBitmapIds(155, 157);
        setCursorSourceForTests([button] { return button->mapToGlobal(QPoint(3, 3)); });
        sendMove(button, {3, 3});
        QTRY_COMPARE_WITH_TIMEOUT(button->loadedBitmap(), 157u, 1000);
        QVERIFY(!button->isHoverTimerActive());
    }

    // The button finds itself on the screen from its last mouse move, not from Qt's stored window
    // position, which can lag behind the window manager's.
    void buttonPollUsesTheLastMovesScreenPosition() {
        QWidget parent;
        auto* button = new CHoverBitmapButton(&parent);
        button->setGeometry(0, 0, 19, 19);
        button->LoadBitmaps(155);
        button->SetBitmapIds(155, 157);
        const QPoint realScreen = button->mapToGlobal(QPoint(4, 4)) + QPoint(640, 480);
        QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), QPointF(realScreen), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(button, &move);
        setCursorSourceForTests([realScreen] { return realScreen; });
        button->OnTimer();
        QCOMPARE(button->loadedBitmap(), 157u);
    }

    void buttonClickIsReported() {
        QWidget parent;
        auto* button = new CHoverBitmapButton(&parent);
        button->setGeometry(0, 0, 19, 19);
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.size(), 1);
    }
};

QTEST_MAIN(TestSkinControls)
#include "test_skin_controls.moc"
