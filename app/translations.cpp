#include "app/translations.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcLanguage, "quillo.language", QtInfoMsg)

namespace quillo {

namespace {

// True when a translation for one of the user's languages was found and installed.
bool install(QCoreApplication& application, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale::system(), name, QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace

void installTranslations(QGuiApplication& application) {
    const QStringList languages = QLocale::system().uiLanguages();
    // English is the texts themselves: nothing to find, nothing to say.
    if (languages.isEmpty() || languages.first().startsWith(QLatin1String("en")))
        return;
    const bool client = install(application, QStringLiteral("quillo"), QStringLiteral(":/i18n"));
    const bool qt =
        install(application, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Qt's Arabic or Hebrew translation turns the whole client right to left; the client's texts
    // are English then, and English read right to left moves its full stops to the front.
    if (!client)
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    qCInfo(lcLanguage).noquote() << "languages" << languages.join(QLatin1String(", ")) << "- Quillo's texts"
                                 << (client ? "translated" : "in English") << "- Qt's"
                                 << (qt ? "translated" : "in English");
}

} // namespace quillo
