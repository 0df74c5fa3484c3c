#pragma once

#include "browser_host/browser_commands.h"
#include "browser_host/page_scripts.h"
#include "page_contract/origin_trust.h"

class CCustomControlSite;
class CExternalDispatch;
class QWebEngineProfile;
class QWidget;

// The factory of browser sites: every browser of the program, in the main window and in each
// secondary window, is created through CreateSite, so all of them behave alike: one profile,
// window.external for the same trusted origins, and one route for context-menu commands.
class CCustomOccManager final {
public:
    CCustomOccManager(QWebEngineProfile& profile, CExternalDispatch& external, quillo::OriginTrust trust);
    CCustomOccManager(const CCustomOccManager&) = delete;
    CCustomOccManager& operator=(const CCustomOccManager&) = delete;

    // A new site with its browser inside `container`, which owns both.
    CCustomControlSite* CreateSite(QWidget* container);

    QWebEngineProfile& profile() const { return m_profile; }
    CExternalDispatch& external() const { return m_external; }
    // The origins whose pages get window.external and may change the client's settings.
    const quillo::OriginTrust& trust() const { return m_trust; }
    const quillo::ExternalScripts& scripts() const { return m_scripts; }

    void setCommandRouter(quillo::BrowserCommandRouter router) { m_router = std::move(router); }
    const quillo::BrowserCommandRouter& commandRouter() const { return m_router; }

private:
    QWebEngineProfile& m_profile;
    CExternalDispatch& m_external;
    const quillo::OriginTrust m_trust;
    const quillo::ExternalScripts m_scripts;
    quillo::BrowserCommandRouter m_router;
};
