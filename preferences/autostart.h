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

// The client next to the running program when it is there (an installed or a built tree), else
// the one on PATH, by its absolute path wherever it can be found: what the entry runs.
QString clientCommand();
// Turns starting at log-in on (for clientCommand()) or off: what quillo-setup --autostart and the
// Preferences window both do. Returns an error text, empty on success.
QString setStartAtLogin(bool on);

} // namespace quillo
