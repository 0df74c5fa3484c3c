#include "app/lock_holder.h"

namespace quillo {

bool holderMayAnswer(const std::optional<LockOwner>& owner, std::string_view thisHost) {
    return owner && (owner->hostName.empty() || owner->hostName == thisHost);
}

LockHolder judgeLock(bool answered, const std::optional<LockOwner>& owner, std::string_view thisHost) {
    if (answered)
        return LockHolder::Answered;
    if (!owner || owner->pid <= 0)
        return LockHolder::Unreadable;
    return holderMayAnswer(owner, thisHost) ? LockHolder::Stale : LockHolder::HeldElsewhere;
}

} // namespace quillo
