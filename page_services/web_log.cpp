#include "page_services/web_log.h"

#include "page_contract/log_text.h"

#include <QUrl>

namespace quillo::page_services {
Q_LOGGING_CATEGORY(lcWeb, "quillo.web", QtInfoMsg)

QString logged(const QString& pageText) {
    return QString::fromStdString(logText(pageText.toStdString()));
}

QString logged(const QUrl& address) {
    return logged(address.toDisplayString());
}
} // namespace quillo::page_services
