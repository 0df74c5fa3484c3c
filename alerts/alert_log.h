#pragma once

#include <QLoggingCategory>

// What the client's alerting did or could not do (sound, tray, launcher count), for support.
Q_DECLARE_LOGGING_CATEGORY(lcAlerts)
