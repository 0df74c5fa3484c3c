#pragma once

class QUrl;

namespace quillo {

// Opens an address in the user's web browser: the desktop's handler for web addresses, or on
// Windows the shell, falling back to the program registered for .htm files. Whether a program
// was started for it.
bool openInWebBrowser(const QUrl& address);

} // namespace quillo
