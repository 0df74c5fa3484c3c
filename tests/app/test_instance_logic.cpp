#include "app/activation_request.h"
#include "app/lock_holder.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <string_view>

using namespace quillo;

TEST_CASE("who holds the lock that a start could not take") {
    struct Row {
        std::string_view name;
        bool answered;
        std::optional<LockOwner> owner;
        LockHolder expected;
        bool mayAnswer;
    };
    const LockOwner here{4242, "desk-7", "quillo"};
    const LockOwner elsewhere{4242, "operator-laptop", "quillo"};
    const Row rows[] = {
        {"a client here answered", true, here, LockHolder::Answered, true},
        {"an answer counts even where the lock names another machine", true, elsewhere, LockHolder::Answered,
         false},
        {"names this machine, nothing answers: left behind", false, here, LockHolder::Stale, true},
        {"no host name, as older writers leave it: this machine", false, LockOwner{17, "", "quillo"},
         LockHolder::Stale, true},
        {"names another machine: only the operator can tell", false, elsewhere, LockHolder::HeldElsewhere,
         false},
        {"a host that differs only in case is another name", false, LockOwner{1, "DESK-7", "quillo"},
         LockHolder::HeldElsewhere, false},
        {"empty or garbled file", false, std::nullopt, LockHolder::Unreadable, false},
        {"no process in it", false, LockOwner{0, "desk-7", "quillo"}, LockHolder::Unreadable, true},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(judgeLock(row.answered, row.owner, "desk-7") == row.expected);
        CHECK(holderMayAnswer(row.owner, "desk-7") == row.mayAnswer);
    }
}

TEST_CASE("the activation request over the socket: written and read back, hostile lines refused") {
    const LaunchToken both{"launcher/quillo/12-0-desk_TIME4021", "4b2c9a1e-launch"};
    CHECK(encodeActivationRequest({}) == "activate\n");
    CHECK(encodeActivationRequest(both) ==
          "activate startup-id=launcher/quillo/12-0-desk_TIME4021 activation-token=4b2c9a1e-launch\n");
    CHECK(decodeActivationRequest(encodeActivationRequest(both)) == both);

    struct Row {
        std::string_view name;
        std::string line;
        std::optional<LaunchToken> expected;
    };
    const Row rows[] = {
        {"the plain request of older clients", "activate\n", LaunchToken{}},
        {"one token only", "activate activation-token=abc\n", LaunchToken{"", "abc"}},
        {"an unknown field is ignored, the rest counts", "activate colour=red startup-id=x_TIME1\n",
         LaunchToken{"x_TIME1", ""}},
        {"a token with a control character is dropped",
         "activate startup-id=a\x07"
         "b activation-token=ok\n",
         LaunchToken{"", "ok"}},
        {"a token over the length limit is dropped, not cut",
         "activate startup-id=" + std::string(kMaxLaunchTokenLength + 1, 'a') + "\n", LaunchToken{}},
        {"non-ASCII is not a token", "activate startup-id=caf\xc3\xa9\n", LaunchToken{}},
        {"another verb is not a request", "quit\n", std::nullopt},
        {"a verb that merely starts alike", "activated\n", std::nullopt},
        {"the old request with trailing junk glued on", "activatex startup-id=a\n", std::nullopt},
        {"an over-long line", "activate " + std::string(kMaxActivationRequest, 'x') + "\n", std::nullopt},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(decodeActivationRequest(row.line) == row.expected);
    }
}
