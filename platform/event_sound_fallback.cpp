#include "platform/event_sound.h"

#include <QMetaObject>

namespace quillo {

namespace {

// A build without a desktop sound service: every play fails, so the caller says why.
class NoEventSound final : public EventSound {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoEventSound)

public:
    NoEventSound() = default;
    ~NoEventSound() override = default;

    void play(quint32 id, const QString&) override {
        QMetaObject::invokeMethod(
            this,
            [this, id] { emit finished(id, false, QStringLiteral("no event sound service in this build")); },
            Qt::QueuedConnection);
    }
    void reopen() override {}
};

} // namespace

std::unique_ptr<EventSound> createEventSound() {
    return std::make_unique<NoEventSound>();
}

} // namespace quillo

#include "event_sound_fallback.moc"
