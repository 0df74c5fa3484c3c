#include "page_services/page_origin.h"

#include <QString>
#include <QUrl>

namespace quillo {

Origin originOfUrl(const QUrl& url) {
    return {url.scheme().toStdString(), url.host(QUrl::FullyEncoded).toStdString(), url.port()};
}

std::optional<Origin> askingFrame(const QString& serialisedOrigin) {
    return parseSerializedOrigin(serialisedOrigin.toStdString());
}

bool isTrustedPage(const OriginTrust& trust, const QUrl& page) {
    return trust.grants(originOfUrl(page));
}

} // namespace quillo
