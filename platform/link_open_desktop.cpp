#include "platform/link_open.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace quillo {

// The desktop's own handler for web addresses stands in for the shell and its .htm association.
int OpenAddressInBrowser(const std::string& address, int) {
    const QUrl url(QString::fromLocal8Bit(address.data(), qsizetype(address.size())));
    if (!url.isValid() || url.isEmpty())
        return kOpenNoAssociation;
    return QDesktopServices::openUrl(url) ? kOpenDone : kOpenNoAssociation;
}

} // namespace quillo
