#pragma once

#include "alerts/alert_sound.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class SpellCheck;
class ZoomKeeper;

namespace quillo {
class ClientSettings;
}

namespace quillo::alerts {
class AlertCenter;
}

// The operator's Preferences: the alert sound, starting at log-in, spelling languages and zoom,
// with the settings Quillo runs on shown read-only. Not modal: the console and the chat popup stay
// in reach while it is open. Every change applies at once and is kept, through the same code
// quillo-setup uses.
class PreferencesDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesDlg)

public:
    struct Services {
        quillo::alerts::AlertCenter& alerts;
        // The client's own settings, whose file is shown.
        const quillo::ClientSettings& settings;
        // Absent where the profile has none.
        SpellCheck* spelling = nullptr;
        ZoomKeeper* zoom = nullptr;
        // Raises the client's own test chat request.
        std::function<void()> sendTestRequest;
    };

    PreferencesDlg(Services services, QWidget* parent = nullptr);
    ~PreferencesDlg() override;

private:
    QWidget* createSoundGroup();
    QWidget* createSpellingGroup();
    QWidget* createSettingsGroup();
    void showSoundMode(quillo::alerts::SoundMode mode);
    void setStartAtLogin(bool on);

    Services m_services;
    QButtonGroup* m_soundModes = nullptr;
    QCheckBox* m_startAtLogin = nullptr;
    // Says why a change could not be made; hidden until one could not.
    QLabel* m_problem = nullptr;
};
