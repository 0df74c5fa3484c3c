#include "alerts/sound_setting.h"

#include "alerts/alert_log.h"

#include "settings/client_settings.h"

namespace quillo::alerts {

SoundMode readSoundMode(const ClientSettings& settings) {
    const QString key = QString::fromLatin1(kSoundModeKey);
    if (!settings.contains(key))
        return kDefaultSoundMode;
    const QByteArray text = settings.value(key).toString().toUtf8();
    const ParsedSoundMode parsed =
        parseSoundMode(std::string_view(text.constData(), std::size_t(text.size())));
    if (!parsed.known)
        qCInfo(lcAlerts).nospace() << "unknown alert sound mode " << settings.value(key).toString() << " in "
                                   << settings.fileName() << "; using "
                                   << formatSoundMode(parsed.mode).data();
    return parsed.mode;
}

bool writeSoundMode(ClientSettings& settings, SoundMode mode) {
    const std::string_view name = formatSoundMode(mode);
    return settings.setValue(QString::fromLatin1(kSoundModeKey),
                             QString::fromLatin1(name.data(), qsizetype(name.size())));
}

} // namespace quillo::alerts
