#pragma once

#include <QAudioDevice>
#include <QObject>

class QSoundEffect;

namespace quillo::alerts {

// Plays the client's own alert sound on the default audio output. Without an output, or when the
// sound cannot be played there, nothing plays and the log says so once; nothing else changes.
class AlertSoundPlayer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlertSoundPlayer)

public:
    explicit AlertSoundPlayer(QObject* parent = nullptr);
    ~AlertSoundPlayer() override;

    void play();

private:
    // Loads the sound for the output of the moment, so that the first alert is not late; false
    // when there is no output.
    bool prepare();
    void logSilence(const QString& why);

    QSoundEffect* m_effect = nullptr;
    QAudioDevice m_device;
    bool m_silenceLogged = false;
};

} // namespace quillo::alerts
