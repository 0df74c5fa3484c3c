#pragma once

#include <string>

namespace quillo {

// The native half of openInWebBrowser: the address, in the system's narrow encoding, goes to the
// shell, and where the shell has no handler for it, to the program registered for .htm files, its
// window shown. Whether either started.
bool openAddressWithShell(const std::string& address);

} // namespace quillo
