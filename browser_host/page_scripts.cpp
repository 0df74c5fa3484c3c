#include "browser_host/page_scripts.h"

#include "page_contract/external_dispatch.h"
#include "page_contract/origin_trust.h"
#include "page_contract/page_contract.h"
#include "page_services/page_marks.h"
#include "resources/resource_loader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillo {

QString fromContract(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString withConfig(const QString& script, const QJsonObject& config) {
    return script + QLatin1Char('(') +
           QString::fromUtf8(QJsonDocument(config).toJson(QJsonDocument::Compact)) + QStringLiteral(");\n");
}

ExternalScripts buildExternalScripts(const OriginTrust& trust, const QString& reportToken) {
    QJsonArray trusted;
    for (const std::string& origin : trust.serializedOrigins())
        trusted.append(QString::fromStdString(origin));

    QJsonArray methods;
    for (const contract::Method& method : contract::kMethods) {
        methods.append(QJsonObject{
            {QStringLiteral("name"), fromContract(method.name)},
            {QStringLiteral("argumentCount"), method.argumentCount},
            {QStringLiteral("resolvesUrl"), method.resolvesUrl},
            {QStringLiteral("answersTrue"), method.answersTrue},
        });
    }

    const QString eventName = QString::fromLatin1(kExternalCallEvent);
    // A page's text is cut to this many UTF-16 units before it travels; the client cuts again to
    // its byte limit, so the page's cut only has to be no shorter.
    const int maxTextUnits = int(kMaxScriptText);
    ExternalScripts scripts;
    scripts.shim = withConfig(res::loadText(QStringLiteral(":/js/external_shim.js")),
                              {{QStringLiteral("trusted"), trusted},
                               {QStringLiteral("methods"), methods},
                               {QStringLiteral("eventName"), eventName},
                               {QStringLiteral("maxTextUnits"), maxTextUnits}});

    // Qt's own channel client runs first in the same private world, before any page script.
    scripts.bridge = res::loadText(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + QLatin1Char('\n') +
                     withConfig(res::loadText(QStringLiteral(":/js/external_bridge.js")),
                                {{QStringLiteral("trusted"), trusted},
                                 {QStringLiteral("eventName"), eventName},
                                 {QStringLiteral("objectName"), QString::fromLatin1(kExternalBridgeObject)}});
    scripts.pageHooks =
        withConfig(res::loadText(QStringLiteral(":/js/page_hooks.js")),
                   {{QStringLiteral("trusted"), trusted},
                    {QStringLiteral("markSeparator"), fromContract(page_services::kMarkSeparator)},
                    {QStringLiteral("stayMark"), fromContract(page_services::kStayMark)},
                    {QStringLiteral("mediaCheckEvent"), QString::fromLatin1(kMediaCheckEvent)}});
    scripts.mediaWatch =
        withConfig(res::loadText(QStringLiteral(":/js/media_watch.js")),
                   {{QStringLiteral("trusted"), trusted},
                    {QStringLiteral("reportPrefix"), fromContract(page_services::kMediaErrorPrefix)},
                    {QStringLiteral("token"), reportToken},
                    {QStringLiteral("mediaCheckEvent"), QString::fromLatin1(kMediaCheckEvent)},
                    {QStringLiteral("maxTries"), int(page_services::OncePerSource::kMaxSources)}});
    return scripts;
}

} // namespace quillo
