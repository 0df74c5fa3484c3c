#include "browser_host/external_dispatch.h"
#include "browser_host/page_contract.h"

#include <QTest>
#include <cmath>
#include <limits>
#include <vector>

using namespace quillo;

namespace {

struct Call {
    std::string name;
    std::string text;
    std::vector<std::int32_t> numbers;
};

class RecordingTarget final : public ExternalTarget {
public:
    bool IsOurCustomBrowser() override {
        calls.push_back({"IsOurCustomBrowser", {}, {}});
        return answer;
    }
    void CloseActiveWindow() override { calls.push_back({"CloseActiveWindow", {}, {}}); }
    void CustomFunction() override { calls.push_back({"CustomFunction", {}, {}}); }
    void CustomFunctionWithParams(std::string text, std::int32_t action) override {
        calls.push_back({"CustomFunctionWithParams", std::move(text), {action}});
    }
    void OpenWindow(std::string url, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t sixth) override {
        calls.push_back({"OpenWindow", std::move(url), {x, y, width, height, sixth}});
    }

    std::vector<Call> calls;
    bool answer = true;
};

using Args = std::vector<Variant>;
using Numbers = std::vector<std::int32_t>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

Q_DECLARE_METATYPE(Args)
Q_DECLARE_METATYPE(Numbers)

class TestExternalDispatch : public QObject {
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void arguments_data();
    void arguments();
    void noTargetDoesNothing();
};

void TestExternalDispatch::names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expectedCall"); // empty: the name is not one of the five

    QTest::newRow("is-our-browser") << QStringLiteral("CB_IsOurCustomBrowser")
                                    << QStringLiteral("IsOurCustomBrowser");
    QTest::newRow("close") << QStringLiteral("CB_Close") << QStringLiteral("CloseActiveWindow");
    QTest::newRow("message box") << QStringLiteral("CB_CustomFunction") << QStringLiteral("CustomFunction");
    QTest::newRow("letter case differs: unknown") << QStringLiteral("cb_close") << QString();
    QTest::newRow("one letter upper: unknown") << QStringLiteral("CB_OpenWINDOW") << QString();
    QTest::newRow("prefix of a name: unknown") << QStringLiteral("CB_Custom") << QString();
    QTest::newRow("name with trailing space: unknown") << QStringLiteral("CB_Close ") << QString();
    QTest::newRow("name with embedded NUL: unknown") << QString::fromUtf8("CB_Close\0x", 10) << QString();
    QTest::newRow("empty name: unknown") << QString() << QString();
}

void TestExternalDispatch::names() {
    QFETCH(QString, name);
    QFETCH(QString, expectedCall);

    RecordingTarget target;
    CExternalDispatch dispatch([&target] { return &target; });
    QCOMPARE(dispatch.Call(name.toStdString(), {}), !expectedCall.isEmpty());

    QStringList calls;
    for (const Call& call : target.calls)
        calls << QString::fromStdString(call.name);
    QCOMPARE(calls, expectedCall.isEmpty() ? QStringList() : QStringList{expectedCall});
}

void TestExternalDispatch::arguments_data() {
    const QString kWithParams = QStringLiteral("CB_CustomFunctionWithParams");
    const QString kOpen = QStringLiteral("CB_OpenWindow");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Args>("args"); // script order
    QTest::addColumn<bool>("called");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<Numbers>("expectedNumbers");

    const std::string record = "Ann|Hi|2 min|Sales";
    QTest::newRow("record and action 1")
        << kWithParams << Args{record, 1.0} << true << QString::fromStdString(record) << Numbers{1};
    QTest::newRow("action 3 after a non-ASCII text")
        << kWithParams << Args{std::string("Zoë ✓"), 3.0} << true << QStringLiteral("Zoë ✓") << Numbers{3};
    QTest::newRow("no arguments: nothing") << kWithParams << Args{} << false << QString() << Numbers{};
    QTest::newRow("text only, action missing: nothing")
        << kWithParams << Args{record} << false << QString() << Numbers{};
    QTest::newRow("action given as text: nothing")
        << kWithParams << Args{record, std::string("1")} << false << QString() << Numbers{};
    QTest::newRow("action NaN: nothing")
        << kWithParams << Args{record, kNaN} << false << QString() << Numbers{};
    QTest::newRow("action infinite: nothing")
        << kWithParams << Args{record, kInfinity} << false << QString() << Numbers{};
    QTest::newRow("action undefined: nothing")
        << kWithParams << Args{record, std::monostate()} << false << QString() << Numbers{};
    QTest::newRow("action boolean: nothing")
        << kWithParams << Args{record, true} << false << QString() << Numbers{};
    QTest::newRow("action with fraction: cut toward zero")
        << kWithParams << Args{record, 2.9} << true << QString::fromStdString(record) << Numbers{2};
    QTest::newRow("action beyond 32 bits: clamped, not wrapped")
        << kWithParams << Args{record, 4294967297.0} << true << QString::fromStdString(record)
        << Numbers{std::numeric_limits<std::int32_t>::max()};
    QTest::newRow("null text: empty") << kWithParams << Args{nullptr, 1.0} << true << QString() << Numbers{1};
    QTest::newRow("undefined text: empty")
        << kWithParams << Args{std::monostate(), 2.0} << true << QString() << Numbers{2};
    QTest::newRow("number as text: written as script would")
        << kWithParams << Args{12.5, 1.0} << true << QStringLiteral("12.5") << Numbers{1};
    QTest::newRow("whole number as text: no fraction")
        << kWithParams << Args{42.0, 1.0} << true << QStringLiteral("42") << Numbers{1};
    QTest::newRow("extra arguments: the leading two are the ones read")
        << kWithParams << Args{record, 1.0, std::string("x"), 9.0} << true << QString::fromStdString(record)
        << Numbers{1};

    QTest::newRow("open with six arguments: sixth passed on")
        << kOpen << Args{std::string("http://127.0.0.1/v"), 10.0, 20.0, 300.0, 200.0, 7.0} << true
        << QStringLiteral("http://127.0.0.1/v") << Numbers{10, 20, 300, 200, 7};
    QTest::newRow("open with negative position")
        << kOpen << Args{std::string("u"), -100.0, -5.0, 1.0, 1.0, 0.0} << true << QStringLiteral("u")
        << Numbers{-100, -5, 1, 1, 0};
    QTest::newRow("open with five arguments: nothing")
        << kOpen << Args{std::string("u"), 10.0, 20.0, 300.0, 200.0} << false << QString() << Numbers{};
    QTest::newRow("open with a height that is text: nothing")
        << kOpen << Args{std::string("u"), 10.0, 20.0, 300.0, std::string("200"), 0.0} << false << QString()
        << Numbers{};
    QTest::newRow("open with x NaN: nothing")
        << kOpen << Args{std::string("u"), kNaN, 20.0, 300.0, 200.0, 0.0} << false << QString() << Numbers{};
    QTest::newRow("open with sixth null: nothing")
        << kOpen << Args{std::string("u"), 1.0, 2.0, 3.0, 4.0, nullptr} << false << QString() << Numbers{};
    QTest::newRow("open with null url: empty url")
        << kOpen << Args{nullptr, 1.0, 2.0, 3.0, 4.0, 5.0} << true << QString() << Numbers{1, 2, 3, 4, 5};
    QTest::newRow("open with width below the 32-bit range: clamped")
        << kOpen << Args{std::string("u"), 0.0, 0.0, -1e12, 4.0, 5.0} << true << QStringLiteral("u")
        << Numbers{0, 0, std::numeric_limits<std::int32_t>::min(), 4, 5};
}

void TestExternalDispatch::arguments() {
    QFETCH(QString, name);
    QFETCH(Args, args);
    QFETCH(bool, called);
    QFETCH(QString, expectedText);
    QFETCH(Numbers, expectedNumbers);

    RecordingTarget target;
    CExternalDispatch dispatch([&target] { return &target; });
    QVERIFY(dispatch.Call(name.toStdString(), args));

    QCOMPARE(target.calls.size(), std::size_t(called ? 1 : 0));
    if (!called)
        return;
    QCOMPARE(QString::fromStdString(target.calls[0].text), expectedText);
    QCOMPARE(target.calls[0].numbers, expectedNumbers);
}

void TestExternalDispatch::noTargetDoesNothing() {
    // Before the main window exists, a call is still recognised but reaches nothing.
    CExternalDispatch dispatch([] { return nullptr; });
    QVERIFY(dispatch.Call("CB_CustomFunctionWithParams", Args{std::string("a|b"), 1.0}));
    QVERIFY(!dispatch.Call("CB_Nothing", {}));
}

QTEST_GUILESS_MAIN(TestExternalDispatch)
#include "test_external_dispatch.moc"
