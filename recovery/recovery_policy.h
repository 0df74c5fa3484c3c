#pragma once

#include "alerts/sleep_recovery.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillo {

// Growing waits between tries, for a browser whose renderer keeps dying or whose address keeps
// failing. Times are milliseconds on any monotonic clock the caller chooses.
struct BackoffPolicy {
    std::int64_t firstMs;
    std::int64_t maxMs;
    // A page that stayed up this long starts the waits from the first again.
    std::int64_t stableMs;
    // Each wait is stretched by up to this fraction, so many clients do not retry in step.
    double jitter;
};

// A dead renderer comes back within two seconds the first time; a page that keeps killing its
// renderer is tried less and less often.
inline constexpr BackoffPolicy kRendererBackoff{500, 60000, 60000, 0.0};
// An unreachable service is tried forever, at most once a minute.
inline constexpr BackoffPolicy kUnreachableBackoff{2000, 60000, 0, 0.1};

class Backoff {
public:
    explicit Backoff(BackoffPolicy policy)
        : m_policy(policy) {}

    // One more failure at nowMs: the wait before the next try. jitter01 is a random number in
    // [0, 1) that picks where in the jitter range the wait falls.
    std::int64_t failed(std::int64_t nowMs, double jitter01 = 0.0);
    // The page came up at nowMs.
    void succeeded(std::int64_t nowMs);
    int failures() const { return m_failures; }

private:
    BackoffPolicy m_policy;
    int m_failures = 0;
    std::optional<std::int64_t> m_upSince;
};

// How a load of a browser's top frame ended, as the browser's recovery judges it: the one
// judgement of a load, which whatever else cares about the page's loads takes from the recovery.
enum class LoadVerdict {
    Loaded,
    // Not a failure the operator needs to hear of (the load was replaced by another).
    Replaced,
    // The service could not be reached, directly or through its proxy: show the client's own page
    // and try again.
    Unreachable,
    // The service said it is restarting (502, 503, 504 from the load balancer in front of it),
    // over a network that works: show the client's own page and try again.
    Unavailable,
    // The engine's own page stands: the server's other HTTP answers, a refused certificate, or
    // anything retrying cannot mend.
    Failed,
};

// errorCode is the engine's network error (negative) or, when isHttpStatus, the HTTP status; both
// are ignored for a load that succeeded.
LoadVerdict judgeLoad(bool succeeded, int errorCode, bool isHttpStatus);

// What the console's checks around a sleep of the machine learn of a load: only a failure of the
// network itself asks for a reload at the wake; a replaced load says nothing.
std::optional<alerts::LoadResult> sleepLoadResult(LoadVerdict verdict);

// Why a browser is waiting to load its page again.
enum class RecoveryReason {
    RendererCrashed,
    RendererKilled,
    RendererEnded,
    PageHung,
    Unreachable,
    // The service answered that it cannot serve the page for now.
    Unavailable,
    // The client refused the way to the page (a certificate, a cancelled sign-in): nothing is
    // tried again until the operator asks.
    Refused,
};

// What the client's waiting page tells, as codes and data; the window puts them into the
// operator's words.
struct RecoveryNotice {
    RecoveryReason reason;
    // The service is down or busy, rather than the page broken: the title, the countdown's verb
    // and the button say "try" rather than "load".
    bool serviceDown;
    // The page's address, as the operator reads it.
    std::string address;
    // Whole seconds until the next try, rounded up; 0 while the try is under way.
    int secondsLeft;
};

RecoveryNotice recoveryNotice(RecoveryReason reason, std::string address, std::int64_t msLeft);

// The support log's name for a reason.
const char* reasonName(RecoveryReason reason);

} // namespace quillo
