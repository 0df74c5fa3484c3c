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

void DownloadGate::operatorActed(Page page, std::int64_t nowMs) {
    m_pages[page].operatorActedAt = nowMs;
}

DownloadVerdict DownloadGate::request(Page page, std::int64_t nowMs) {
    PageState& state = m_pages[page];
    const bool operatorStarted = state.operatorActedAt && nowMs - *state.operatorActedAt <= kOperatorActMs;
    if (state.asking || (state.declined && !operatorStarted)) {
        ++state.refused;
        return state.refused == 1 ? DownloadVerdict::Refuse : DownloadVerdict::RefuseQuietly;
    }
    state.asking = true;
    // One act of the operator opens one question, never a series of them.
    state.operatorActedAt.reset();
    return DownloadVerdict::Ask;
}

RefusalReason DownloadGate::refusalReason(Page page) const {
    const auto state = m_pages.find(page);
    return state != m_pages.end() && state->second.asking ? RefusalReason::QuestionOpen
                                                          : RefusalReason::Declined;
}

void DownloadGate::questionClosed(Page page, bool declined) {
    PageState& state = m_pages[page];
    state.asking = false;
    state.declined = declined;
    // Only what the operator does after saying no counts as wanting the page's downloads again.
    if (declined)
        state.operatorActedAt.reset();
}

int DownloadGate::takeQuietRefusals(Page page) {
    const auto state = m_pages.find(page);
    if (state == m_pages.end())
        return 0;
    const int quiet = state->second.refused > 1 ? state->second.refused - 1 : 0;
    state->second.refused = 0;
    return quiet;
}

void DownloadGate::forget(Page page) {
    m_pages.erase(page);
}

} // namespace quillo::page_services
