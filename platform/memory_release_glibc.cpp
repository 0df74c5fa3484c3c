#include "platform/memory_release.h"

#include <malloc.h>

namespace quillo {

void releaseFreedMemory() {
    // glibc returns only the top of its heap by itself; freed pages below live objects stay.
    malloc_trim(0);
}

} // namespace quillo
