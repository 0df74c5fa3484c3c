#include "settings/client_settings.h"

#include <QLoggingCategory>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace quillo {

namespace {

// The category the Tarnwick key's store logs in too: support looks for one.
Q_LOGGING_CATEGORY(lcSettings, "quillo.settings", QtInfoMsg)

std::unique_ptr<QSettings> openFile(const QString& fileName) {
    if (fileName.isEmpty())
        // Named explicitly: quillo-setup writes the same file, and its application name differs.
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, u"Quillo"_s,
                                           u"quillo"_s);
    return std::make_unique<QSettings>(fileName, QSettings::IniFormat);
}

} // namespace

ClientSettings::ClientSettings()
    : ClientSettings(QString()) {}

ClientSettings::ClientSettings(const QString& fileName)
    : m_fileName(fileName)
    , m_settings(openFile(fileName)) {
    // A file that cannot be read cannot be written either, and the first write says so.
    if (m_settings->status() == QSettings::FormatError)
        qCWarning(lcSettings).noquote() << "part of" << m_settings->fileName()
                                        << "is unreadable; it is left out when the file is next written";
}

ClientSettings::~ClientSettings() = default;

QString ClientSettings::fileName() const {
    return m_settings->fileName();
}

bool ClientSettings::contains(const QString& key) const {
    // quillo-setup may have written the file meanwhile; a sync reads it again only if it changed.
    m_settings->sync();
    return m_settings->contains(key);
}

QVariant ClientSettings::value(const QString& key, const QVariant& fallback) const {
    m_settings->sync();
    return m_settings->value(key, fallback);
}

bool ClientSettings::setValue(const QString& key, const QVariant& value) {
    m_settings->setValue(key, value);
    return writeThrough();
}

bool ClientSettings::remove(const QString& key) {
    m_settings->remove(key);
    return writeThrough();
}

bool ClientSettings::writeThrough() {
    // QSettings keeps what it could not write and writes it with the next sync, merged with what
    // others wrote meanwhile; but its status keeps the first error for good. A second object on
    // the same file shares what is kept, tries it again on opening, and so tells whether anything
    // is still unwritten.
    m_settings->sync();
    const bool written = openFile(m_fileName)->status() == QSettings::NoError;
    if (!written && !m_failing)
        qCWarning(lcSettings).noquote().nospace()
            << "cannot write " << m_settings->fileName()
            << ": the values stay in memory and are written with the next write that succeeds";
    else if (written && m_failing)
        qCInfo(lcSettings).noquote() << "written again:" << m_settings->fileName();
    m_failing = !written;
    return written;
}

} // namespace quillo
