#include "browser_host/page_origin.h"

#include <QUrl>

namespace quillo {

Origin OriginOfUrl(const QUrl& url) {
    return {url.scheme().toStdString(), url.host(QUrl::FullyEncoded).toStdString(), url.port()};
}

} // namespace quillo
