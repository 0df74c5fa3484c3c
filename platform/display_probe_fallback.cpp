#include "platform/display_probe.h"

namespace quillo {

// A platform without X11 support leaves the choice to the toolkit, which reports its own failures.
DisplayProbe probeDisplays() {
    return {false, false, true};
}

} // namespace quillo
