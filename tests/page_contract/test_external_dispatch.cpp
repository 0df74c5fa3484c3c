#include "page_contract/close_request.h"
#include "page_contract/external_dispatch.h"
#include "page_contract/page_contract.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
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
    void CloseActiveWindow(const CallerWindow*) override { calls.push_back({"CloseActiveWindow", {}, {}}); }
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
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

} // namespace

TEST_CASE("the five names, matched exactly") {
    struct Row {
        std::string_view name;
        std::string method;
        std::string expectedCall; // empty: the name is not one of the five
    };
    const Row rows[] = {
        {"is-our-browser", "CB_IsOurCustomBrowser", "IsOurCustomBrowser"},
        {"close", "CB_Close", "CloseActiveWindow"},
        {"message box", "CB_CustomFunction", "CustomFunction"},
        {"letter case differs: unknown", "cb_close", ""},
        {"one letter upper: unknown", "CB_OpenWINDOW", ""},
        {"prefix of a name: unknown", "CB_Custom", ""},
        {"name with trailing space: unknown", "CB_Close ", ""},
        {"name with embedded NUL: unknown", std::string("CB_Close\0x", 10), ""},
        {"empty name: unknown", "", ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        RecordingTarget target;
        CExternalDispatch dispatch([&target] { return &target; });
        CHECK(dispatch.call(row.method, {}) == !row.expectedCall.empty());

        std::vector<std::string> calls;
        for (const Call& call : target.calls)
            calls.push_back(call.name);
        const std::vector<std::string> expected = row.expectedCall.empty()
                                                      ? std::vector<std::string>{}
                                                      : std::vector<std::string>{row.expectedCall};
        CHECK(calls == expected);
    }
}

TEST_CASE("the arguments each method reads, and calls given too few or the wrong kind") {
    const std::string kWithParams = "CB_CustomFunctionWithParams";
    const std::string kOpen = "CB_OpenWindow";
    struct Row {
        std::string_view name;
        std::string method;
        Args args; // script order
        bool called;
        std::string expectedText;
        Numbers expectedNumbers;
    };
    const std::string record = "Ann|Hi|2 min|Sales";
    const Row rows[] = {
        {"record and action 1", kWithParams, {record, 1.0}, true, record, {1}},
        {"action 3 after a non-ASCII text", kWithParams, {std::string("Zoë ✓"), 3.0}, true, "Zoë ✓", {3}},
        {"no arguments: nothing", kWithParams, {}, false, "", {}},
        {"text only, action missing: nothing", kWithParams, {record}, false, "", {}},
        {"action given as text: nothing", kWithParams, {record, std::string("1")}, false, "", {}},
        {"action NaN: nothing", kWithParams, {record, kNaN}, false, "", {}},
        {"action infinite: nothing", kWithParams, {record, kInfinity}, false, "", {}},
        {"action undefined: nothing", kWithParams, {record, std::monostate()}, false, "", {}},
        {"action boolean: nothing", kWithParams, {record, true}, false, "", {}},
        {"action with fraction: cut toward zero", kWithParams, {record, 2.9}, true, record, {2}},
        {"action beyond 32 bits: clamped, not wrapped",
         kWithParams,
         {record, 4294967297.0},
         true,
         record,
         {kInt32Max}},
        {"null text: empty", kWithParams, {nullptr, 1.0}, true, "", {1}},
        {"undefined text: empty", kWithParams, {std::monostate(), 2.0}, true, "", {2}},
        {"number as text: written as script would", kWithParams, {12.5, 1.0}, true, "12.5", {1}},
        {"whole number as text: no fraction", kWithParams, {42.0, 1.0}, true, "42", {1}},
        {"extra arguments: the leading two are the ones read",
         kWithParams,
         {record, 1.0, std::string("x"), 9.0},
         true,
         record,
         {1}},

        {"open with six arguments: sixth passed on",
         kOpen,
         {std::string("http://127.0.0.1/v"), 10.0, 20.0, 300.0, 200.0, 7.0},
         true,
         "http://127.0.0.1/v",
         {10, 20, 300, 200, 7}},
        {"open with negative position",
         kOpen,
         {std::string("u"), -100.0, -5.0, 1.0, 1.0, 0.0},
         true,
         "u",
         {-100, -5, 1, 1, 0}},
        {"open with five arguments: nothing",
         kOpen,
         {std::string("u"), 10.0, 20.0, 300.0, 200.0},
         false,
         "",
         {}},
        {"open with a height that is text: nothing",
         kOpen,
         {std::string("u"), 10.0, 20.0, 300.0, std::string("200"), 0.0},
         false,
         "",
         {}},
        {"open with x NaN: nothing", kOpen, {std::string("u"), kNaN, 20.0, 300.0, 200.0, 0.0}, false, "", {}},
        {"open with sixth null: nothing",
         kOpen,
         {std::string("u"), 1.0, 2.0, 3.0, 4.0, nullptr},
         false,
         "",
         {}},
        {"open with null url: empty url",
         kOpen,
         {nullptr, 1.0, 2.0, 3.0, 4.0, 5.0},
         true,
         "",
         {1, 2, 3, 4, 5}},
        {"open with width below the 32-bit range: clamped",
         kOpen,
         {std::string("u"), 0.0, 0.0, -1e12, 4.0, 5.0},
         true,
         "u",
         {0, 0, kInt32Min, 4, 5}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        RecordingTarget target;
        CExternalDispatch dispatch([&target] { return &target; });
        CHECK(dispatch.call(row.method, row.args));

        CHECK(target.calls.size() == std::size_t(row.called ? 1 : 0));
        if (!row.called || target.calls.empty())
            continue;
        CHECK(target.calls[0].text == row.expectedText);
        CHECK(target.calls[0].numbers == row.expectedNumbers);
    }
}

TEST_CASE("before the main window exists, a call is still recognised but reaches nothing") {
    CExternalDispatch dispatch([] { return nullptr; });
    CHECK(dispatch.call("CB_CustomFunctionWithParams", Args{std::string("a|b"), 1.0}));
    CHECK_FALSE(dispatch.call("CB_Nothing", {}));
}

TEST_CASE("CB_Close ends the calling page's own window, never the one the operator is in") {
    using enum CloseCaller;
    using enum OperatorPlace;
    using enum CloseAction;
    const std::tuple<const char*, CloseCaller, OperatorPlace, CloseAction> rows[] = {
        {"console, main window active: the client ends", MainWindow, CallersWindow, EndClient},
        {"console, operator in a pool window: refused", MainWindow, Elsewhere, Refuse},
        {"console, operator answering the console's box: refused", MainWindow, BoxOfCallersWindow, Refuse},
        {"pool page, its window active: that window ends", SecondaryWindow, CallersWindow, EndCallersWindow},
        {"pool page, main window active: still only its window", SecondaryWindow, Elsewhere,
         EndCallersWindow},
        {"pool page, operator answering its chooser: refused", SecondaryWindow, BoxOfCallersWindow, Refuse},
    };
    for (const auto& [name, caller, place, action] : rows) {
        CAPTURE(name);
        CHECK(closeActionFor(caller, place) == action);
    }
}
