#include "tests/support/alert_fixtures.h"
#include "tests/support/e2e_harness.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QProcess>
#include <QScreen>
#include <QTest>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

// The real client's notifications as a chat console asks for them, seen by the desktop's service
// (a real daemon on a bus of the test's own, its traffic recorded): the permission held from the
// first load, a notification that asks to stay, the client's card that stays where no service
// runs, and a sound that cannot play.
class TestE2ePageNotifications : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void trustedPageHoldsThePermissionFromItsFirstLoadEachRun();
    void aNotificationThatAsksToStayHasNoExpiryAndCarriesOriginAndIcon();
    void aSoundThatFailsIsLoggedOncePerSource();
    void withoutAServiceTheCardOfOneThatAsksToStayStays();
    void aNotificationThatStaysGoesWithTheClient();

private:
    bool startClient();
    std::optional<QJsonObject> waitForEvent(const QString& event, int ms,
                                            const std::function<bool(const QJsonObject&)>& also = {});
    std::optional<BusMessage> notifyCall(const QString& summary, int ms);
    int logLines(const QString& text) const { return int(m_quillo->output().count(text)); }

    std::unique_ptr<x11::WindowManager> m_wm;
    PrivateBus m_bus;
    QProcess m_dunst;
    std::unique_ptr<BusMonitor> m_monitor;
    DemoService m_service;
    ConfigHome m_home;
    std::unique_ptr<QuilloProcess> m_quillo;
};

void TestE2ePageNotifications::initTestCase() {
    m_wm = x11::startWindowManager();
    QVERIFY2(m_wm, "no window manager could be started");
    QVERIFY(m_home.isValid());
    QVERIFY2(m_bus.start(), qPrintable(m_bus.errorString()));
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toUtf8());
    m_monitor = std::make_unique<BusMonitor>(m_bus.address(), QStringList{kNotifyRule});
    QVERIFY(m_monitor->start());
    endWithParent(m_dunst);
    m_dunst.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_dunst.start(u"dunst"_s, {});
    QVERIFY(m_dunst.waitForStarted(10000));

    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/cases/web?id="_s);
}

void TestE2ePageNotifications::cleanupTestCase() {
    if (m_quillo) {
        m_quillo->terminate();
        m_quillo->waitForExit(10000);
    }
    m_dunst.kill();
    m_dunst.waitForFinished(5000);
}

bool TestE2ePageNotifications::startClient() {
    m_quillo = std::make_unique<QuilloProcess>(m_home, m_service);
    return m_quillo->start();
}

std::optional<QJsonObject>
TestE2ePageNotifications::waitForEvent(const QString& event, int ms,
                                       const std::function<bool(const QJsonObject&)>& also) {
    return m_service.waitForReport(
        [&](const QJsonObject& report) {
            return report.value(u"page"_s).toString() == u"case_web" &&
                   report.value(u"event"_s).toString() == event && (!also || also(report));
        },
        ms);
}

std::optional<BusMessage> TestE2ePageNotifications::notifyCall(const QString& summary, int ms) {
    std::optional<BusMessage> found;
    QTRY_LOOP_IMPL(([&] {
                       for (const BusMessage& message :
                            m_monitor->messages(u"org.freedesktop.Notifications"_s, u"Notify"_s)) {
                           if (message.args.size() == 8 && message.args.at(3).toString() == summary)
                               found = message;
                       }
                       return found.has_value();
                   }()),
                   ms, 50);
    return found;
}

void TestE2ePageNotifications::trustedPageHoldsThePermissionFromItsFirstLoadEachRun() {
    // The engine keeps no grant from one run to the next: the second run starts as the first.
    for (int run = 1; run <= 2; ++run) {
        QVERIFY(m_service.reset());
        if (m_quillo) {
            m_quillo->terminate();
            QVERIFY(m_quillo->waitForExit(20000));
        }
        QVERIFY(startClient());
        const auto atStart = waitForEvent(u"permission_at_start"_s, 60000);
        QUILLO_VERIFY(atStart, *m_quillo);
        QVERIFY2(atStart->value(u"result"_s).toString() == u"granted"_s,
                 qPrintable(u"run %1: %2"_s.arg(run).arg(atStart->value(u"result"_s).toString())));
    }
}

void TestE2ePageNotifications::aNotificationThatAsksToStayHasNoExpiryAndCarriesOriginAndIcon() {
    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify_with"_s,
                                 {u"Ann asks"_s, QJsonObject{{u"body"_s, u"Ann is waiting"_s},
                                                             {u"requireInteraction"_s, true},
                                                             {u"tag"_s, u"chat-1"_s},
                                                             {u"iconColour"_s, u"#ff0000"_s}}}));
    // The page reads back the tag it gave, without the client's mark.
    const auto shown = waitForEvent(u"notification_shown"_s, 20000, [](const QJsonObject& report) {
        return report.value(u"title"_s).toString() == u"Ann asks";
    });
    QUILLO_VERIFY(shown, *m_quillo);
    QCOMPARE(shown->value(u"tag"_s).toString(), u"chat-1"_s);
    const auto stays = notifyCall(u"Ann asks"_s, 10000);
    QUILLO_VERIFY(stays, *m_quillo);
    QCOMPARE(stays->args.at(7).toInt(), 0);
    const QString origin = u"127.0.0.1:%1"_s.arg(m_service.port());
    QVERIFY2(stays->args.at(4).toString().startsWith(u"Ann is waiting\n"_s) &&
                 stays->args.at(4).toString().contains(origin),
             qPrintable(stays->args.at(4).toString()));
    // The page's red icon, not the client's.
    const QVariantList image = stays->args.at(6).toMap().value(u"image-data"_s).toList();
    QCOMPARE(image.size(), 7);
    const int width = image.at(0).toInt();
    const int height = image.at(1).toInt();
    const int stride = image.at(2).toInt();
    const QByteArray pixels = image.at(6).toByteArray();
    QVERIFY(width > 0 && height > 0 && pixels.size() >= stride * height);
    const char* middle = pixels.constData() + (height / 2) * stride + (width / 2) * 4;
    QCOMPARE(quint8(middle[0]), quint8(255));
    QCOMPARE(quint8(middle[1]), quint8(0));
    QCOMPARE(quint8(middle[2]), quint8(0));

    // Others keep the service's own time.
    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify_with"_s,
                                 {u"Bob asks"_s, QJsonObject{{u"body"_s, u"Bob is waiting"_s}}}));
    const auto goes = notifyCall(u"Bob asks"_s, 20000);
    QUILLO_VERIFY(goes, *m_quillo);
    QCOMPARE(goes->args.at(7).toInt(), -1);
}

void TestE2ePageNotifications::aSoundThatFailsIsLoggedOncePerSource() {
    const QString base = m_service.baseUrl().toString();
    const QString first = base + u"/sounds/missing-first.ogg"_s;
    QVERIFY(m_service.pushAction(u"case_web"_s, u"broken_sound"_s,
                                 {first, base + u"/sounds/missing-second.ogg"_s}));
    QTRY_VERIFY2_WITH_TIMEOUT(logLines(u"missing-second.ogg"_s) == 1, qPrintable(m_quillo->output()), 20000);
    QTRY_VERIFY2_WITH_TIMEOUT(logLines(u"missing-first.ogg"_s) == 1, qPrintable(m_quillo->output()), 20000);
    // A new load of the page fails on the same sound again: the log has it already.
    QVERIFY(m_service.reset());
    QVERIFY(m_service.pushCommand({{u"navigate"_s, base + u"/cases/web?id=12345"_s}}));
    QUILLO_VERIFY(waitForEvent(u"load"_s, 30000), *m_quillo);
    QVERIFY(m_service.pushAction(u"case_web"_s, u"broken_sound"_s,
                                 {first, base + u"/sounds/missing-third.ogg"_s}));
    QTRY_VERIFY2_WITH_TIMEOUT(logLines(u"missing-third.ogg"_s) == 1, qPrintable(m_quillo->output()), 20000);
    QVERIFY2(logLines(u"missing-first.ogg"_s) == 1, qPrintable(m_quillo->output()));
    QVERIFY2(m_quillo->output().contains(u"media of http://127.0.0.1"_s), qPrintable(m_quillo->output()));
}

void TestE2ePageNotifications::withoutAServiceTheCardOfOneThatAsksToStayStays() {
    m_dunst.kill();
    QVERIFY(m_dunst.waitForFinished(5000));
    QVERIFY(m_service.pushAction(
        u"case_web"_s, u"notify_with"_s,
        {u"Cy asks"_s, QJsonObject{{u"body"_s, u"Cy is waiting"_s}, {u"requireInteraction"_s, true}}}));
    const auto card = x11::findWindowByTitle(u"Quillo page notification"_s, 20000);
    QUILLO_VERIFY(card, *m_quillo);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*card).top(), area.y() + area.height() - 130, 10000);
    // A card's usual time is 10 s once risen; this one is still there well after.
    QTest::qWait(12000);
    QUILLO_VERIFY(x11::isViewable(*card), *m_quillo);
    const QRect shown = x11::clientGeometry(*card);
    QVERIFY(x11::click(shown.center().x(), shown.center().y() + 20));
    const auto click = waitForEvent(u"notification_click"_s, 20000, [](const QJsonObject& report) {
        return report.value(u"title"_s).toString() == u"Cy asks";
    });
    QUILLO_VERIFY(click, *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(*card), 5000);
}

void TestE2ePageNotifications::aNotificationThatStaysGoesWithTheClient() {
    // How many notifications the desktop shows; -1 while no service answers.
    const auto displayed = [] {
        QProcess count;
        count.start(u"dunstctl"_s, {u"count"_s, u"displayed"_s});
        const bool ok = count.waitForFinished(5000) && count.exitCode() == 0;
        return ok ? count.readAllStandardOutput().trimmed().toInt() : -1;
    };
    if (m_dunst.state() == QProcess::NotRunning)
        m_dunst.start(u"dunst"_s, {});
    QTRY_COMPARE_WITH_TIMEOUT(displayed(), 0, 10000);
    if (m_quillo) {
        m_quillo->terminate();
        QVERIFY(m_quillo->waitForExit(20000));
    }
    QVERIFY(m_service.reset() && startClient());
    QUILLO_VERIFY(waitForEvent(u"load"_s, 60000), *m_quillo);
    QVERIFY(m_service.pushAction(u"case_web"_s, u"notify_with"_s,
                                 {u"Dee asks"_s, QJsonObject{{u"requireInteraction"_s, true}}}));
    QTRY_COMPARE_WITH_TIMEOUT(displayed(), 1, 20000);
    // A normal end, as at logout: the notification goes with the client.
    m_quillo->terminate();
    QUILLO_VERIFY(m_quillo->waitForExit(20000) && m_quillo->exitStatus() == QProcess::NormalExit, *m_quillo);
    QTRY_COMPARE_WITH_TIMEOUT(displayed(), 0, 3000);
}

QTEST_MAIN(TestE2ePageNotifications)
#include "test_e2e_page_notifications.moc"
