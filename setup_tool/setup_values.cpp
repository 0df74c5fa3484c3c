#include "setup_tool/setup_values.h"

#include "settings/settings_store.h"

#include <QUrl>

namespace quillo {

// The client reads each value into a buffer of fixed size and ignores one that does not fit, so
// the limits count the stored bytes, not the characters.
QString orderIdProblem(const QString& orderId) {
    const qsizetype bytes = orderId.toUtf8().size();
    if (bytes == 0)
        return QStringLiteral("the order number is empty");
    if (bytes > qsizetype(kOrderIdBufferSize - 1))
        return QStringLiteral(
                   "the order number \"%1\" is longer than %2 characters, and Quillo would ignore it")
            .arg(orderId)
            .arg(kOrderIdBufferSize - 1);
    return {};
}

QString urlProblem(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme();
    if (!parsed.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        parsed.host().isEmpty())
        return QStringLiteral("the address \"%1\" is not an absolute http or https URL").arg(url);
    if (url.toUtf8().size() > qsizetype(kUrlBufferSize - 1))
        return QStringLiteral("the address is longer than %1 characters, and Quillo would ignore it")
            .arg(kUrlBufferSize - 1);
    return {};
}

} // namespace quillo
