#include "platform/link_open.h"

#include "platform/link_open_win.h"

#include <QUrl>

namespace quillo {

bool openInWebBrowser(const QUrl& address) {
    return address.isValid() && !address.isEmpty() &&
           openAddressWithShell(address.toString().toLocal8Bit().toStdString());
}

} // namespace quillo
