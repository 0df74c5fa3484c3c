#include "alerts/alert_log.h"

Q_LOGGING_CATEGORY(lcAlerts, "quillo.alerts", QtInfoMsg)
