#pragma once

class CCustomControlSite;
class CExternalDispatch;
class QWebEngineProfile;
class QWidget;

// The factory of browser sites: every browser of the program, in the main window and in each
// secondary window, is created through CreateSite, so all of them behave alike.
class CCustomOccManager final {
public:
    CCustomOccManager(QWebEngineProfile& profile, CExternalDispatch& external);
    ~CCustomOccManager();
    CCustomOccManager(const CCustomOccManager&) = delete;
    CCustomOccManager& operator=(const CCustomOccManager&) = delete;

    // A new site with its browser inside `container`, which owns both.
    CCustomControlSite* CreateSite(QWidget* container);

    QWebEngineProfile* profile() const { return &m_profile; }
    CExternalDispatch& external() const { return m_external; }

private:
    QWebEngineProfile& m_profile;
    CExternalDispatch& m_external;
};

// The manager that dialogs create their browsers through, set once at start-up.
void AfxEnableControlContainer(CCustomOccManager* manager);
CCustomOccManager* AfxGetOccManager();
