#include "browser_host/page_origin.h"

#include <QUrl>

namespace quillo {

Origin originOfUrl(const QUrl& url) {
    return {url.scheme().toStdString(), url.host(QUrl::FullyEncoded).toStdString(), url.port()};
}

bool isTrustedPage(const OriginTrust& trust, const QUrl& page) {
    return trust.isTrusted(originOfUrl(page));
}

} // namespace quillo
