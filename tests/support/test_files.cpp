#include "tests/support/e2e_harness.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace quillo::e2e {

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString scriptBoxTitle(const QUrl& pageOrigin) {
    return u"Message from "_s + pageOrigin.toString(QUrl::RemovePath);
}

} // namespace quillo::e2e
