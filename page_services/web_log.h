#pragma once

#include <QLoggingCategory>
#include <QString>

class QUrl;

namespace quillo::page_services {
// What the client decided about what pages asked of it, one line each, for support.
Q_DECLARE_LOGGING_CATEGORY(lcWeb)

// Text that a page supplied, fit for a log line: one line, escaped and capped (quillo::logText).
// Log it with noquote(), as it is escaped already.
QString logged(const QString& pageText);
// An address a page gave, the same way.
QString logged(const QUrl& address);
} // namespace quillo::page_services
