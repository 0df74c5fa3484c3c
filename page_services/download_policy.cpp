#include "page_services/download_policy.h"

#include "page_services/web_policy.h"

namespace quillo::page_services {

std::optional<std::string> freePartialName(std::string_view name,
                                           const std::function<bool(const std::string&)>& taken) {
    const auto partial = [](const std::string& candidate) {
        return candidate + std::string(kPartialSuffix);
    };
    const std::optional<std::string> free = freeDownloadName(name, [&](const std::string& candidate) {
        const std::string path = partial(candidate);
        return taken(path) || taken(path + std::string(kEngineSuffix));
    });
    if (!free)
        return std::nullopt;
    return partial(*free);
}

void DownloadGate::operatorActed(std::int64_t nowMs) {
    m_operatorActedAt = nowMs;
}

DownloadVerdict DownloadGate::request(std::int64_t nowMs) {
    const bool operatorStarted = m_operatorActedAt && nowMs - *m_operatorActedAt <= kOperatorActMs;
    if (m_asking || (m_declined && !operatorStarted)) {
        ++m_refused;
        return m_refused == 1 ? DownloadVerdict::Refuse : DownloadVerdict::RefuseQuietly;
    }
    m_asking = true;
    // One act of the operator opens one question, never a series of them.
    m_operatorActedAt.reset();
    return DownloadVerdict::Ask;
}

RefusalReason DownloadGate::refusalReason() const {
    return m_asking ? RefusalReason::QuestionOpen : RefusalReason::Declined;
}

void DownloadGate::questionClosed(bool declined) {
    m_asking = false;
    m_declined = declined;
    // Only what the operator does after saying no counts as wanting the page's downloads again.
    if (declined)
        m_operatorActedAt.reset();
}

int DownloadGate::takeQuietRefusals() {
    const int quiet = m_refused > 1 ? m_refused - 1 : 0;
    m_refused = 0;
    return quiet;
}

} // namespace quillo::page_services
