#pragma once

namespace quillo {

// Which window systems this process could connect to now, asked before the toolkit starts so
// that a missing display is reported instead of aborting inside the toolkit.
struct DisplayProbe {
    bool x11 = false;
    bool wayland = false;
    // The OS has one window system that is always there (Windows, macOS).
    bool native = false;
};

DisplayProbe probeDisplays();

} // namespace quillo
