#pragma once

class QWidget;

namespace quillo {

// Inverts the window's attention state once, like a taskbar button that flashes: on X11 the
// urgency hint, on Windows the caption and taskbar button. Returns the state after the call: true
// when the window now asks for attention. (Windows' own FlashWindow reports another thing, so no
// implementation passes its result on.)
bool flashWindow(QWidget* window);

// Clears the attention state, so a window that stopped flashing is not left highlighted.
void clearWindowFlash(QWidget* window);

} // namespace quillo
