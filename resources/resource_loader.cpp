#include "resources/resource_loader.h"

#include <QFile>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcResources, "quillo.resources", QtInfoMsg)

namespace quillo::res {

QPixmap loadBitmap(int id) {
    const QString path = QStringLiteral(":/bitmaps/bmp%1.bmp").arg(id);
    QPixmap bitmap(path, "BMP");
    // Built into the program: missing, the build is broken, and the skin shows a hole.
    if (bitmap.isNull())
        qCCritical(lcResources).noquote() << "bitmap" << path << "is missing from the program";
    return bitmap;
}

QIcon loadAppIcon() {
    QIcon icon(QStringLiteral(":/icons/quillo.png"));
    icon.addFile(QStringLiteral(":/icons/quillo.ico"));
    return icon;
}

QString loadText(const QString& path) {
    QFile file(path);
    // A script missing from the build would leave pages without window.external, and nothing else
    // would say why.
    if (!file.open(QIODevice::ReadOnly)) {
        qCCritical(lcResources).noquote() << "resource" << path << "is missing from the program";
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

} // namespace quillo::res
