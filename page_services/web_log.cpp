#include "page_services/web_log.h"

namespace quillo::page_services {
Q_LOGGING_CATEGORY(lcWeb, "quillo.web", QtInfoMsg)
} // namespace quillo::page_services
