#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quillo::res {

// The bitmap with this resource id, exactly as drawn (no scaling); null when there is none.
QPixmap loadBitmap(int id);
// Icon 128, the application icon.
QIcon loadAppIcon();
// A script or text that the client carries, by its path under the resources (":/js/walk.js").
QString loadText(const QString& path);

} // namespace quillo::res
