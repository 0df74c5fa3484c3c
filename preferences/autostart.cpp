#include "preferences/autostart.h"

#include "preferences/desktop_entry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quillo {

QString autostartEntryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/example.tarnwick.Quillo.desktop");
}

bool autostartEnabled() {
    return QFileInfo::exists(autostartEntryPath());
}

QString enableAutostart(const QString& quilloCommand) {
    const QString path = autostartEntryPath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("cannot create %1").arg(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    const std::string program = quilloCommand.toStdString();
    // TryExec: once the client is removed, the desktop skips the entry instead of failing at
    // every log-in.
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Quillo\n"
                                         "Comment=Tarnwick live chat operator console\n"
                                         "TryExec=%1\n"
                                         "Exec=%2\n"
                                         "Icon=example.tarnwick.Quillo\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(QString::fromStdString(desktopStringValue(program)),
                                   QString::fromStdString(desktopExecValue(program)));
    file.write(entry.toUtf8());
    if (!file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

QString disableAutostart() {
    const QString path = autostartEntryPath();
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return QStringLiteral("cannot remove %1").arg(path);
    return {};
}

QString clientCommand() {
    const QFileInfo sibling(QCoreApplication::applicationDirPath() + QStringLiteral("/quillo"));
    if (sibling.isExecutable())
        return sibling.absoluteFilePath();
    const QString found = QStandardPaths::findExecutable(QStringLiteral("quillo"));
    return found.isEmpty() ? QStringLiteral("quillo") : found;
}

QString setStartAtLogin(bool on) {
    return on ? enableAutostart(clientCommand()) : disableAutostart();
}

} // namespace quillo
