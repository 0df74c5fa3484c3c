#include "platform/event_sound.h"

#include <QMetaObject>
#include <windows.h>

#include <mmsystem.h>

namespace quillo {

namespace {

// The system's own sound player: asynchronous, so the end of a play is not known; a play the
// system refused is.
class WindowsSound final : public EventSound {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowsSound)

public:
    WindowsSound() = default;
    ~WindowsSound() override { PlaySoundW(nullptr, nullptr, 0); }

    void play(quint32 id, const QString& filePath) override {
        const std::wstring path = filePath.toStdWString();
        const bool ok = PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
        const QString why = ok ? QString() : QStringLiteral("the system refused to play %1").arg(filePath);
        QMetaObject::invokeMethod(
            this, [this, id, ok, why] { emit finished(id, ok, why); }, Qt::QueuedConnection);
    }
    // Stops what plays; the system player holds no connection of its own.
    void reopen() override { PlaySoundW(nullptr, nullptr, 0); }
};

} // namespace

std::unique_ptr<EventSound> createEventSound() {
    return std::make_unique<WindowsSound>();
}

} // namespace quillo

#include "event_sound_win.moc"
