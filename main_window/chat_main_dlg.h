#pragma once

#include "browser_windows/browser_pool.h"
#include "main_window/hit_test.h"
#include "main_window/start_page.h"
#include "page_contract/external_target.h"

#include <QBasicTimer>
#include <QDialog>
#include <QIcon>
#include <QLoggingCategory>
#include <QRect>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

// What the main window did on the operator's or a page's behalf, for support.
Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

class CChatNotifyDlg;
class CColorLabel;
class CCustomBrowserDlg;
class CCustomOccManager;
class CHoverBitmapButton;
class CLinkLabel;
class CWebBrowser2;
class QLabel;
class QMenu;
class QUrl;

namespace quillo {
class ClientSettings;
class SettingsBackend;
namespace notify {
class PopupStack;
}
} // namespace quillo

// The operator's main window: a borderless, skinned dialog around the embedded browser that shows
// the chat service. It chooses the start page, answers page script, flashes on request, owns the
// notification popup and the pool of secondary browser windows.
class CChatMainDlg final : public QDialog, public quillo::ExternalTarget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CChatMainDlg)

public:
    // The window's two timers: the poll that closes the installer's last dialog, and flashing.
    enum class Timer { InstallerPoll, Flash };
    static constexpr Timer IDT_INSTALLER_POLL = Timer::InstallerPoll;
    static constexpr Timer IDT_FLASH = Timer::Flash;
    static constexpr int kInstallerPollMs = 3000;
    static constexpr int kFlashMs = 500;
    static constexpr int kPoolSize = 100;
    static constexpr char kInstallerClass[] = "MsiDialogCloseClass";
    static constexpr char kInstallerTitle[] = "TarnwickQuillo";

    // Its browser and those of its secondary windows come from `siteFactory`, which also says which
    // pages are trusted; without one the window shows no browser. Its place is kept in
    // `clientSettings` from one run to the next; without them it opens in the first run's place.
    explicit CChatMainDlg(CCustomOccManager* siteFactory = nullptr,
                          quillo::notify::PopupStack* popups = nullptr,
                          quillo::ClientSettings* clientSettings = nullptr, QWidget* parent = nullptr);
    ~CChatMainDlg() override;

    // Initialises the window and runs it modally; returns when the dialog has ended.
    int DoModal();
    // Initialisation without the modal loop, for tests and DoModal; once per window.
    bool OnInitDialog();

    // Reached from page script through window.external.
    bool IsOurCustomBrowser() override;
    // Ends the calling page's own window; from the console's page, the client.
    void CloseActiveWindow(const quillo::CallerWindow* caller) override;
    void CustomFunction() override;
    void CustomFunctionWithParams(std::string text, std::int32_t action) override;
    void OpenWindow(std::string url, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t sixth) override;

    // Reached from the context menu through the application's command handlers.
    void RefreshPage();
    void GoBackPage();
    // Makes the page accept the waiting chat; kept until the page can take it.
    void TriggerAccept();
    // The notification popup hid itself: accepted when the operator clicked its accept area.
    void OnChatPopupClosed(bool accepted);
    // A chat request of the client's own, so the operator can check the popup, sound and
    // notification on a new machine; accepting it brings the console forward and tells the page
    // nothing. A request from the page replaces it as any newer request does.
    void showTestRequest();

    void ToggleMaximize();
    void MinimizeWindow();
    // Ends the window and so the client: its close button, the window menu's Close, the window
    // manager's close command. Enter and Escape end nothing.
    void OnCancel();

    // Stores a value in the settings key, when it exists (see settings_store.h).
    bool WriteSetting(const char* text, const char* valueName);

    // One timer tick, as the timer would deliver it; tests drive ticks through here.
    void OnTimer(Timer timer);
    bool isTimerActive(Timer timer) const;
    // Replaces the settings backend, so tests can run without touching the user's settings.
    void setSettingsBackend(std::unique_ptr<quillo::SettingsBackend> backend);
    // Where the maker's and the chat service's pages are.
    static quillo::StartPageHosts defaultHosts();

    CWebBrowser2* browser() const { return m_browser; }
    CChatNotifyDlg* notifyDlg() const { return m_pNotifyDlg.get(); }
    const QString& startPage() const { return m_startPage; }
    int browserCount() const { return m_nBrowserCount; }
    CCustomBrowserDlg* poolWindow(int index) const;
    // The window that counts as active for CB_Close and flashing; tests may pin it.
    void setActiveWindowOverride(std::function<QWidget*()> activeWindow);
    // How the installer's dialog is found and closed; tests replace the real X11/Windows search.
    using ForeignWindowCloser = std::function<bool(const char* windowClass, const char* title)>;
    void setForeignWindowCloser(ForeignWindowCloser closer) { m_closeForeignWindow = std::move(closer); }
    // Items the application adds to the frame's window menu, before the About item.
    void setWindowMenuItems(std::function<void(QMenu&)> addItems) {
        m_addWindowMenuItems = std::move(addItems);
    }

signals:
    // OnInitDialog has run: the popup exists.
    void initialised();

protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnDocumentComplete();
    void runPendingAccepts();
    void keyboardBackToPage();
    void createSkinControls();
    void LayoutSkin();
    void showWindowMenu(const QPoint& globalPos);
    void showAboutBox();
    // The main window's place from the last run, and saving it for the next one.
    void restoreWindowState();
    void saveWindowState() const;
    void startFlashing();
    void stopFlashing();
    QWidget* activeWindow() const;
    bool mayStoreOrderNumber(const QUrl& page) const;

    CCustomOccManager* const m_siteFactory;
    quillo::notify::PopupStack* const m_popups;
    quillo::ClientSettings* const m_clientSettings;
    int m_nBrowserCount = 0;
    std::array<std::unique_ptr<CCustomBrowserDlg>, kPoolSize> m_browserPool;
    // Which slots are unopened, open or ended; m_nBrowserCount follows its count.
    quillo::BrowserPool m_poolSlots{kPoolSize};
    // A refusal for a full pool has been logged since a window last ended.
    bool m_poolFullLogged = false;
    // Once ended windows have let their browsers go, their memory goes back to the system.
    QTimer m_releaseFreedMemory;
    std::unique_ptr<CChatNotifyDlg> m_pNotifyDlg;
    bool m_bSettingMissing = false;
    CLinkLabel* m_linkLabel = nullptr;
    QLabel* m_bottomBar = nullptr;
    CColorLabel* m_versionLabel = nullptr;
    QLabel* m_bottomRight = nullptr;
    QLabel* m_bottomLeft = nullptr;
    QLabel* m_rightEdge = nullptr;
    QLabel* m_leftEdge = nullptr;
    CHoverBitmapButton* m_btnMinimize = nullptr;
    CHoverBitmapButton* m_btnMaximize = nullptr;
    CHoverBitmapButton* m_btnClose = nullptr;
    QLabel* m_topRight = nullptr;
    CWebBrowser2* m_browser = nullptr;
    QLabel* m_topLeft = nullptr;
    QLabel* m_topLogo = nullptr;
    QLabel* m_topBar = nullptr;
    QIcon m_icon;

    QBasicTimer m_installerPoll;
    QBasicTimer m_flash;
    std::unique_ptr<quillo::SettingsBackend> m_settings;
    std::function<QWidget*()> m_activeWindowOverride;
    ForeignWindowCloser m_closeForeignWindow;
    std::function<void(QMenu&)> m_addWindowMenuItems;
    QString m_startPage;
    // Accepts the operator clicked while the console waited in a box of its own.
    int m_pendingAccepts = 0;
    // Set while the window asks for attention after a popup closed unclicked.
    bool m_attentionMarked = false;
    // The popup shows the client's test request, whose accept is not the page's.
    bool m_testRequestShowing = false;

    // A move or resize of the frame that the dialog does itself, where the window manager cannot.
    struct FrameDrag {
        quillo::HitCode code;
        QPoint pressGlobal;
        QRect startGeometry;
    };
    std::optional<FrameDrag> m_frameDrag;
};
