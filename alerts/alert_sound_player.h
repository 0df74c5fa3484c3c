#pragma once

#include "alerts/alert_sound.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

namespace quillo {
class EventSound;
}

namespace quillo::alerts {

// Plays the client's own alert sound as the desktop's event sound. Every play is checked: one
// that fails, or does not end in time, is tried once more on a newly opened connection; one that
// still fails is logged, once until a play succeeds again. Nothing else changes.
class AlertSoundPlayer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlertSoundPlayer)

public:
    // Longer than the sound itself and a slow server's start: a play not over by then has failed.
    static constexpr int kPlayTimeoutMs = 5000;

    // sound: where the sound plays; the desktop's own when none is given.
    explicit AlertSoundPlayer(QObject* parent = nullptr);
    AlertSoundPlayer(std::unique_ptr<EventSound> sound, QObject* parent);
    ~AlertSoundPlayer() override;

    void play();

signals:
    // The outcome of each play, after its retry.
    void played(bool ok);

private:
    void start();
    void onFinished(quint32 id, bool ok, const QString& why);
    // The sound as a file the sound service can open, written where needed; empty when it cannot be.
    QString soundFile();

    std::unique_ptr<EventSound> m_sound;
    PlayAttempts m_attempts;
    // The play whose outcome counts; an older one's is dropped.
    quint32 m_current = 0;
    QTimer m_timeout;
    QString m_file;
    bool m_toldUnwritable = false;
};

} // namespace quillo::alerts
