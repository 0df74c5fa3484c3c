#pragma once

#include <QString>

namespace quillo {

// The client's entry in the user's XDG autostart folder ($XDG_CONFIG_HOME/autostart), so the
// desktop starts it at log-in.
QString autostartEntryPath();
bool autostartEnabled();
// Writes the entry whole or not at all; quilloCommand is what the entry runs, best an absolute
// path, which the entry also names as the program that must exist. Returns an error text, empty
// on success.
QString enableAutostart(const QString& quilloCommand);
QString disableAutostart();

} // namespace quillo
