#include "alerts/alert_sound_player.h"

#include "alerts/alert_log.h"

#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace quillo::alerts {

namespace {
const QUrl kAlertSound(QStringLiteral("qrc:/sounds/alert.wav"));
}

AlertSoundPlayer::AlertSoundPlayer(QObject* parent)
    : QObject(parent) {
    prepare();
}

AlertSoundPlayer::~AlertSoundPlayer() = default;

bool AlertSoundPlayer::prepare() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    // The output of the moment: a headset plugged in since the last alert takes the sound.
    if (m_effect != nullptr && device == m_device)
        return true;
    delete m_effect;
    m_device = device;
    m_effect = new QSoundEffect(device, this);
    connect(m_effect, &QSoundEffect::statusChanged, this, [this] {
        if (m_effect->status() == QSoundEffect::Error)
            logSilence(QStringLiteral("the alert sound cannot be played on %1").arg(m_device.description()));
    });
    m_effect->setSource(kAlertSound);
    return true;
}

void AlertSoundPlayer::play() {
    if (!prepare()) {
        logSilence(QStringLiteral("no audio output"));
        return;
    }
    if (m_effect->status() == QSoundEffect::Error) {
        logSilence(QStringLiteral("the alert sound cannot be played on %1").arg(m_device.description()));
        return;
    }
    // While still loading, the effect plays as soon as it is ready.
    m_effect->play();
}

void AlertSoundPlayer::logSilence(const QString& why) {
    if (m_silenceLogged)
        return;
    m_silenceLogged = true;
    qCInfo(lcAlerts).noquote() << why << "- chat requests stay silent";
}

} // namespace quillo::alerts
