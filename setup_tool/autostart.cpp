#include "setup_tool/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace quillo {
namespace {

// The Exec key's quoting: an argument with reserved characters goes in double quotes, with ",
// `, $ and \ escaped.
QString execArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); }))
        return argument;
    QString quoted = argument;
    for (const QChar c : {QLatin1Char('\\'), QLatin1Char('"'), QLatin1Char('`'), QLatin1Char('$')})
        quoted.replace(c, QStringLiteral("\\") + c);
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

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
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Quillo\n"
                                         "Comment=Tarnwick live chat operator console\n"
                                         "Exec=%1\n"
                                         "Icon=example.tarnwick.Quillo\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execArgument(quilloCommand));
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

} // namespace quillo
