#pragma once

#include <cstdint>

namespace quillo::alerts {

// Milliseconds on a clock the caller owns. The units only subtract two readings of it, so its
// origin does not matter; which clock suits is said where a unit needs more than that.
using TimeMs = std::int64_t;

} // namespace quillo::alerts
