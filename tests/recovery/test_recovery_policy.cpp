#include "recovery/recovery_policy.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <string_view>
#include <vector>

using namespace quillo;

namespace {
// One step of a browser's life: a failure at a time (with the jitter draw), or a page that came up.
struct Step {
    std::int64_t atMs;
    bool up;
    double jitter = 0.0;
};
} // namespace

TEST_CASE("the waits between tries, as failures repeat and pages come up") {
    struct Row {
        std::string_view name;
        BackoffPolicy policy;
        std::vector<Step> steps;
        std::vector<std::int64_t> waits; // one per failure, in order
    };
    const Row rows[] = {
        {"renderer dying again and again: doubling from half a second",
         kRendererBackoff,
         {{0, false}, {600, false}, {1700, false}, {3800, false}},
         {500, 1000, 2000, 4000}},
        {"renderer: waits stop growing at a minute",
         kRendererBackoff,
         {{0, false},
          {1, false},
          {2, false},
          {3, false},
          {4, false},
          {5, false},
          {6, false},
          {7, false},
          {8, false},
          {9, false}},
         {500, 1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000}},
        {"renderer: up for a minute starts again from the first wait",
         kRendererBackoff,
         {{0, false}, {500, false}, {2000, true}, {62000, false}},
         {500, 1000, 500}},
        {"renderer: up for less than a minute keeps growing",
         kRendererBackoff,
         {{0, false}, {500, false}, {2000, true}, {61000, false}},
         {500, 1000, 2000}},
        {"renderer: later loads do not restart the minute",
         kRendererBackoff,
         {{0, false}, {1000, true}, {50000, true}, {61000, false}},
         {500, 500}},
        {"unreachable: 2, 4, 8 s; the highest jitter stretches by a tenth",
         kUnreachableBackoff,
         {{0, false}, {0, false, 0.999999}, {0, false, 0.5}},
         {2000, 4400, 8400}},
        {"unreachable: any success starts again from 2 s",
         kUnreachableBackoff,
         {{0, false}, {3000, false}, {9000, true}, {9001, false}},
         {2000, 4000, 2000}},
        {"unreachable: forever, at most a minute and its jitter",
         kUnreachableBackoff,
         {{0, false}, {0, false}, {0, false}, {0, false}, {0, false}, {0, false}, {0, false, 1.0}},
         {2000, 4000, 8000, 16000, 32000, 60000, 66000}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        Backoff backoff(row.policy);
        std::vector<std::int64_t> seen;
        for (const Step& step : row.steps) {
            if (step.up)
                backoff.succeeded(step.atMs);
            else
                seen.push_back(backoff.failed(step.atMs, step.jitter));
        }
        CHECK(seen == row.waits);
    }
}

TEST_CASE("what a failed load leads to, by the engine's error or the HTTP status") {
    struct Row {
        std::string_view name;
        int errorCode;
        bool httpStatus;
        LoadVerdict verdict;
    };
    const Row rows[] = {
        {"connection refused: retried", -102, false, LoadVerdict::Unreachable},
        {"connection reset: retried", -101, false, LoadVerdict::Unreachable},
        {"connection closed under the request: retried", -15, false, LoadVerdict::Unreachable},
        {"name not resolved: retried", -105, false, LoadVerdict::Unreachable},
        {"connection timed out: retried", -118, false, LoadVerdict::Unreachable},
        {"network changed: retried", -21, false, LoadVerdict::Unreachable},
        {"address unreachable: retried", -109, false, LoadVerdict::Unreachable},
        {"TLS handshake failed: retried", -107, false, LoadVerdict::Unreachable},
        {"proxy down or restarting: retried", -130, false, LoadVerdict::Unreachable},
        {"tunnel through the proxy failed: retried", -111, false, LoadVerdict::Unreachable},
        {"SOCKS proxy down: retried", -120, false, LoadVerdict::Unreachable},
        {"SOCKS proxy cannot reach the host: retried", -121, false, LoadVerdict::Unreachable},
        {"proxy script not fetched: retried", -131, false, LoadVerdict::Unreachable},
        {"proxy asks for credentials: retrying cannot mend it", -127, false, LoadVerdict::Failed},
        {"proxy's certificate invalid: never retried", -136, false, LoadVerdict::Failed},
        {"HTTP 503 while the service restarts: retried", 503, true, LoadVerdict::Unavailable},
        {"HTTP 502 from the load balancer: retried", 502, true, LoadVerdict::Unavailable},
        {"HTTP 504 from the load balancer: retried", 504, true, LoadVerdict::Unavailable},
        {"HTTP 500 from the service: its own answer", 500, true, LoadVerdict::Failed},
        {"HTTP 505 from the service: its own answer", 505, true, LoadVerdict::Failed},
        {"HTTP 404 from the service: its own answer", 404, true, LoadVerdict::Failed},
        {"certificate authority invalid: never retried", -202, false, LoadVerdict::Failed},
        {"certificate name mismatch: never retried", -200, false, LoadVerdict::Failed},
        {"certificate revoked: never retried", -201, false, LoadVerdict::Failed},
        {"load replaced by another: nothing to do", -3, false, LoadVerdict::Replaced},
        {"unknown scheme: retrying cannot mend it", -301, false, LoadVerdict::Failed},
        {"blocked by the client: not a network failure", -20, false, LoadVerdict::Failed},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(judgeLoad(false, row.errorCode, row.httpStatus) == row.verdict);
    }
    // A load that succeeded carries no error of its own.
    CHECK(judgeLoad(true, 0, false) == LoadVerdict::Loaded);
}

TEST_CASE("what a load's verdict tells the checks after a sleep: only the network's failure counts") {
    using alerts::LoadResult;
    CHECK(sleepLoadResult(LoadVerdict::Loaded) == LoadResult::Ok);
    CHECK(sleepLoadResult(LoadVerdict::Unreachable) == LoadResult::NetworkError);
    // The load balancer's "restarting" came over a working network.
    CHECK(sleepLoadResult(LoadVerdict::Unavailable) == LoadResult::OtherError);
    CHECK(sleepLoadResult(LoadVerdict::Failed) == LoadResult::OtherError);
    CHECK_FALSE(sleepLoadResult(LoadVerdict::Replaced).has_value());
}

TEST_CASE("what the waiting page tells, by the reason and the time left") {
    struct Row {
        std::string_view name;
        RecoveryReason reason;
        std::int64_t msLeft;
        bool serviceDown;
        int secondsLeft;
    };
    const Row rows[] = {
        {"outage, a second and a bit left: 2 seconds", RecoveryReason::Unreachable, 1001, true, 2},
        {"service busy, exactly a second left", RecoveryReason::Unavailable, 1000, true, 1},
        {"renderer crashed, a moment left: still 1 second", RecoveryReason::RendererCrashed, 1, false, 1},
        {"page hung, the try under way", RecoveryReason::PageHung, 0, false, 0},
        {"refused, past the time", RecoveryReason::Refused, -500, false, 0},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const RecoveryNotice notice = recoveryNotice(row.reason, "http://chat.example/", row.msLeft);
        CHECK(notice.reason == row.reason);
        CHECK(notice.serviceDown == row.serviceDown);
        CHECK(notice.secondsLeft == row.secondsLeft);
        CHECK(notice.address == "http://chat.example/");
    }
}
