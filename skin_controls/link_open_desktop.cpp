#include "skin_controls/link_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace quillo {

// The desktop's own handler for web addresses stands in for the shell and its .htm association.
int OpenAddressInBrowser(const QString& address, int) {
    const QUrl url(address);
    if (!url.isValid() || url.isEmpty())
        return kOpenNoAssociation;
    return QDesktopServices::openUrl(url) ? kOpenDone : kOpenNoAssociation;
}

} // namespace quillo
