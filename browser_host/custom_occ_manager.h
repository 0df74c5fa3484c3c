#pragma once

#include "browser_host/origin_trust.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class CCustomControlSite;
class CExternalDispatch;
class CWebBrowser2;
class QWebEngineProfile;
class QUrl;
class QWidget;

// The factory of browser sites: every browser of the program, in the main window and in each
// secondary window, is created through CreateSite, so all of them behave alike.
class CCustomOccManager final {
public:
    // Context-menu commands, with the program's command identifiers.
    enum class Command { Refresh, Back };
    // Takes a command chosen in a browser's context menu; false leaves it to that browser.
    using CommandRouter = std::function<bool(CWebBrowser2& browser, Command command)>;

    CCustomOccManager(QWebEngineProfile& profile, CExternalDispatch& external);
    ~CCustomOccManager();
    CCustomOccManager(const CCustomOccManager&) = delete;
    CCustomOccManager& operator=(const CCustomOccManager&) = delete;

    // A new site with its browser inside `container`, which owns both.
    CCustomControlSite* CreateSite(QWidget* container);

    QWebEngineProfile* profile() const { return &m_profile; }
    CExternalDispatch& external() const { return m_external; }

    // The origins whose pages get window.external; applies to every browser, existing and future.
    void setTrustedOrigins(quillo::OriginTrust trust);
    const quillo::OriginTrust& trustedOrigins() const { return m_trust; }
    // Whether the page at this address may drive the client or change its settings.
    bool isTrustedPage(const QUrl& page) const;

    void setCommandRouter(CommandRouter router) { m_router = std::move(router); }
    bool routeCommand(CWebBrowser2& browser, Command command) const;

    // The scripts that give trusted pages window.external, for the current trusted origins.
    const QString& shimSource() const { return m_shimSource; }
    const QString& bridgeSource() const { return m_bridgeSource; }

private:
    void buildScripts();

    QWebEngineProfile& m_profile;
    CExternalDispatch& m_external;
    quillo::OriginTrust m_trust;
    CommandRouter m_router;
    QString m_shimSource;
    QString m_bridgeSource;
    std::vector<QPointer<CCustomControlSite>> m_sites;
};

// The manager that dialogs create their browsers through, set once at start-up.
void AfxEnableControlContainer(CCustomOccManager* manager);
CCustomOccManager* AfxGetOccManager();
