#include "notification/request_notice.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <string_view>
#include <tuple>

using namespace quillo::notify;

TEST_CASE("which platforms show a chat request on the desktop too") {
    struct Row {
        std::string_view platform;
        bool shows;
    };
    const Row rows[] = {
        {"wayland", true},    {"wayland-egl", true}, {"wayland-brcm", true}, {"xcb", false},
        {"offscreen", false}, {"", false},           {"eglfs", false},       {"Wayland", false},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.platform));
        CHECK(showsRequestOnDesktop(row.platform) == row.shows);
    }
}

TEST_CASE("the notice of a request: shown, accepted, closed when its request ends") {
    RequestNotice notice;
    const auto serial = notice.requestShown();
    CHECK(notice.replaces() == 0);
    CHECK(notice.shown(serial, 7u) == std::nullopt);
    CHECK_FALSE(notice.actionInvoked(7, "default"));
    CHECK_FALSE(notice.actionInvoked(8, "accept"));
    CHECK(notice.actionInvoked(7, "accept"));
    // A newer request takes the notice's place; the popup's accept ends it.
    const auto next = notice.requestShown();
    CHECK(notice.replaces() == 7);
    CHECK(notice.shown(next, 7u) == std::nullopt);
    CHECK(notice.popupEnded(PopupEnd::Accepted) == std::optional<RequestNotice::Id>(7));
    CHECK_FALSE(notice.actionInvoked(7, "accept"));
    CHECK(notice.popupEnded(PopupEnd::Accepted) == std::nullopt);
}

TEST_CASE("the popup's display ends: the notice stays while the request waits") {
    const std::tuple<const char*, PopupEnd, bool> rows[] = {
        {"display time ran out: stays, its Accept still counts", PopupEnd::TimedOut, false},
        {"dismissed on the popup: closed", PopupEnd::Declined, true},
        {"accepted on the popup: closed", PopupEnd::Accepted, true},
    };
    for (const auto& [name, end, closes] : rows) {
        CAPTURE(name);
        RequestNotice notice;
        CHECK(notice.shown(notice.requestShown(), 9u) == std::nullopt);
        CHECK(notice.popupEnded(end) == (closes ? std::optional<RequestNotice::Id>(9) : std::nullopt));
        CHECK(notice.actionInvoked(9, "accept") == !closes);
        // A newer request takes the place of a notice that still stands.
        CHECK(notice.replaces() == (closes ? 0u : 9u));
    }
}

TEST_CASE("answers that come late close what no request stands for") {
    SUBCASE("the popup closed before the service answered") {
        RequestNotice notice;
        const auto serial = notice.requestShown();
        CHECK(notice.popupEnded(PopupEnd::Declined) == std::nullopt);
        CHECK(notice.shown(serial, 3u) == std::optional<RequestNotice::Id>(3));
        CHECK_FALSE(notice.actionInvoked(3, "accept"));
    }
    SUBCASE("a newer request was shown before the older one's answer") {
        RequestNotice notice;
        const auto older = notice.requestShown();
        const auto newer = notice.requestShown();
        CHECK(notice.shown(older, 3u) == std::optional<RequestNotice::Id>(3));
        CHECK(notice.shown(newer, 4u) == std::nullopt);
        CHECK(notice.actionInvoked(4, "accept"));
        CHECK_FALSE(notice.actionInvoked(3, "accept"));
    }
    SUBCASE("no service: nothing to close, no button to press") {
        RequestNotice notice;
        const auto serial = notice.requestShown();
        CHECK(notice.shown(serial, std::nullopt) == std::nullopt);
        CHECK_FALSE(notice.actionInvoked(0, "accept"));
        CHECK(notice.popupEnded(PopupEnd::Accepted) == std::nullopt);
    }
    SUBCASE("the service closed the notice itself") {
        RequestNotice notice;
        const auto serial = notice.requestShown();
        CHECK(notice.shown(serial, 5u) == std::nullopt);
        notice.closedByService(5);
        CHECK_FALSE(notice.actionInvoked(5, "accept"));
        CHECK(notice.popupEnded(PopupEnd::Accepted) == std::nullopt);
    }
}
