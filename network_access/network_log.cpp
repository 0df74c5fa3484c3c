#include "network_access/network_log.h"

namespace quillo::network {
Q_LOGGING_CATEGORY(lcNetwork, "quillo.network", QtInfoMsg)
} // namespace quillo::network
