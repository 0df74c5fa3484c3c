#pragma once

// Xlib's own declaration, repeated so that this header does not bring in Xlib's macros, which
// would break any Qt header included after it.
typedef struct _XDisplay Display;

namespace quillo {

// The application's X connection, or null when the client does not run on X11. Other platform
// plugins (offscreen) may hold an X connection whose windows are not X windows, so only xcb counts.
Display* x11Display();

} // namespace quillo
