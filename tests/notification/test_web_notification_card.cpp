#include "notification/web_notification_card.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using quillo::notify::PopupTimer;
using quillo::notify::WebNotificationCard;

// The client's own card for a page's notification where the desktop has no notification service.
class TestWebNotificationCard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void closeButtonDismissesWithoutTheClick();
    void showsThePagesIcon();
};

namespace {

struct Card {
    WebNotificationCard card{nullptr};
    QSignalSpy clicked{&card, &WebNotificationCard::clicked};
    QSignalSpy dismissed{&card, &WebNotificationCard::dismissed};
    Card() {
        card.setWorkAreaProvider([] { return QRect(0, 0, 1920, 1040); });
    }
    // The whole rise and one tick more, when the display time starts.
    void rise() {
        for (int i = 0; i < 27; ++i)
            card.tick(PopupTimer::Slide);
    }
};

QPixmap filled(const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

void TestWebNotificationCard::initTestCase() {
    // The offscreen platform has no window masks and no stacking; it says so on every slide tick.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            previous(type, context, message);
    });
}

void TestWebNotificationCard::closeButtonDismissesWithoutTheClick() {
    Card card;
    card.card.showText(QStringLiteral("New chat"), QStringLiteral("Ann is waiting"), {}, true);
    card.rise();
    // It asked to stay: no display time ends it.
    QVERIFY(card.card.isVisible());
    QVERIFY(!card.card.isTimerActive(PopupTimer::Dismiss));
    auto* close = card.card.findChild<QToolButton*>(QStringLiteral("close"));
    QVERIFY(close);
    close->click();
    QVERIFY(!card.card.isVisible());
    QCOMPARE(card.dismissed.count(), 1);
    QCOMPARE(card.clicked.count(), 0);
    // Closed once: a late end reports nothing more.
    card.card.dismiss();
    QCOMPARE(card.dismissed.count(), 1);
}

void TestWebNotificationCard::showsThePagesIcon() {
    Card card;
    auto* icon = card.card.findChild<QLabel*>(QStringLiteral("icon"));
    QVERIFY(icon);
    card.card.showText(QStringLiteral("New chat"), {}, filled(Qt::red), false);
    QCOMPARE(icon->pixmap().toImage().pixelColor(8, 8), QColor(Qt::red));
    // Without one of its own, the client's icon, not the last page's.
    card.card.showText(QStringLiteral("New chat"), {}, {}, false);
    QVERIFY(icon->pixmap().toImage().pixelColor(8, 8) != QColor(Qt::red));
}

QTEST_MAIN(TestWebNotificationCard)
#include "test_web_notification_card.moc"
