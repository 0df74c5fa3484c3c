#include "web/web_policy.h"

#include <QTest>

#include <set>

using namespace quillo::web;

Q_DECLARE_METATYPE(NewWindowAction)

namespace {
QStringList names(std::initializer_list<const char*> list) {
    QStringList result;
    for (const char* name : list)
        result << QString::fromUtf8(name);
    return result;
}
} // namespace

class TestWebPolicy : public QObject {
    Q_OBJECT

private slots:
    void newWindow_data();
    void newWindow();
    void safeName_data();
    void safeName();
    void freeName_data();
    void freeName();
    void freeNameGivesUpWhenEverythingIsTaken();
    void permissionsFollowTrustAndAskOncePerOriginAndFeature();
};

void TestWebPolicy::newWindow_data() {
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<NewWindowAction>("expected");
    const auto open = NewWindowAction::OpenInDefaultBrowser;
    QTest::newRow("https link: default browser") << "https" << open;
    QTest::newRow("http link: default browser") << "http" << open;
    QTest::newRow("mailto: default mail program") << "mailto" << open;
    QTest::newRow("javascript: nothing") << "javascript" << NewWindowAction::Ignore;
    QTest::newRow("file: nothing") << "file" << NewWindowAction::Ignore;
    QTest::newRow("data: nothing") << "data" << NewWindowAction::Ignore;
    QTest::newRow("blocked page: nothing") << "about" << NewWindowAction::Ignore;
    QTest::newRow("no scheme: nothing") << "" << NewWindowAction::Ignore;
}

void TestWebPolicy::newWindow() {
    QFETCH(QString, scheme);
    QFETCH(NewWindowAction, expected);
    QCOMPARE(DecideNewWindow(scheme.toStdString()), expected);
}

void TestWebPolicy::safeName_data() {
    QTest::addColumn<QString>("suggested");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain name kept") << "transcript 12.txt"
                                     << "transcript 12.txt";
    QTest::newRow("folders climbed: last part only") << "../../.bashrc"
                                                     << "bashrc";
    QTest::newRow("backslash folders: last part only") << "C:\\Users\\x\\report.pdf"
                                                       << "report.pdf";
    QTest::newRow("reserved characters replaced") << "re:port?*<1>|\".txt"
                                                  << "re_port___1___.txt";
    QTest::newRow("control character replaced") << "a\tb\x01.txt"
                                                << "a_b_.txt";
    QTest::newRow("only dots: fallback") << "..."
                                         << "download";
    QTest::newRow("empty: fallback") << ""
                                     << "download";
    QTest::newRow("trailing dots and spaces dropped") << "notes.txt. . "
                                                      << "notes.txt";
    QTest::newRow("non-ASCII kept") << QString::fromUtf8("Gespräch.txt") << QString::fromUtf8("Gespräch.txt");
}

void TestWebPolicy::safeName() {
    QFETCH(QString, suggested);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(SafeDownloadName(suggested.toStdString())), expected);
}

void TestWebPolicy::freeName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free name kept") << "a.txt" << names({"b.txt"}) << "a.txt";
    QTest::newRow("taken: first copy number") << "a.txt" << names({"a.txt"}) << "a (1).txt";
    QTest::newRow("copies taken: next number")
        << "a.txt" << names({"a.txt", "a (1).txt", "a (2).txt"}) << "a (3).txt";
    QTest::newRow("no extension") << "README" << names({"README"}) << "README (1)";
    QTest::newRow("double extension kept together")
        << "logs.tar.gz" << names({"logs.tar.gz"}) << "logs (1).tar.gz";
    QTest::newRow("dot name is all stem") << ".profile" << names({".profile"}) << ".profile (1)";
    QTest::newRow("dots inside the stem") << "v1.2.zip" << names({"v1.2.zip"}) << "v1.2 (1).zip";
}

void TestWebPolicy::freeName() {
    QFETCH(QString, name);
    QFETCH(QStringList, taken);
    QFETCH(QString, expected);
    const auto isTaken = [&](const std::string& candidate) {
        return taken.contains(QString::fromStdString(candidate));
    };
    QCOMPARE(QString::fromStdString(FreeDownloadName(name.toStdString(), isTaken).value_or("<none>")),
             expected);
}

void TestWebPolicy::freeNameGivesUpWhenEverythingIsTaken() {
    int asked = 0;
    const auto result = FreeDownloadName("a.txt", [&](const std::string&) {
        ++asked;
        return true;
    });
    QVERIFY(!result);
    QVERIFY(asked > 1000);
}

void TestWebPolicy::permissionsFollowTrustAndAskOncePerOriginAndFeature() {
    PermissionPolicy policy;
    const std::string chat = "https://chat.example";
    // Untrusted pages get nothing, notifications included, and never reach the operator.
    QCOMPARE(policy.request("http://visitor.example", Permission::Notifications, false),
             PermissionAnswer::Deny);
    QCOMPARE(policy.request("http://visitor.example", Permission::Camera, false), PermissionAnswer::Deny);
    // Trusted: notifications at once; the camera is the operator's call, asked once.
    QCOMPARE(policy.request(chat, Permission::Notifications, true), PermissionAnswer::Grant);
    QCOMPARE(policy.request(chat, Permission::Camera, true), PermissionAnswer::AskOperator);
    QCOMPARE(policy.request(chat, Permission::Camera, true), PermissionAnswer::AwaitOperator);
    QCOMPARE(policy.request(chat, Permission::Geolocation, true), PermissionAnswer::AskOperator);
    policy.answer(chat, Permission::Camera, false);
    policy.answer(chat, Permission::Geolocation, true);
    QCOMPARE(policy.request(chat, Permission::Camera, true), PermissionAnswer::Deny);
    QCOMPARE(policy.request(chat, Permission::Geolocation, true), PermissionAnswer::Grant);
    // Another origin of the service is asked on its own.
    QCOMPARE(policy.request("https://chat.example:8443", Permission::Camera, true),
             PermissionAnswer::AskOperator);
}

QTEST_APPLESS_MAIN(TestWebPolicy)
#include "test_web_policy.moc"
