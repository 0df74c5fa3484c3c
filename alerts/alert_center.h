#pragma once

#include "alerts/alert_sound.h"
#include "alerts/waiting_requests.h"
#include "notification/popup_motion.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace quillo {
class ClientSettings;
}

namespace quillo::alerts {

class AlertSoundPlayer;

// What makes a waiting chat request hard to miss, besides the popup: the client's own sound, the
// tray icon with the count of waiting requests, the count on the desktop's launcher, and the
// keyboard's accept. It is fed the popup's and the console's events and decides through
// SoundRules and WaitingRequests.
class AlertCenter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlertCenter)

public:
    struct Console {
        // Accepts the request on the chat popup, as its accept area would.
        std::function<void()> acceptOnPopup;
        // Accepts in the console when no popup shows the waiting request any more.
        std::function<void()> acceptInConsole;
        // Shows and activates the console.
        std::function<void()> show;
        // Ends the client as the close button does.
        std::function<void()> quit;
        // Opens the Preferences window; the tray menu offers it when set.
        std::function<void()> preferences;
        // Clicks a page's notification as the operator's click on it would; false when it is gone.
        std::function<bool(quint64 key)> clickNotification;
    };

    static constexpr char kAcceptShortcut[] = "Ctrl+Shift+A";

    // settings: the client's own file, where the sound's mode is kept.
    AlertCenter(ClientSettings& settings, Console console, QObject* parent = nullptr);
    ~AlertCenter() override;

    // A chat request's popup starts to rise.
    void onRequestShown();
    // The popup's display ended, by a click, the keyboard or its display time.
    void onPopupEnded(notify::PopupEnd end);
    // A trusted page's notification was shown, under a key of the page services' own; it waits
    // until one of the three below.
    void onNotificationShown(quint64 key);
    void onNotificationClicked(quint64 key);
    // As when a colleague accepted the chat: a repeat for it alone stops.
    void onNotificationClosedByPage(quint64 key);
    // Its time ran out or another took its place: nobody answered, so a repeat goes on.
    void onNotificationGone(quint64 key);
    // Activation of the console counts as the operator's answer. Any key or mouse press in any
    // window of the client stops a repeat too, watched from the start.
    void watchConsole(QWidget& console);

    SoundMode soundMode() const { return m_sound.mode(); }
    void setSoundMode(SoundMode mode);
    // Plays the alert sound once, whatever the mode: the operator checks that it is heard.
    void testSound();
    // Accepts the newest waiting request; the keyboard's shortcut and the menus' item.
    void acceptNewest();
    int waitingCount() const { return m_waiting.count(); }

    // The sound's three choices and the accept item, for the console's window menu.
    void addMenuItems(QMenu& menu) const;
    // Carries the accept shortcut; added to the console so that the key works wherever Quillo
    // has the focus.
    QAction* acceptAction() const { return m_acceptAction; }

signals:
    void soundModeChanged(quillo::alerts::SoundMode mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // why: what stopped a repeat, for the log.
    void answered(const char* why);
    void request(SoundRules::RequestKey key);
    void repeatEnded(bool wasDue, const char* why);
    void scheduleRepeat();
    void onRepeatDue();
    void waitingChanged();
    void createTray();
    QIcon attentionIcon(int count) const;

    Console m_console;
    QPointer<QWidget> m_consoleWindow;
    ClientSettings& m_settings;
    SoundRules m_sound;
    WaitingRequests m_waiting;
    QElapsedTimer m_clock;
    QTimer m_repeat;
    AlertSoundPlayer* m_player = nullptr;
    QActionGroup* m_soundChoices = nullptr;
    QAction* m_acceptAction = nullptr;
    QIcon m_icon;
    // The menu outlives the icon that shows it.
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    bool m_launcherFailureLogged = false;
};

} // namespace quillo::alerts
