#include "browser_host/custom_occ_manager.h"

#include "browser_host/custom_control_site.h"

namespace {
CCustomOccManager* s_pOccManager = nullptr;
}

CCustomOccManager::CCustomOccManager(QWebEngineProfile& profile, CExternalDispatch& external)
    : m_profile(profile)
    , m_external(external) {}

CCustomOccManager::~CCustomOccManager() {
    if (s_pOccManager == this)
        s_pOccManager = nullptr;
}

CCustomControlSite* CCustomOccManager::CreateSite(QWidget* container) {
    return new CCustomControlSite(*this, container);
}

void AfxEnableControlContainer(CCustomOccManager* manager) {
    s_pOccManager = manager;
}

CCustomOccManager* AfxGetOccManager() {
    return s_pOccManager;
}
