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

bool installDefaultBrowser(const QString& folder) {
    const QString script = folder + u"/xdg-open"_s;
    if (!writeFile(script,
                   "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + (folder + u"/opened"_s).toUtf8() + "'\n") ||
        !QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    qputenv("PATH", folder.toUtf8() + ':' + qgetenv("PATH"));
    return true;
}

QStringList defaultBrowserOpened(const QString& folder) {
    return QString::fromUtf8(readFile(folder + u"/opened"_s)).split(u'\n', Qt::SkipEmptyParts);
}

QString scriptBoxTitle(const QUrl& pageOrigin) {
    return u"Message from "_s + pageOrigin.toString(QUrl::RemovePath);
}

} // namespace quillo::e2e
