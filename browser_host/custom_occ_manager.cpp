#include "browser_host/custom_occ_manager.h"

#include "browser_host/custom_control_site.h"
#include "browser_host/external_dispatch.h"
#include "browser_host/page_contract.h"
#include "browser_host/page_origin.h"
#include "resources/resource_loader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <algorithm>

namespace {

CCustomOccManager* s_pOccManager = nullptr;

QString fromContract(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A script resource called with its configuration, JSON-encoded, as its one argument.
QString withConfig(const QString& script, const QJsonObject& config) {
    return script + QLatin1Char('(') +
           QString::fromUtf8(QJsonDocument(config).toJson(QJsonDocument::Compact)) + QStringLiteral(");\n");
}

} // namespace

CCustomOccManager::CCustomOccManager(QWebEngineProfile& profile, CExternalDispatch& external)
    : m_profile(profile)
    , m_external(external) {
    buildScripts();
}

CCustomOccManager::~CCustomOccManager() {
    if (s_pOccManager == this)
        s_pOccManager = nullptr;
}

CCustomControlSite* CCustomOccManager::CreateSite(QWidget* container) {
    auto* site = new CCustomControlSite(*this, container);
    std::erase_if(m_sites, [](const QPointer<CCustomControlSite>& known) { return known.isNull(); });
    m_sites.emplace_back(site);
    return site;
}

void CCustomOccManager::setTrustedOrigins(quillo::OriginTrust trust) {
    m_trust = std::move(trust);
    buildScripts();
    for (const QPointer<CCustomControlSite>& site : m_sites) {
        if (site)
            site->InstallExternalScripts();
    }
}

bool CCustomOccManager::isTrustedPage(const QUrl& page) const {
    return m_trust.isTrusted(quillo::OriginOfUrl(page));
}

bool CCustomOccManager::routeCommand(CWebBrowser2& browser, Command command) const {
    return m_router && m_router(browser, command);
}

void CCustomOccManager::buildScripts() {
    QJsonArray trusted;
    for (const std::string& origin : m_trust.serializedOrigins())
        trusted.append(QString::fromStdString(origin));

    QJsonArray methods;
    for (std::size_t i = 0; i < quillo::contract::kMethodNames.size(); ++i) {
        const std::string_view name = quillo::contract::kMethodNames[i];
        methods.append(QJsonObject{
            {QStringLiteral("name"), fromContract(name)},
            {QStringLiteral("argumentCount"), quillo::contract::kMethodArgumentCounts[i]},
            {QStringLiteral("resolvesUrl"), name == quillo::contract::kOpenWindow},
            {QStringLiteral("answersTrue"), name == quillo::contract::kIsOurCustomBrowser},
        });
    }

    const QString eventName = QString::fromLatin1(CCustomControlSite::kCallEventName);
    // A page's text is cut to this many UTF-16 units before it travels; the client cuts again to
    // its byte limit, so the page's cut only has to be no shorter.
    const int maxTextUnits = int(quillo::kMaxScriptText);
    m_shimSource = withConfig(quillo::res::loadText(QStringLiteral(":/js/external_shim.js")),
                              {{QStringLiteral("trusted"), trusted},
                               {QStringLiteral("methods"), methods},
                               {QStringLiteral("eventName"), eventName},
                               {QStringLiteral("maxTextUnits"), maxTextUnits}});

    // Qt's own channel client runs first in the same private world, before any page script.
    QFile channelClient(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    QString client;
    if (channelClient.open(QIODevice::ReadOnly))
        client = QString::fromUtf8(channelClient.readAll());
    m_bridgeSource = client + QLatin1Char('\n') +
                     withConfig(quillo::res::loadText(QStringLiteral(":/js/external_bridge.js")),
                                {{QStringLiteral("trusted"), trusted},
                                 {QStringLiteral("eventName"), eventName},
                                 {QStringLiteral("objectName"),
                                  QString::fromLatin1(CCustomControlSite::kBridgeObjectName)}});
}

void AfxEnableControlContainer(CCustomOccManager* manager) {
    s_pOccManager = manager;
}

CCustomOccManager* AfxGetOccManager() {
    return s_pOccManager;
}
