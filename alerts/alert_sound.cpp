#include "alerts/alert_sound.h"

#include <array>
#include <utility>

namespace quillo::alerts {

namespace {

constexpr std::array<std::pair<SoundMode, std::string_view>, 3> kModeNames{{
    {SoundMode::Off, "off"},
    {SoundMode::Once, "once"},
    {SoundMode::Repeat, "repeat"},
}};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// ASCII only: a locale's case rules must not decide what a settings file means.
bool equalsIgnoringCase(std::string_view text, std::string_view lowerName) {
    if (text.size() != lowerName.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        if (lower != lowerName[i])
            return false;
    }
    return true;
}

} // namespace

ParsedSoundMode parseSoundMode(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    for (const auto& [mode, name] : kModeNames) {
        if (equalsIgnoringCase(text, name))
            return {mode, true};
    }
    return {kDefaultSoundMode, false};
}

std::string_view formatSoundMode(SoundMode mode) {
    for (const auto& [known, name] : kModeNames) {
        if (known == mode)
            return name;
    }
    return formatSoundMode(kDefaultSoundMode);
}

SoundRules::SoundRules(SoundMode mode)
    : m_mode(mode) {}

void SoundRules::setMode(SoundMode mode) {
    m_mode = mode;
    onAnswered();
}

bool SoundRules::onRequest(TimeMs now, RequestKey key) {
    if (m_mode == SoundMode::Off)
        return false;
    if (m_mode == SoundMode::Repeat) {
        // A repeat that reached its limit is over, though no tick came to say so.
        if (!m_repeatSince || now < *m_repeatSince || now - *m_repeatSince > kRepeatLimitMs) {
            m_repeatSince = now;
            m_repeatFor.clear();
        }
        m_repeatFor.push_back(key);
    }
    if (!holdOver(now))
        return false;
    play(now);
    return true;
}

bool SoundRules::onTick(TimeMs now) {
    const std::optional<TimeMs> due = nextDue();
    if (!due || now < *due)
        return false;
    if (now - *m_repeatSince > kRepeatLimitMs) {
        onAnswered();
        return false;
    }
    play(now);
    return true;
}

void SoundRules::onAnswered() {
    m_repeatSince.reset();
    m_repeatFor.clear();
}

void SoundRules::onWithdrawn(RequestKey key) {
    if (key == kFixedRequest || !m_repeatSince)
        return;
    std::erase(m_repeatFor, key);
    if (m_repeatFor.empty())
        onAnswered();
}

std::optional<TimeMs> SoundRules::nextDue() const {
    if (m_mode != SoundMode::Repeat || !m_repeatSince || !m_lastPlay)
        return std::nullopt;
    const TimeMs due = *m_lastPlay + kRepeatPeriodMs;
    if (due - *m_repeatSince > kRepeatLimitMs)
        return std::nullopt;
    return due;
}

bool SoundRules::holdOver(TimeMs now) const {
    return !m_lastPlay || now < *m_lastPlay || now - *m_lastPlay >= kSoundHoldMs;
}

void SoundRules::play(TimeMs now) {
    m_lastPlay = now;
}

PlayAttempts::Step PlayAttempts::onFailed() {
    if (!m_retried) {
        m_retried = true;
        return {.reopenAndRetry = true};
    }
    const bool log = !m_failureLogged;
    m_failureLogged = true;
    return {.logFailure = log};
}

PlayAttempts::Step PlayAttempts::onPlayed() {
    const bool log = m_failureLogged;
    m_failureLogged = false;
    return {.logRecovery = log};
}

} // namespace quillo::alerts
