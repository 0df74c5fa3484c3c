#include "recovery/recovery_policy.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace quillo {

std::int64_t Backoff::failed(std::int64_t nowMs, double jitter01) {
    if (m_upSince && nowMs - *m_upSince >= m_policy.stableMs)
        m_failures = 0;
    m_upSince.reset();
    std::int64_t wait = m_policy.firstMs;
    for (int i = 0; i < m_failures && wait < m_policy.maxMs; ++i)
        wait *= 2;
    wait = std::min(wait, m_policy.maxMs);
    ++m_failures;
    const double spread = std::clamp(jitter01, 0.0, 1.0) * m_policy.jitter;
    return wait + std::int64_t(std::llround(double(wait) * spread));
}

void Backoff::succeeded(std::int64_t nowMs) {
    if (!m_upSince)
        m_upSince = nowMs;
}

namespace {

// The engine's network errors that mean "the service did not answer at all".
constexpr std::array kUnreachableErrors = {
    -7,   // timed out
    -15,  // socket not connected: the service closed the connection under the request
    -21,  // network changed
    -100, // connection closed
    -101, // connection reset
    -102, // connection refused
    -103, // connection aborted
    -104, // connection failed
    -105, // name not resolved
    -106, // internet disconnected
    -107, // TLS handshake failed
    -109, // address unreachable
    -118, // connection timed out
    -137, // name resolution failed
    -324, // empty response: the service went down mid-answer
    // The way there: a proxy that is down or restarting, or that could not reach the service.
    -111, // tunnel through the proxy failed
    -120, // SOCKS proxy connection failed
    -121, // SOCKS proxy could not reach the service's host
    -130, // proxy connection failed
    -131, // proxy configuration script could not be fetched or run
    -186, // proxy could not reach the service
};
// What a load balancer answers while the service behind it restarts.
constexpr std::array kRestartingStatuses = {
    502, // bad gateway
    503, // service unavailable
    504, // gateway timeout
};
constexpr int kAborted = -3;
constexpr int kFirstCertificateError = -299;
constexpr int kLastCertificateError = -200;

} // namespace

LoadVerdict judgeLoad(bool succeeded, int errorCode, bool isHttpStatus) {
    if (succeeded)
        return LoadVerdict::Loaded;
    if (isHttpStatus)
        return std::find(kRestartingStatuses.begin(), kRestartingStatuses.end(), errorCode) !=
                       kRestartingStatuses.end()
                   ? LoadVerdict::Unavailable
                   : LoadVerdict::Failed;
    if (errorCode == kAborted)
        return LoadVerdict::Replaced;
    // A certificate the engine refused stays refused: retrying would only hammer a wrong server.
    if (errorCode >= kFirstCertificateError && errorCode <= kLastCertificateError)
        return LoadVerdict::Failed;
    if (std::find(kUnreachableErrors.begin(), kUnreachableErrors.end(), errorCode) !=
        kUnreachableErrors.end())
        return LoadVerdict::Unreachable;
    return LoadVerdict::Failed;
}

std::optional<alerts::LoadResult> sleepLoadResult(LoadVerdict verdict) {
    switch (verdict) {
    case LoadVerdict::Loaded:
        return alerts::LoadResult::Ok;
    case LoadVerdict::Replaced:
        return std::nullopt;
    case LoadVerdict::Unreachable:
        return alerts::LoadResult::NetworkError;
    case LoadVerdict::Unavailable:
    case LoadVerdict::Failed:
        break;
    }
    return alerts::LoadResult::OtherError;
}

RecoveryNotice recoveryNotice(RecoveryReason reason, std::string address, std::int64_t msLeft) {
    const bool serviceDown = reason == RecoveryReason::Unreachable || reason == RecoveryReason::Unavailable;
    // Rounded up, so "in 1 second" is never shown while the try is still a second and more away.
    const std::int64_t seconds = msLeft <= 0 ? 0 : (msLeft + 999) / 1000;
    return {reason, serviceDown, std::move(address), int(std::min<std::int64_t>(seconds, 1 << 30))};
}

const char* reasonName(RecoveryReason reason) {
    switch (reason) {
    case RecoveryReason::RendererCrashed:
        return "renderer crashed";
    case RecoveryReason::RendererKilled:
        return "renderer killed";
    case RecoveryReason::RendererEnded:
        return "renderer ended";
    case RecoveryReason::PageHung:
        return "page hung";
    case RecoveryReason::Unreachable:
        return "service unreachable";
    case RecoveryReason::Unavailable:
        return "service unavailable";
    case RecoveryReason::Refused:
        return "refused";
    }
    return "unknown";
}

} // namespace quillo
