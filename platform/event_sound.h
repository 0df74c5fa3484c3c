#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace quillo {

// Plays a sound file as an event sound of the desktop, through its sound service and with its
// sound settings. Every play ends in exactly one finished(), on the caller's thread, unless
// reopen() or the object's end comes first.
class EventSound : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // id: the caller's own, given back by finished().
    virtual void play(quint32 id, const QString& filePath) = 0;
    // Drops the connection to the sound service and what plays on it; the next play opens a new
    // one.
    virtual void reopen() = 0;

signals:
    // ok: the sound was played to its end. Otherwise why says what failed.
    void finished(quint32 id, bool ok, const QString& why);
};

std::unique_ptr<EventSound> createEventSound();

} // namespace quillo
