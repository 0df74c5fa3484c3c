#pragma once

#include <QLoggingCategory>

namespace quillo::page_services {
// What the client decided about what pages asked of it, one line each, for support.
Q_DECLARE_LOGGING_CATEGORY(lcWeb)
} // namespace quillo::page_services
