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
using Names = std::vector<std::string>;
using Ids = std::vector<DISPID>;
using Numbers = Ids; // DISPID and the integers are both 32-bit

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

Q_DECLARE_METATYPE(Args)
Q_DECLARE_METATYPE(Names)
Q_DECLARE_METATYPE(Ids)

class TestExternalDispatch : public QObject {
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void flags_data();
    void flags();
    void arguments_data();
    void arguments();
    void noTargetDoesNothing();
    void typeInfoIsNotOffered();
    void countNeverEndsTheObject();
};

void TestExternalDispatch::lookup_data() {
    QTest::addColumn<Names>("names");
    QTest::addColumn<Ids>("expectedIds");
    QTest::addColumn<HRESULT>("expectedResult");

    QTest::newRow("no names: nothing to do") << Names{} << Ids{} << S_OK;
    QTest::newRow("each name gets its table position")
        << Names{"CB_IsOurCustomBrowser", "CB_Close", "CB_CustomFunction", "CB_CustomFunctionWithParams",
                 "CB_OpenWindow"}
        << Ids{1, 2, 3, 4, 5} << S_OK;
    QTest::newRow("letter case differs: unknown")
        << Names{"cb_close"} << Ids{DISPID_UNKNOWN} << DISP_E_UNKNOWNNAME;
    QTest::newRow("one letter upper: unknown")
        << Names{"CB_OpenWINDOW"} << Ids{DISPID_UNKNOWN} << DISP_E_UNKNOWNNAME;
    QTest::newRow("two names, second unknown: first still resolved")
        << Names{"CB_OpenWindow", "width"} << Ids{5, DISPID_UNKNOWN} << DISP_E_UNKNOWNNAME;
    QTest::newRow("two names, first unknown: second still resolved")
        << Names{"open", "CB_Close"} << Ids{DISPID_UNKNOWN, 2} << DISP_E_UNKNOWNNAME;
    QTest::newRow("argument names are looked up in the table too")
        << Names{"CB_CustomFunctionWithParams", "CB_Close"} << Ids{4, 2} << S_OK;
    QTest::newRow("prefix of a name: unknown")
        << Names{"CB_Custom"} << Ids{DISPID_UNKNOWN} << DISP_E_UNKNOWNNAME;
    QTest::newRow("name with trailing space: unknown")
        << Names{"CB_Close "} << Ids{DISPID_UNKNOWN} << DISP_E_UNKNOWNNAME;
    QTest::newRow("name with embedded NUL: unknown")
        << Names{std::string("CB_Close\0x", 10)} << Ids{DISPID_UNKNOWN} << DISP_E_UNKNOWNNAME;
    QTest::newRow("empty name: unknown") << Names{""} << Ids{DISPID_UNKNOWN} << DISP_E_UNKNOWNNAME;
}

void TestExternalDispatch::lookup() {
    QFETCH(Names, names);
    QFETCH(Ids, expectedIds);
    QFETCH(HRESULT, expectedResult);

    CExternalDispatch dispatch([] { return nullptr; });
    Ids ids(names.size(), 12345);
    QCOMPARE(dispatch.GetIDsOfNames(names, ids), expectedResult);
    QCOMPARE(ids, expectedIds);
}

void TestExternalDispatch::flags_data() {
    QTest::addColumn<DISPID>("id");
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<bool>("withResult");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("expectedCalls");
    QTest::addColumn<int>("expectedResult"); // -1 untouched, 0 false, 1 true

    const Args noArgs;
    QTest::newRow("property get of open window: true, nothing opened")
        << 5 << DISPATCH_PROPERTYGET << true << true << QStringList{} << 1;
    QTest::newRow("property get of close: true, nothing closed")
        << 2 << DISPATCH_PROPERTYGET << true << true << QStringList{} << 1;
    QTest::newRow("property get without a result variant: nothing at all")
        << 2 << DISPATCH_PROPERTYGET << false << true << QStringList{} << -1;
    QTest::newRow("is-our-browser called: true")
        << 1 << DISPATCH_METHOD << true << true << QStringList{QStringLiteral("IsOurCustomBrowser")} << 1;
    QTest::newRow("is-our-browser answering no: false")
        << 1 << DISPATCH_METHOD << true << false << QStringList{QStringLiteral("IsOurCustomBrowser")} << 0;
    QTest::newRow("both flags on is-our-browser: called once, answer wins")
        << 1 << (DISPATCH_METHOD | DISPATCH_PROPERTYGET) << true << false
        << QStringList{QStringLiteral("IsOurCustomBrowser")} << 0;
    QTest::newRow("both flags on message box: runs once, true stays")
        << 3 << (DISPATCH_METHOD | DISPATCH_PROPERTYGET) << true << true
        << QStringList{QStringLiteral("CustomFunction")} << 1;
    QTest::newRow("close called: result untouched")
        << 2 << DISPATCH_METHOD << true << true << QStringList{QStringLiteral("CloseActiveWindow")} << -1;
    QTest::newRow("identifier 0: nothing")
        << 0 << (DISPATCH_METHOD | DISPATCH_PROPERTYGET) << true << true << QStringList{} << -1;
    QTest::newRow("identifier 6: nothing")
        << 6 << (DISPATCH_METHOD | DISPATCH_PROPERTYGET) << true << true << QStringList{} << -1;
    QTest::newRow("unknown identifier -1: nothing")
        << DISPID_UNKNOWN << DISPATCH_METHOD << true << true << QStringList{} << -1;
    QTest::newRow("property put flag only: nothing") << 2 << 4u << true << true << QStringList{} << -1;
}

void TestExternalDispatch::flags() {
    QFETCH(DISPID, id);
    QFETCH(unsigned, flags);
    QFETCH(bool, withResult);
    QFETCH(bool, answer);
    QFETCH(QStringList, expectedCalls);
    QFETCH(int, expectedResult);

    RecordingTarget target;
    target.answer = answer;
    CExternalDispatch dispatch([&target] { return &target; });
    Variant result = std::monostate();
    QCOMPARE(dispatch.Invoke(id, flags, {}, withResult ? &result : nullptr), S_OK);

    QStringList calls;
    for (const Call& call : target.calls)
        calls << QString::fromStdString(call.name);
    QCOMPARE(calls, expectedCalls);
    if (expectedResult < 0)
        QVERIFY(std::holds_alternative<std::monostate>(result));
    else
        QCOMPARE(std::get<bool>(result), expectedResult == 1);
}

void TestExternalDispatch::arguments_data() {
    QTest::addColumn<DISPID>("id");
    QTest::addColumn<Args>("args"); // script order; reversed before the call
    QTest::addColumn<bool>("called");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<Numbers>("expectedNumbers");

    const std::string record = "Ann|Hi|2 min|Sales";
    QTest::newRow("record and action 1")
        << 4 << Args{record, 1.0} << true << QString::fromStdString(record) << Numbers{1};
    QTest::newRow("action 3 after a non-ASCII text")
        << 4 << Args{std::string("Zoë ✓"), 3.0} << true << QStringLiteral("Zoë ✓") << Numbers{3};
    QTest::newRow("no arguments: nothing") << 4 << Args{} << false << QString() << Numbers{};
    QTest::newRow("text only, action missing: nothing")
        << 4 << Args{record} << false << QString() << Numbers{};
    QTest::newRow("action given as text: nothing")
        << 4 << Args{record, std::string("1")} << false << QString() << Numbers{};
    QTest::newRow("action NaN: nothing") << 4 << Args{record, kNaN} << false << QString() << Numbers{};
    QTest::newRow("action infinite: nothing")
        << 4 << Args{record, kInfinity} << false << QString() << Numbers{};
    QTest::newRow("action undefined: nothing")
        << 4 << Args{record, std::monostate()} << false << QString() << Numbers{};
    QTest::newRow("action boolean: nothing") << 4 << Args{record, true} << false << QString() << Numbers{};
    QTest::newRow("action with fraction: cut toward zero")
        << 4 << Args{record, 2.9} << true << QString::fromStdString(record) << Numbers{2};
    QTest::newRow("action beyond 32 bits: clamped, not wrapped")
        << 4 << Args{record, 4294967297.0} << true << QString::fromStdString(record)
        << Numbers{std::numeric_limits<std::int32_t>::max()};
    QTest::newRow("null text: empty") << 4 << Args{nullptr, 1.0} << true << QString() << Numbers{1};
    QTest::newRow("undefined text: empty")
        << 4 << Args{std::monostate(), 2.0} << true << QString() << Numbers{2};
    QTest::newRow("number as text: written as script would")
        << 4 << Args{12.5, 1.0} << true << QStringLiteral("12.5") << Numbers{1};
    QTest::newRow("whole number as text: no fraction")
        << 4 << Args{42.0, 1.0} << true << QStringLiteral("42") << Numbers{1};
    QTest::newRow("extra arguments: the last two are the ones read")
        << 4 << Args{record, 1.0, std::string("x"), 9.0} << true << QStringLiteral("x") << Numbers{9};

    QTest::newRow("open with six arguments: sixth passed on")
        << 5 << Args{std::string("http://127.0.0.1/v"), 10.0, 20.0, 300.0, 200.0, 7.0} << true
        << QStringLiteral("http://127.0.0.1/v") << Numbers{10, 20, 300, 200, 7};
    QTest::newRow("open with negative position") << 5 << Args{std::string("u"), -100.0, -5.0, 1.0, 1.0, 0.0}
                                                 << true << QStringLiteral("u") << Numbers{-100, -5, 1, 1, 0};
    QTest::newRow("open with five arguments: nothing")
        << 5 << Args{std::string("u"), 10.0, 20.0, 300.0, 200.0} << false << QString() << Numbers{};
    QTest::newRow("open with a height that is text: nothing")
        << 5 << Args{std::string("u"), 10.0, 20.0, 300.0, std::string("200"), 0.0} << false << QString()
        << Numbers{};
    QTest::newRow("open with x NaN: nothing")
        << 5 << Args{std::string("u"), kNaN, 20.0, 300.0, 200.0, 0.0} << false << QString() << Numbers{};
    QTest::newRow("open with sixth null: nothing")
        << 5 << Args{std::string("u"), 1.0, 2.0, 3.0, 4.0, nullptr} << false << QString() << Numbers{};
    QTest::newRow("open with null url: empty url")
        << 5 << Args{nullptr, 1.0, 2.0, 3.0, 4.0, 5.0} << true << QString() << Numbers{1, 2, 3, 4, 5};
    QTest::newRow("open with width below the 32-bit range: clamped")
        << 5 << Args{std::string("u"), 0.0, 0.0, -1e12, 4.0, 5.0} << true << QStringLiteral("u")
        << Numbers{0, 0, std::numeric_limits<std::int32_t>::min(), 4, 5};
}

void TestExternalDispatch::arguments() {
    QFETCH(DISPID, id);
    QFETCH(Args, args);
    QFETCH(bool, called);
    QFETCH(QString, expectedText);
    QFETCH(Numbers, expectedNumbers);

    RecordingTarget target;
    CExternalDispatch dispatch([&target] { return &target; });
    const Args reversed(args.rbegin(), args.rend());
    Variant result = std::monostate();
    QCOMPARE(dispatch.Invoke(id, DISPATCH_METHOD, reversed, &result), S_OK);

    QCOMPARE(target.calls.size(), std::size_t(called ? 1 : 0));
    QVERIFY(std::holds_alternative<std::monostate>(result));
    if (!called)
        return;
    QCOMPARE(QString::fromStdString(target.calls[0].text), expectedText);
    QCOMPARE(target.calls[0].numbers, expectedNumbers);
}

void TestExternalDispatch::noTargetDoesNothing() {
    CExternalDispatch dispatch([] { return nullptr; });
    Variant result = std::monostate();
    QCOMPARE(dispatch.Invoke(1, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result), S_OK);
    QVERIFY(std::holds_alternative<std::monostate>(result));
}

void TestExternalDispatch::typeInfoIsNotOffered() {
    CExternalDispatch dispatch([] { return nullptr; });
    unsigned count = 77;
    QCOMPARE(dispatch.GetTypeInfoCount(&count), E_NOTIMPL);
    QCOMPARE(count, 77u);
    void* info = &count;
    QCOMPARE(dispatch.GetTypeInfo(0, 0, &info), E_NOTIMPL);
    QCOMPARE(info, static_cast<void*>(&count));
}

void TestExternalDispatch::countNeverEndsTheObject() {
    RecordingTarget target;
    CExternalDispatch dispatch([&target] { return &target; });
    QCOMPARE(dispatch.AddRef(), 1u);
    QCOMPARE(dispatch.AddRef(), 2u);
    QCOMPARE(dispatch.Release(), 1u);
    QCOMPARE(dispatch.Release(), 0u);
    QCOMPARE(dispatch.Release(), 0u);
    // Still serves calls after its count reached zero.
    QCOMPARE(dispatch.Invoke(3, DISPATCH_METHOD, {}, nullptr), S_OK);
    QCOMPARE(target.calls.size(), std::size_t(1));
}

QTEST_GUILESS_MAIN(TestExternalDispatch)
#include "test_external_dispatch.moc"
