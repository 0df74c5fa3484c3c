#include "platform/foreign_windows.h"

namespace quillo {

// Without a window system that lists other programs' windows there is nothing to close.
bool closeForeignWindow(const char*, const char*) {
    return false;
}

} // namespace quillo
