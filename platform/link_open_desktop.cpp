#include "platform/link_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace quillo {

// The desktop's own handler for web addresses stands in for the shell and its .htm association.
bool openInWebBrowser(const QUrl& address) {
    return address.isValid() && !address.isEmpty() && QDesktopServices::openUrl(address);
}

} // namespace quillo
