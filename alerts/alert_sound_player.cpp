#include "alerts/alert_sound_player.h"

#include "alerts/alert_log.h"
#include "platform/event_sound.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quillo::alerts {

namespace {
const QString kAlertSound = QStringLiteral(":/sounds/alert.wav");
}

AlertSoundPlayer::AlertSoundPlayer(QObject* parent)
    : AlertSoundPlayer(createEventSound(), parent) {}

AlertSoundPlayer::AlertSoundPlayer(std::unique_ptr<EventSound> sound, QObject* parent)
    : QObject(parent)
    , m_sound(std::move(sound)) {
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kPlayTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        onFinished(m_current, false, QStringLiteral("the play did not end within %1 ms").arg(kPlayTimeoutMs));
    });
    connect(m_sound.get(), &EventSound::finished, this, &AlertSoundPlayer::onFinished);
    // Written now, so the first alert does not wait for it.
    soundFile();
}

AlertSoundPlayer::~AlertSoundPlayer() = default;

void AlertSoundPlayer::play() {
    m_attempts.onStart();
    start();
}

void AlertSoundPlayer::start() {
    ++m_current;
    const QString file = soundFile();
    if (file.isEmpty()) {
        // Posted, so that a failure without a file takes the same road as any other.
        QMetaObject::invokeMethod(
            this,
            [this, id = m_current] {
                onFinished(id, false, QStringLiteral("the sound file could not be written"));
            },
            Qt::QueuedConnection);
        return;
    }
    m_timeout.start();
    m_sound->play(m_current, file);
}

void AlertSoundPlayer::onFinished(quint32 id, bool ok, const QString& why) {
    if (id != m_current)
        return;
    m_timeout.stop();
    const PlayAttempts::Step step = ok ? m_attempts.onPlayed() : m_attempts.onFailed();
    if (step.logRecovery)
        qCInfo(lcAlerts) << "the alert sound plays again";
    if (step.logFailure)
        qCWarning(lcAlerts).noquote()
            << "the alert sound could not play:" << why << "- chat requests stay silent until it plays again";
    if (step.reopenAndRetry) {
        m_sound->reopen();
        start();
        return;
    }
    emit played(ok);
}

QString AlertSoundPlayer::soundFile() {
    if (!m_file.isEmpty() && QFileInfo::exists(m_file))
        return m_file;
    QFile resource(kAlertSound);
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = resource.readAll();
    // Named by its content, so that clients of different versions never play each other's.
    const QString name =
        QStringLiteral("quillo-alert-%1.wav")
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex().left(16)));
    // The runtime folder is the user's own and is emptied at logout; the cache where there is none.
    for (const auto location : {QStandardPaths::RuntimeLocation, QStandardPaths::CacheLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (folder.isEmpty() || !QDir().mkpath(folder))
            continue;
        const QString path = QDir(folder).filePath(name);
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit()) {
            m_file = path;
            m_toldUnwritable = false;
            return m_file;
        }
        // Said once: every alert tries again, and the failure to play is logged on its own.
        if (!m_toldUnwritable)
            qCInfo(lcAlerts) << "could not write the alert sound to" << path << ":" << file.errorString();
    }
    m_toldUnwritable = true;
    return {};
}

} // namespace quillo::alerts
