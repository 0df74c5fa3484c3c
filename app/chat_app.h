#pragma once

#include "alerts/alert_center.h"
#include "platform/launch_token.h"

#include <QPointer>

#include <memory>

class CChatMainDlg;
class ClientWindows;
class CCustomOccManager;
class CExternalDispatch;
class QWebEngineProfile;
class QWebEngineView;
class SpellCheck;
class ZoomKeeper;
class PreferencesDlg;

namespace quillo {
class ClientSettings;
class RendererRecovery;
namespace notify {
class PopupStack;
}
} // namespace quillo

// The application: brings the process up in a fixed order, owns what lives for the whole run (the
// browser profile, the browser-site factory and window.external) and runs the main window until
// it ends, which ends the program.
class CChatApp final {
public:
    // settings: the client's own, for the whole run.
    explicit CChatApp(quillo::ClientSettings& settings);
    ~CChatApp();
    CChatApp(const CChatApp&) = delete;
    CChatApp& operator=(const CChatApp&) = delete;

    // Always false: the main window's loop was the program's only loop.
    bool InitInstance();

    // The context menu's commands, for the main window's browser.
    void onRefresh();
    void onBack();

    // Another start asked for the window: bring it to the operator, with that start's launch so that
    // the desktop grants the focus, or ask for attention where the window manager keeps it where
    // it is.
    void activateMainWindow(const quillo::LaunchToken& launch);
    // The session or a signal asked the client to end: it ends as the close button ends it, with
    // any dialog of its own answered first so that nothing holds the main window's loop open.
    void endSession();

    CChatMainDlg* m_pMainWnd = nullptr;

private:
    // The console is checked after a sleep of the machine, and reloaded after a long one.
    void watchConsoleSleep(QWebEngineView& console, quillo::RendererRecovery& recovery);
    // What the tray and the accept shortcut do to the console.
    quillo::alerts::AlertCenter::Console alertConsole(CChatMainDlg& dialog);
    // Opens the one Preferences window, or brings it forward.
    void showPreferences();

    quillo::ClientSettings& m_settings;
    // The corner the chat popup and the pages' notification cards share.
    std::unique_ptr<quillo::notify::PopupStack> m_popups;
    std::unique_ptr<QWebEngineProfile> m_profile;
    // window.external outlives the site factory that hands it to every page.
    std::unique_ptr<CExternalDispatch> m_pExternal;
    std::unique_ptr<CCustomOccManager> m_occManager;
    // The windows the chat service's pages open for themselves; each is owned by the main window.
    std::unique_ptr<ClientWindows> m_clientWindows;
    // The profile owns both; the Preferences window changes them.
    ZoomKeeper* m_zoom = nullptr;
    SpellCheck* m_spelling = nullptr;
    QPointer<PreferencesDlg> m_preferences;
    // The main window's alerts, while it runs.
    quillo::alerts::AlertCenter* m_alerts = nullptr;
};
