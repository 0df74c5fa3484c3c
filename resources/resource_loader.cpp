#include "resources/resource_loader.h"

#include <QFile>

namespace quillo::res {

QPixmap loadBitmap(int id) {
    return QPixmap(QStringLiteral(":/bitmaps/bmp%1.bmp").arg(id), "BMP");
}

QIcon loadAppIcon() {
    QIcon icon(QStringLiteral(":/icons/quillo.png"));
    icon.addFile(QStringLiteral(":/icons/quillo.ico"));
    return icon;
}

QString loadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace quillo::res
