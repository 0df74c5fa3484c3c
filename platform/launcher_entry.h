#pragma once

#include <QString>
#include <QtGlobal>

namespace quillo {

// Tells docks and task managers how many things wait in the program whose desktop entry is
// appUri ("application://<id>.desktop"): the com.canonical.Unity.LauncherEntry Update signal on the
// session bus. False when it could not go out (no session bus, or no D-Bus on this system).
bool sendLauncherEntry(const QString& appUri, qint64 count, bool countVisible, bool urgent);

} // namespace quillo
