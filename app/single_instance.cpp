#include "app/single_instance.h"

#include "app/activation_request.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

Q_LOGGING_CATEGORY(lcInstance, "quillo.instance", QtInfoMsg)

namespace quillo {
namespace {

// How long a second start keeps trying to reach a first one on this machine that is still
// starting up.
constexpr int kReachMs = 3000;
// How long it waits for the first one to have acted, so that the launch ends after the window
// came forward.
constexpr int kAnswerMs = 2000;
// How long the running client keeps a connection that has not sent a whole request.
constexpr int kRequestMs = 2000;

QString describe(const std::optional<LockOwner>& owner) {
    if (!owner)
        return QStringLiteral("an unreadable lock");
    return QStringLiteral("process %1 (%2) on %3")
        .arg(owner->pid)
        .arg(QString::fromStdString(owner->appName), QString::fromStdString(owner->hostName));
}

} // namespace

SingleInstance::SingleInstance(const QString& lockDirectory, QObject* parent)
    : QObject(parent)
    , m_lockPath(QDir(lockDirectory).filePath(QStringLiteral("quillo.lock"))) {
    // Short enough for the socket path limit, and the same for every start against this home.
    const QByteArray hash =
        QCryptographicHash::hash(QDir(lockDirectory).absolutePath().toUtf8(), QCryptographicHash::Sha256)
            .toHex();
    m_serverName = QStringLiteral("quillo-") + QString::fromLatin1(hash.left(24));
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultLockDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

SingleInstance::Claim SingleInstance::claim(const LaunchToken& launch, const TakeOverQuestion& askTakeOver) {
    QDir().mkpath(QFileInfo(m_lockPath).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Only a lock whose process is gone is stale, however long a shift has held it.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        listen();
        return Claim::Owned;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        // No place for a lock (read-only home): run unguarded rather than not at all.
        qCWarning(lcInstance).noquote() << "cannot create the lock" << m_lockPath << "- running without one";
        return Claim::Owned;
    }

    std::optional<LockOwner> owner = lockOwner();
    const std::string thisHost = QSysInfo::machineHostName().toStdString();
    const bool answered = askRunningClient(launch, holderMayAnswer(owner, thisHost) ? kReachMs : 0);
    switch (judgeLock(answered, owner, thisHost)) {
    case LockHolder::Answered:
        return Claim::HandedOver;
    case LockHolder::Unreadable:
        qCInfo(lcInstance).noquote() << "the lock" << m_lockPath << "is empty or unreadable; taking it over";
        if (takeOver())
            return Claim::Owned;
        // Refused only while a client on this machine holds it, one that is writing it just now.
        if (askRunningClient(launch, kReachMs))
            return Claim::HandedOver;
        owner = lockOwner();
        break;
    case LockHolder::Stale:
        qCInfo(lcInstance).noquote()
            << QStringLiteral("the lock names %1 (this machine), which does not answer; taking it over")
                   .arg(describe(owner));
        if (takeOver())
            return Claim::Owned;
        break;
    case LockHolder::HeldElsewhere:
        break;
    }

    qCInfo(lcInstance).noquote() << QStringLiteral("the lock names %1, which this start cannot reach; asking "
                                                   "the operator")
                                        .arg(describe(owner));
    if (!askTakeOver(owner)) {
        qCInfo(lcInstance) << "the operator chose not to start";
        return Claim::Declined;
    }
    qCInfo(lcInstance) << "the operator chose to start anyway";
    if (!takeOver())
        qCWarning(lcInstance).noquote()
            << "cannot take the lock" << m_lockPath << "over - running without one";
    return Claim::Owned;
}

std::optional<LockOwner> SingleInstance::lockOwner() const {
    qint64 pid = 0;
    QString host;
    QString app;
    if (!m_lock->getLockInfo(&pid, &host, &app))
        return std::nullopt;
    return LockOwner{pid, host.toStdString(), app.toStdString()};
}

bool SingleInstance::takeOver() {
    // Refused while a live process on this machine holds the lock; a lock gone meanwhile is fine.
    m_lock->removeStaleLockFile();
    if (!m_lock->tryLock(0))
        return false;
    listen();
    return true;
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a client that was killed would block the name.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        qCWarning(lcInstance).noquote()
            << "cannot listen on" << m_serverName << ":" << m_server->errorString();
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            // A connection that never completes its request is not kept.
            QTimer::singleShot(kRequestMs, socket, [socket] { socket->disconnectFromServer(); });
        }
    });
}

// Whatever comes over the socket is untrusted: one bounded line, tokens checked, anything else
// ignored.
void SingleInstance::answer(QLocalSocket* socket) {
    if (socket->state() != QLocalSocket::ConnectedState)
        return;
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > qint64(kMaxActivationRequest)) {
            qCInfo(lcInstance) << "ignored an over-long request on the socket";
            socket->disconnectFromServer();
        }
        return;
    }
    const QByteArray line = socket->readLine(qint64(kMaxActivationRequest) + 1);
    const std::optional<LaunchToken> launch =
        line.endsWith('\n')
            ? decodeActivationRequest(std::string_view(line.constData(), std::size_t(line.size())))
            : std::nullopt;
    if (!launch) {
        qCInfo(lcInstance) << "ignored a request on the socket that is not one";
    } else {
        qCInfo(lcInstance) << (launch->empty() ? "another start asked for the window"
                                               : "another start asked for the window, with its launch");
        emit activationRequested(*launch);
        socket->write(kActivationDone.data(), qint64(kActivationDone.size()));
    }
    socket->disconnectFromServer();
}

bool SingleInstance::askRunningClient(const LaunchToken& launch, int reachMs) {
    const QDeadlineTimer deadline(reachMs);
    const QByteArray request = QByteArray::fromStdString(encodeActivationRequest(launch));
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(500)) {
            socket.write(request);
            if (socket.waitForBytesWritten(1000)) {
                // The answer says the window has come forward; an older client closes without one.
                socket.waitForReadyRead(kAnswerMs);
                socket.disconnectFromServer();
                if (socket.state() != QLocalSocket::UnconnectedState)
                    socket.waitForDisconnected(1000);
                return true;
            }
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(100);
    }
    return false;
}

} // namespace quillo
