#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QWebEngineProfile;

namespace quillo {
class ClientSettings;
}

// Spell checking in the pages' text fields: finds the dictionaries where the engine loads them
// from, turns checking on for the languages spellLanguages() picks and keeps the operator's
// choice among them in the client's own settings. Without any dictionary checking stays off, as
// the engine would have it.
class SpellCheck final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpellCheck)

public:
    // settings: the client's own, where the operator's choice is kept.
    SpellCheck(QWebEngineProfile& profile, quillo::ClientSettings& settings, QObject* parent = nullptr);
    ~SpellCheck() override;

    // The languages of the dictionaries the engine can load ("en-US"), sorted.
    const QStringList& installed() const { return m_installed; }
    // Those it checks with now.
    QStringList languages() const;
    // The operator ticks or unticks a language; the last one stays.
    void setLanguageChecked(const QString& language, bool checked);

    // The folder the engine loads dictionaries from, found as the engine finds it; empty when
    // there is none.
    static QString dictionaryDirectory();

private:
    QWebEngineProfile& m_profile;
    quillo::ClientSettings& m_settings;
    QStringList m_installed;
};
