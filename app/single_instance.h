#pragma once

#include "app/lock_holder.h"
#include "platform/launch_token.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace quillo {

// One client per user and settings home: the first start holds a lock beside the browser profile
// and listens on a local socket; a later start finds the lock held, hands its launch to the first
// so that it shows its window, and ends. A lock that nothing holds any more is taken over; one
// that names a client this start cannot reach (another computer with the same home) is the
// operator's to judge.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum class Claim {
        Owned,      // this process is the one client (or runs unguarded where no lock can be had)
        HandedOver, // another client answered and shows its window: this process ends
        Declined,   // the operator chose not to start beside a client that may still run
    };
    // Asked when the lock names a client that does not answer and may still run; true to take the
    // lock over and start. owner: none when the lock cannot be read.
    using TakeOverQuestion = std::function<bool(const std::optional<LockOwner>& owner)>;

    // lockDirectory: where the lock lives; the socket's name is derived from it, so two homes of
    // one user each have their client.
    explicit SingleInstance(const QString& lockDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // launch: this start's launch, handed to a running client.
    Claim claim(const LaunchToken& launch, const TakeOverQuestion& askTakeOver);

    // The default place: the application's data directory, beside the browser profile.
    static QString defaultLockDirectory();

signals:
    // Another start asked the running client to bring its window to the operator.
    void activationRequested(const quillo::LaunchToken& launch);

private:
    std::optional<LockOwner> lockOwner() const;
    bool askRunningClient(const LaunchToken& launch, int reachMs);
    bool takeOver();
    void listen();
    void answer(QLocalSocket* socket);

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace quillo
