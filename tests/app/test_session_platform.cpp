#include "app/session_platform.h"

#include <QTest>

class TestSessionPlatform final : public QObject {
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
};

void TestSessionPlatform::choice_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("x11");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<bool>("native");
    QTest::addColumn<bool>("hasDisplay");
    QTest::addColumn<QString>("platform"); // null: left to the operator or the toolkit

    QTest::newRow("Wayland desktop with Xwayland: X11 first, Wayland behind it")
        << QString() << true << true << false << true << QStringLiteral("xcb;wayland");
    QTest::newRow("X11 desktop") << QString() << true << false << false << true << QStringLiteral("xcb");
    QTest::newRow("Wayland without Xwayland: native Wayland")
        << QString() << false << true << false << true << QStringLiteral("wayland");
    QTest::newRow("no display at all") << QString() << false << false << false << false << QString();
    QTest::newRow("Windows: nothing to choose") << QString() << false << false << true << true << QString();
    QTest::newRow("operator's wayland is kept though X11 is there")
        << QStringLiteral("wayland") << true << true << false << true << QString();
    QTest::newRow("operator's wayland-egl without a compositor: no display")
        << QStringLiteral("wayland-egl") << true << false << false << false << QString();
    QTest::newRow("operator's xcb with options, no X server: no display")
        << QStringLiteral("xcb:nograb") << false << true << false << false << QString();
    QTest::newRow("operator's list: one reachable entry is enough")
        << QStringLiteral("xcb;wayland") << false << true << false << true << QString();
    QTest::newRow("offscreen needs no display")
        << QStringLiteral("offscreen") << false << false << false << true << QString();
    QTest::newRow("an empty entry in a list does not count")
        << QStringLiteral("xcb;") << false << false << false << false << QString();
}

void TestSessionPlatform::choice() {
    QFETCH(QString, user);
    QFETCH(bool, x11);
    QFETCH(bool, wayland);
    QFETCH(bool, native);
    QFETCH(bool, hasDisplay);
    QFETCH(QString, platform);

    const quillo::PlatformChoice choice = quillo::choosePlatform(user.toStdString(), {x11, wayland, native});
    QCOMPARE(choice.hasDisplay, hasDisplay);
    QCOMPARE(choice.platform.has_value(), !platform.isNull());
    if (choice.platform)
        QCOMPARE(QString::fromStdString(*choice.platform), platform);
}

QTEST_GUILESS_MAIN(TestSessionPlatform)

#include "test_session_platform.moc"
