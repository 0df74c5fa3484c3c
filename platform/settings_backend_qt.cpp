#include "platform/settings_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QString>
#include <map>

Q_LOGGING_CATEGORY(lcSettings, "quillo.settings", QtInfoMsg)

namespace quillo {
namespace {

// Values written by hand as the README shows: unquoted, with "," or ";" in them. QSettings reads
// such a value as a list, or cuts it at ";" where its comments start; Qt itself always quotes
// them, so an unquoted one was written by a person and means its text as it stands, as the
// registry would keep it. Keys of the general section only, the last line of a key winning.
std::map<QString, QString> handWrittenValues(const QString& path) {
    std::map<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    bool general = true;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            general = line.compare(QLatin1String("[General]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!general || equals <= 0 || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        // Quoted values and continued lines are Qt's to read; so are values it reads whole.
        const bool asWritten = !value.startsWith(QLatin1Char('"')) && !value.endsWith(QLatin1Char('\\')) &&
                               (value.contains(QLatin1Char(',')) || value.contains(QLatin1Char(';')));
        if (asWritten)
            values[key] = value;
        else
            values.erase(key);
    }
    return values;
}

class QtSettingsBackend final : public SettingsBackend {
public:
    QtSettingsBackend(std::string_view organisation, std::string_view application)
        : m_organisation(QString::fromUtf8(organisation.data(), qsizetype(organisation.size())))
        , m_application(QString::fromUtf8(application.data(), qsizetype(application.size()))) {}

    bool keyExists() override {
        const QSettings settings = open();
        // An unreadable or corrupt file counts as an absent key: the client must start all the same.
        // Readability is asked of the file itself, as QSettings may answer from what it read earlier.
        const QFileInfo file(settings.fileName());
        return file.isFile() && file.isReadable() && settings.status() == QSettings::NoError;
    }

    std::optional<std::string> value(std::string_view valueName) override {
        if (!keyExists())
            return std::nullopt;
        const QSettings settings = open();
        const QString name = QString::fromUtf8(valueName.data(), qsizetype(valueName.size()));
        const std::map<QString, QString> handWritten = handWrittenValues(settings.fileName());
        if (const auto it = handWritten.find(name); it != handWritten.end())
            return it->second.toStdString();
        const QVariant value = settings.value(name);
        // A value that is a list or a map was not written by us or the installer: treat it as absent.
        if (!value.isValid() || !value.canConvert<QString>() || value.userType() == QMetaType::QStringList)
            return std::nullopt;
        return value.toString().toStdString();
    }

    bool setValue(std::string_view valueName, std::string_view text) override {
        const QString name = QString::fromUtf8(valueName.data(), qsizetype(valueName.size()));
        // A file that cannot be read is never written: the rewrite would drop the values in it.
        if (!keyExists()) {
            logFailure(name, open());
            return false;
        }
        QSettings settings = open();
        // QSettings writes every value back: the hand-written ones first get their whole text, so
        // they are stored quoted rather than as the list or the cut text it read.
        for (const auto& [key, value] : handWrittenValues(settings.fileName())) {
            if (key != name)
                settings.setValue(key, value);
        }
        settings.setValue(name, QString::fromUtf8(text.data(), qsizetype(text.size())));
        // QSettings re-reads the file under a lock and writes the merge through a temporary file and
        // a rename, so another process's values survive and a crash never tears the file.
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            logFailure(name, settings);
            return false;
        }
        return true;
    }

    bool createKey() override {
        const QFileInfo file(open().fileName());
        if (file.exists())
            return keyExists(); // a file we cannot read is never replaced, so nothing is lost
        // An empty file is a key without values; NewOnly never truncates one made meanwhile.
        QFile created(file.filePath());
        return QDir().mkpath(file.path()) && (created.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
                                              QFileInfo::exists(file.filePath()));
    }

private:
    // $XDG_CONFIG_HOME/<organisation>/<application>.conf
    QSettings open() const {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, m_organisation, m_application);
    }

    static void logFailure(const QString& name, const QSettings& settings) {
        const QFileInfo file(settings.fileName());
        const char* why = !file.exists()                                ? "it does not exist"
                          : !file.isFile()                              ? "it is not a file"
                          : !file.isReadable()                          ? "it cannot be read"
                          : settings.status() == QSettings::FormatError ? "it is not a settings file"
                                                                        : "it cannot be written";
        qCWarning(lcSettings).noquote()
            << "could not store" << name << "in" << settings.fileName() << "-" << why;
    }

    const QString m_organisation;
    const QString m_application;
};

} // namespace

std::unique_ptr<SettingsBackend> createUserSettingsBackend(std::string_view organisation,
                                                           std::string_view application) {
    return std::make_unique<QtSettingsBackend>(organisation, application);
}

} // namespace quillo
