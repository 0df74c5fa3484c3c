#include "platform/memory_release.h"

namespace quillo {

// Other allocators give freed memory back by themselves.
void releaseFreedMemory() {}

} // namespace quillo
