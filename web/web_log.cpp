#include "web/web_log.h"

namespace quillo::web {
Q_LOGGING_CATEGORY(lcWeb, "quillo.web", QtInfoMsg)
} // namespace quillo::web
