#include "browser_host/page_origin.h"

#include <QUrl>

namespace quillo {

Origin OriginOfUrl(const QUrl& url) {
    return {url.scheme().toStdString(), url.host(QUrl::FullyEncoded).toStdString(), url.port()};
}

bool IsTrustedPage(const OriginTrust& trust, const QUrl& page) {
    return trust.isTrusted(OriginOfUrl(page));
}

} // namespace quillo
