#include "browser_host/custom_occ_manager.h"

#include "browser_host/custom_control_site.h"

CCustomOccManager::CCustomOccManager(QWebEngineProfile& profile, CExternalDispatch& external,
                                     quillo::OriginTrust trust)
    : m_profile(profile)
    , m_external(external)
    , m_trust(std::move(trust))
    , m_scripts(quillo::BuildExternalScripts(m_trust)) {}

CCustomControlSite* CCustomOccManager::CreateSite(QWidget* container) {
    return new CCustomControlSite(*this, container);
}
