#pragma once

#include "browser_host/browser_services.h"

class CCustomControlSite;
class QWidget;

// The factory of browser sites: every browser of the program, in the main window and in each
// secondary window, is created through CreateSite, so all of them behave alike: one profile,
// window.external for the same trusted origins, and one route for context-menu commands.
class CCustomOccManager final {
public:
    explicit CCustomOccManager(quillo::BrowserServices services);
    CCustomOccManager(const CCustomOccManager&) = delete;
    CCustomOccManager& operator=(const CCustomOccManager&) = delete;

    // A new site with its browser inside `container`, which owns both.
    CCustomControlSite* CreateSite(QWidget* container);

    // What every site gets; lives as long as the factory.
    const quillo::BrowserServices& services() const { return m_services; }

private:
    const quillo::BrowserServices m_services;
};
