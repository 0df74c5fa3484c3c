#include "browser_host/custom_control_site.h"

#include "browser_host/custom_occ_manager.h"
#include "browser_host/web_browser2.h"

#include <QWidget>

CCustomControlSite::CCustomControlSite(CCustomOccManager& manager, QWidget* container)
    : QObject(container)
    , m_manager(manager)
    , m_browser(new CWebBrowser2(manager.profile(), container)) {}

CCustomControlSite::~CCustomControlSite() = default;
