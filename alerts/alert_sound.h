#pragma once

#include "alerts/alert_time.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillo::alerts {

enum class SoundMode { Off, Once, Repeat };

inline constexpr SoundMode kDefaultSoundMode = SoundMode::Once;
// However many requests arrive, the sound starts at most once in this time.
inline constexpr TimeMs kSoundHoldMs = 2000;
inline constexpr TimeMs kRepeatPeriodMs = 10000;
// Repeat stops this long after the first request that is still unanswered.
inline constexpr TimeMs kRepeatLimitMs = 120000;

struct ParsedSoundMode {
    SoundMode mode = kDefaultSoundMode;
    // False when the text named no mode and mode is the default, so the caller can say so.
    bool known = false;
};

// "off", "once" or "repeat", in any letter case, with surrounding blanks ignored. Anything else,
// the empty text included, gives the default.
ParsedSoundMode parseSoundMode(std::string_view text);
// The lower-case form that parseSoundMode reads back: what the settings file and the setup tool
// hold.
std::string_view formatSoundMode(SoundMode mode);

// When the client's alert sound plays, apart from any timer or audio device.
//
// Requests (a chat request's popup rising, a trusted page's notification that is not silent) come
// in through onRequest(); each answer of the operator (accepting, closing the popup, clicking a
// notification, activating the console, any key or mouse press in the client) through
// onAnswered(); a request its page took back (a notification the page closed, as when a colleague
// accepted the chat) through onWithdrawn(). The shell plays when a call returns true and, in
// Repeat, keeps one timer at nextDue() that calls onTick().
//
// - The sound starts at most once per kSoundHoldMs: a request inside the hold is heard in the
//   sound that is already playing. An answer does not end the hold.
// - Repeat: while a request is unanswered the sound plays again kRepeatPeriodMs after the last
//   time it played, for as long as that falls no later than kRepeatLimitMs after the first
//   unanswered request (a repeat exactly at the limit still plays). Later requests neither
//   restart nor extend the limit; after an answer, or once the limit has passed, the next request
//   starts a new one. A repeat ends when every request it sounds for was withdrawn.
// - Off never plays. Changing the mode ends a repeat; switching to Repeat starts none until the
//   next request.
// - A time earlier than the last play (the caller's clock restarted) counts as after the hold,
//   since a missed alert costs more than an extra one.
class SoundRules final {
public:
    // Names a request that its page can withdraw; kFixedRequest one that only an answer ends.
    using RequestKey = std::uint64_t;
    static constexpr RequestKey kFixedRequest = 0;

    explicit SoundRules(SoundMode mode = kDefaultSoundMode);

    SoundMode mode() const { return m_mode; }
    void setMode(SoundMode mode);

    // True: play now.
    bool onRequest(TimeMs now, RequestKey key = kFixedRequest);
    // True: play now. A tick before nextDue() (a timer that fired early) or after the repeat's
    // limit plays nothing; a late one plays and the next repeat counts from it.
    bool onTick(TimeMs now);
    void onAnswered();
    void onWithdrawn(RequestKey key);

    // When onTick() should next be called, or nullopt when no repeat is due.
    std::optional<TimeMs> nextDue() const;

private:
    bool holdOver(TimeMs now) const;
    void play(TimeMs now);

    SoundMode m_mode;
    std::optional<TimeMs> m_lastPlay;
    // The first unanswered request of the current repeat, in Repeat mode only.
    std::optional<TimeMs> m_repeatSince;
    // The requests the current repeat sounds for.
    std::vector<RequestKey> m_repeatFor;
};

// What the player does after each outcome of a play, apart from any audio service.
//
// A failed play is tried once more on a newly opened connection, since a connection the sound
// service has dropped stays silent until it is opened again. When that fails too the play is given
// up and the failure is logged, once until a play succeeds again; that success is logged too, so
// the log shows how long the alert was silent.
class PlayAttempts final {
public:
    struct Step {
        bool reopenAndRetry = false;
        bool logFailure = false;
        bool logRecovery = false;
        friend bool operator==(const Step&, const Step&) = default;
    };

    // A new play starts: it gets its own retry.
    void onStart() { m_retried = false; }
    Step onFailed();
    Step onPlayed();

private:
    bool m_retried = false;
    bool m_failureLogged = false;
};

} // namespace quillo::alerts
