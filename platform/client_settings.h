#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace quillo {

// The client's own remembered choices and state (zoom per site, the main window's place, spelling
// languages, the alert sound): a file of its own in the user's configuration folder, never the
// Tarnwick key, which belongs to the installer and holds the operator's order number. Each user
// of it keeps its values under a group of its own.
std::unique_ptr<QSettings> openClientSettings();
QString clientSettingsPath();

} // namespace quillo
