#pragma once

#include "app/lock_holder.h"

#include <QString>

#include <optional>

namespace quillo {

// Asks the operator, before any window of the client exists, whether to start although the lock
// names a client that this start cannot reach, as a browser asks for a profile in use on another
// computer. True for "Start anyway", false for "Quit".
bool askToStartAnyway(const std::optional<LockOwner>& owner, const QString& thisHost);

} // namespace quillo
