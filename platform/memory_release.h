#pragma once

namespace quillo {

// Hands memory that the process has freed back to the system where the allocator keeps it: after
// a burst of windows has come and gone, their freed pages would otherwise stay with the client
// for the rest of the shift.
void releaseFreedMemory();

} // namespace quillo
