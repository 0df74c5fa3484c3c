#include "browser_host/custom_occ_manager.h"

#include "browser_host/custom_control_site.h"

CCustomOccManager::CCustomOccManager(quillo::BrowserServices services)
    : m_services(std::move(services)) {}

CCustomControlSite* CCustomOccManager::CreateSite(QWidget* container) {
    return new CCustomControlSite(m_services, container);
}
