#pragma once

#include <QLoggingCategory>

namespace quillo::network {
// What the client did about sign-in, certificates and the way to the service, one line each.
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)
} // namespace quillo::network
