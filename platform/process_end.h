#pragma once

#include <cstdint>

namespace quillo {

// Ends a process of our own at once (a renderer that stopped answering). False when it could not
// be ended, e.g. because it has already gone.
bool endProcess(std::int64_t pid);

} // namespace quillo
