#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace quillo::e2e {

// A desktop session manager speaking XSMP, as the session of an X11 desktop does: clients that
// find its address in SESSION_MANAGER register with it, and it asks them to save and to end.
class SessionManager final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SessionManager)

public:
    SessionManager();
    ~SessionManager() override;

    // Listens for clients; false with errorString() when it cannot.
    bool start();
    QString errorString() const;
    // The value of SESSION_MANAGER that leads a client here.
    QString address() const;

    bool waitForClient(int ms);
    // Asks every client to save, as a checkpoint (the session goes on) or before a shutdown;
    // true once each has answered that it is done.
    bool saveYourself(bool shutdown, int ms);
    // Tells every client to end, as after a shutdown's save.
    void die();

    // Open to the library's plain callbacks, which find them through a pointer of their own.
    struct Client;
    struct Private;

private:
    std::unique_ptr<Private> d;
};

} // namespace quillo::e2e
