#include "platform/event_sound.h"

#include <QByteArray>
#include <QMetaObject>
#include <canberra.h>
#include <map>

namespace quillo {

namespace {

QString errorText(int code) {
    return QString::fromUtf8(ca_strerror(code));
}

// libcanberra: PulseAudio or PipeWire where they run, the event volume and the desktop's choice of
// output honoured.
class CanberraSound final : public EventSound {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CanberraSound)

public:
    CanberraSound() = default;
    ~CanberraSound() override { close(); }

    void play(quint32 id, const QString& filePath) override {
        QString why;
        if (!open(&why)) {
            report(id, false, why);
            return;
        }
        ca_proplist* props = nullptr;
        if (ca_proplist_create(&props) != CA_SUCCESS) {
            report(id, false, errorText(CA_ERROR_OOM));
            return;
        }
        const QByteArray path = filePath.toUtf8();
        ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, path.constData());
        ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, "Chat request");
        ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
        // A cached sample would be played by the server without telling when it ended; a stream
        // of its own each time reports every play's end.
        ca_proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "never");
        const quint32 tag = m_nextTag++;
        m_plays[tag] = id;
        const int result = ca_context_play_full(m_context, tag, props, &CanberraSound::onFinished, this);
        ca_proplist_destroy(props);
        if (result != CA_SUCCESS) {
            m_plays.erase(tag);
            report(id, false, errorText(result));
        }
    }

    void reopen() override { close(); }

private:
    bool open(QString* why) {
        if (m_context != nullptr)
            return true;
        int result = ca_context_create(&m_context);
        if (result == CA_SUCCESS)
            result = ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Quillo",
                                             CA_PROP_APPLICATION_ID, "example.tarnwick.Quillo",
                                             CA_PROP_APPLICATION_ICON_NAME, "quillo", nullptr);
        if (result == CA_SUCCESS)
            result = ca_context_open(m_context);
        if (result != CA_SUCCESS) {
            *why = errorText(result);
            close();
            return false;
        }
        return true;
    }

    void close() {
        if (m_context == nullptr)
            return;
        // Plays still running end here as canceled; their reports find no play any more and are
        // dropped.
        m_plays.clear();
        ca_context_destroy(m_context);
        m_context = nullptr;
    }

    void report(quint32 id, bool ok, const QString& why) {
        // Always later, as from the sound service, so callers see one order whatever failed.
        QMetaObject::invokeMethod(
            this, [this, id, ok, why] { emit finished(id, ok, why); }, Qt::QueuedConnection);
    }

    // Called on libcanberra's own thread: it may only post back to ours.
    static void onFinished(ca_context*, uint32_t tag, int error, void* self) {
        auto* sound = static_cast<CanberraSound*>(self);
        QMetaObject::invokeMethod(
            sound,
            [sound, tag, error] {
                const auto play = sound->m_plays.find(tag);
                if (play == sound->m_plays.end())
                    return;
                const quint32 id = play->second;
                sound->m_plays.erase(play);
                emit sound->finished(id, error == CA_SUCCESS, errorText(error));
            },
            Qt::QueuedConnection);
    }

    ca_context* m_context = nullptr;
    // libcanberra's id of each play still running, to the caller's; only this thread uses it.
    std::map<quint32, quint32> m_plays;
    quint32 m_nextTag = 1;
};

} // namespace

std::unique_ptr<EventSound> createEventSound() {
    return std::make_unique<CanberraSound>();
}

} // namespace quillo

#include "event_sound_canberra.moc"
