#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

namespace quillo {

// One client per user and settings home: the first start holds a lock beside the browser profile
// and listens on a local socket; a later start finds the lock held, asks the first to show its
// window, and ends. A lock left by a client that crashed or was killed is taken over.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    // lockDirectory: where the lock lives; the socket's name is derived from it, so two homes of
    // one user each have their client.
    explicit SingleInstance(const QString& lockDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the one client. False when another already runs: it has been asked
    // to show itself (as far as it could be reached) and this process should end.
    bool claim();

    // The default place: the application's data directory, beside the browser profile.
    static QString defaultLockDirectory();

signals:
    // Another start asked the running client to bring its window to the operator.
    void activationRequested();

private:
    void askRunningClient();

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace quillo
