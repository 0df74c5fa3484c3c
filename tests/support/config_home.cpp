#include "tests/support/e2e_harness.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace quillo::e2e {

ConfigHome::ConfigHome() {
    QDir root(m_dir.path());
    root.mkpath(u"config"_s);
    root.mkpath(u"data"_s);
    root.mkpath(u"cache"_s);
}

QString ConfigHome::configDir() const {
    return m_dir.filePath(u"config"_s);
}
QString ConfigHome::dataDir() const {
    return m_dir.filePath(u"data"_s);
}
QString ConfigHome::cacheDir() const {
    return m_dir.filePath(u"cache"_s);
}

QString ConfigHome::clientSettingsPath() const {
    return configDir() + u"/Quillo/quillo.ini"_s;
}

QString ConfigHome::settingsPath() const {
    return configDir() + u"/Tarnwick/Tarnwick Live Chat.conf"_s;
}

void ConfigHome::writeSettings(std::optional<QString> orderId, std::optional<QString> url) const {
    QDir().mkpath(configDir() + u"/Tarnwick"_s);
    {
        // On Linux the native format is the ini format quillo reads.
        QSettings settings(settingsPath(), QSettings::NativeFormat);
        settings.clear();
        if (orderId)
            settings.setValue(u"OrderID"_s, *orderId);
        if (url)
            settings.setValue(u"URL"_s, *url);
        settings.sync();
    }
    // QSettings writes nothing for an empty key, but the key must still exist.
    if (!QFile::exists(settingsPath())) {
        QFile file(settingsPath());
        file.open(QIODevice::WriteOnly);
    }
}

void ConfigHome::removeKey() const {
    QFile::remove(settingsPath());
}

bool ConfigHome::keyExists() const {
    return QFile::exists(settingsPath());
}

std::optional<QString> ConfigHome::value(const QString& name) const {
    if (!keyExists())
        return std::nullopt;
    const QSettings settings(settingsPath(), QSettings::NativeFormat);
    const QVariant stored = settings.value(name);
    if (!stored.isValid())
        return std::nullopt;
    return stored.toString();
}

} // namespace quillo::e2e
