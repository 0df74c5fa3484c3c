// What a screen reader finds of the client through AT-SPI: the frame's controls by name and role,
// the chat popup announced with the request's text as it rises, and an accept it can press.

#include "tests/support/alert_fixtures.h"

#include <QDateTime>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kStartMs = 30000;
const QString kApp = u"quillo"_s;

std::function<bool(const QJsonObject&)> named(const QString& name, const QString& role) {
    return [=](const QJsonObject& node) {
        return node[u"name"_s].toString() == name && node[u"role"_s].toString() == role;
    };
}

bool showing(const QJsonObject& node) {
    return node[u"states"_s].toArray().contains(u"showing"_s);
}

// The sources of the showings of an alert so far: what a screen reader announces.
QList<QJsonObject> announcements(AccessibilityEvents& events) {
    QList<QJsonObject> shown;
    for (const QJsonObject& event : events.events()) {
        const QJsonObject source = event[u"source"_s].toObject();
        if (event[u"type"_s] == u"object:state-changed:showing"_s && source[u"role"_s] == u"alert"_s &&
            event[u"detail1"_s].toInt() == 1)
            shown.append(source);
    }
    return shown;
}

} // namespace

class TestE2eAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void frameAndPopup();
};

void TestE2eAccessibility::initTestCase() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
}

void TestE2eAccessibility::frameAndPopup() {
    const DisplayKeeper display;
    QVERIFY(display.isValid());
    PrivateBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    AccessibilityBus accessibility(bus.address());
    QVERIFY2(accessibility.start(), qPrintable(accessibility.errorString()));
    // A screen reader also listens for changes of description, which keeps its view of them current.
    AccessibilityEvents events(
        bus.address(), kApp,
        {u"object:state-changed:showing"_s, u"object:property-change:accessible-description"_s});
    QVERIFY(events.start());

    DemoService service;
    QVERIFY2(service.start(), qPrintable(service.errorString()));
    ConfigHome home;
    home.writeSettings(u"7"_s, service.baseUrl().resolved(QUrl(u"/console?id="_s)).toString());
    QuilloProcess quillo(home, service);
    quillo.setEnvironmentVariable(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
    quillo.setEnvironmentVariable(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
    QVERIFY(quillo.start());
    const auto loaded = service.waitForReport(
        [](const QJsonObject& r) { return r[u"page"_s] == u"console"_s && r[u"event"_s] == u"version"_s; },
        kStartMs);
    QUILLO_VERIFY(loaded, quillo);

    // The frame: caption buttons, the link with its address, the version label.
    const std::optional<QJsonObject> tree = accessibility.tree(kApp);
    QUILLO_VERIFY(tree, quillo);
    for (const QString& caption : {u"Close"_s, u"Maximize"_s, u"Minimize"_s}) {
        const QList<QJsonObject> buttons = findAccessible(*tree, named(caption, u"push button"_s));
        QVERIFY2(buttons.size() == 1, qPrintable(caption));
        QVERIFY2(showing(buttons.first()), qPrintable(caption));
    }
    const QList<QJsonObject> links = findAccessible(*tree, [](const QJsonObject& node) {
        return node[u"role"_s] == u"link"_s && node[u"name"_s].toString().startsWith(u"Learn about more"_s);
    });
    QCOMPARE(links.size(), 1);
    QVERIFY(links.first()[u"description"_s].toString().startsWith(u"http://"_s));
    QCOMPARE(findAccessible(*tree, named(u"Version 1.0 +"_s, u"label"_s)).size(), 1);
    // The popup is not shown yet, so nothing announces it.
    QVERIFY(findAccessible(*tree, [](const QJsonObject& node) {
                return node[u"role"_s] == u"alert"_s;
            }).isEmpty());

    // A chat request: the popup's showing is announced with its text.
    QVERIFY(service.pushCommand({{u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                 {u"args"_s, QJsonArray{u"Ann|Is anyone there?|2 min|Sales"_s, 1}}}));
    QTRY_COMPARE_WITH_TIMEOUT(announcements(events).size(), 1, 10000);
    QJsonObject announced = announcements(events).first();
    QCOMPARE(announced[u"name"_s].toString(), u"Chat request"_s);
    QString text = announced[u"description"_s].toString();
    QVERIFY2(text.contains(u"Ann : Is anyone there?"_s) && text.contains(u"Waiting 2 min for Sales"_s),
             qPrintable(text));

    // A second request while the first still shows: the popup never hides, yet it is announced.
    QVERIFY(service.pushCommand({{u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                 {u"args"_s, QJsonArray{u"Bob|Hello|0 min|Support"_s, 1}}}));
    QTRY_COMPARE_WITH_TIMEOUT(announcements(events).size(), 2, 10000);
    text = announcements(events).last()[u"description"_s].toString();
    QVERIFY2(text.startsWith(u"Bob : Hello"_s), qPrintable(text));

    // Its accept area is a button that a screen reader's user can press.
    const std::optional<QJsonObject> withPopup = accessibility.tree(kApp);
    QVERIFY(withPopup);
    const QList<QJsonObject> alerts = findAccessible(
        *withPopup, [](const QJsonObject& node) { return node[u"role"_s] == u"alert"_s && showing(node); });
    QCOMPARE(alerts.size(), 1);
    QCOMPARE(findAccessible(alerts.first(), named(u"Accept chat"_s, u"push button"_s)).size(), 1);
    QVERIFY(accessibility.doAction(kApp, u"Accept chat"_s, u"push button"_s, u"Press"_s));
    const auto accepted = service.waitForReport(
        [](const QJsonObject& r) { return r[u"page"_s] == u"console"_s && r[u"event"_s] == u"accepted"_s; },
        10000);
    QUILLO_VERIFY(accepted, quillo);
    QCOMPARE(accepted->value(u"text"_s).toString(), u"Accept()"_s);

    quillo.terminate();
    QVERIFY(quillo.waitForExit(15000));
}

QTEST_MAIN(TestE2eAccessibility)
#include "test_e2e_accessibility.moc"
