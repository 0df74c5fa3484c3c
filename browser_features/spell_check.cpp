#include "browser_features/spell_check.h"

#include "browser_features/spell_languages.h"
#include "page_services/web_log.h"
#include "settings/client_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QWebEngineProfile>

using namespace Qt::StringLiterals;
using quillo::page_services::lcWeb;

namespace {

const QString kChosenKey = u"spelling/languages"_s;

std::vector<std::string> toStd(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& item : list)
        out.push_back(item.toStdString());
    return out;
}

QStringList fromStd(const std::vector<std::string>& list) {
    QStringList out;
    for (const std::string& item : list)
        out.append(QString::fromStdString(item));
    return out;
}

} // namespace

QString SpellCheck::dictionaryDirectory() {
    // The engine's own order: the variable alone when set, else beside the program, else Qt's data.
    const QString fromEnvironment = qEnvironmentVariable("QTWEBENGINE_DICTIONARIES_PATH");
    QStringList candidates;
    if (!fromEnvironment.isEmpty())
        candidates << fromEnvironment;
    else
        candidates << QCoreApplication::applicationDirPath() + u"/qtwebengine_dictionaries"_s
                   << QLibraryInfo::path(QLibraryInfo::DataPath) + u"/qtwebengine_dictionaries"_s;
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isDir())
            return candidate;
    return {};
}

SpellCheck::SpellCheck(QWebEngineProfile& profile, quillo::ClientSettings& settings, QObject* parent)
    : QObject(parent)
    , m_profile(profile)
    , m_settings(settings) {
    const QString directory = dictionaryDirectory();
    if (!directory.isEmpty()) {
        for (const QString& file : QDir(directory).entryList({u"*.bdic"_s}, QDir::Files, QDir::Name))
            if (const std::optional<std::string> language = quillo::dictionaryLanguage(file.toStdString()))
                m_installed.append(QString::fromStdString(*language));
    }
    if (m_installed.isEmpty()) {
        qCInfo(lcWeb).nospace() << "no spelling dictionaries in "
                                << (directory.isEmpty() ? u"any folder the engine reads"_s : directory)
                                << ": text fields are not spell checked";
        return;
    }
    std::optional<std::vector<std::string>> chosen;
    if (m_settings.contains(kChosenKey))
        chosen = toStd(m_settings.value(kChosenKey).toStringList());
    const QStringList languages =
        fromStd(quillo::spellLanguages(toStd(m_installed), toStd(QLocale::system().uiLanguages()), chosen));
    m_profile.setSpellCheckLanguages(languages);
    m_profile.setSpellCheckEnabled(true);
    qCInfo(lcWeb).nospace() << "spell checking in " << languages.join(u", "_s) << " from " << directory;
}

SpellCheck::~SpellCheck() = default;

QStringList SpellCheck::languages() const {
    return m_profile.isSpellCheckEnabled() ? m_profile.spellCheckLanguages() : QStringList();
}

void SpellCheck::setLanguageChecked(const QString& language, bool checked) {
    if (!m_installed.contains(language))
        return;
    QStringList list = languages();
    if (checked && !list.contains(language))
        list.append(language);
    else if (!checked && list.size() > 1)
        list.removeAll(language);
    m_profile.setSpellCheckLanguages(list);
    // A failed write is logged by the settings.
    m_settings.setValue(kChosenKey, list);
}
