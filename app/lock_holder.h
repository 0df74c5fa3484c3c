#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// What the lock file says about the client that holds it.
struct LockOwner {
    long long pid = 0;
    std::string hostName; // empty in locks of some writers: this machine then
    std::string appName;
};

// Who holds the lock that this start could not take.
enum class LockHolder {
    Answered,      // a client of this user answered and shows its window: this start ends
    Stale,         // names this machine, yet nothing answers there: left behind, taken over
    HeldElsewhere, // names another machine, which only the operator can see: the operator decides
    Unreadable,    // empty or not a lock at all, as a crash while writing it leaves: taken over
};

// Whether the holder could still answer on the local socket, so that waiting for a client that
// is only starting makes sense: one on another machine never can.
bool holderMayAnswer(const std::optional<LockOwner>& owner, std::string_view thisHost);

// owner: none when the lock could not be read. answered: whether a client answered on the socket.
LockHolder judgeLock(bool answered, const std::optional<LockOwner>& owner, std::string_view thisHost);

} // namespace quillo
