#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

Q_LOGGING_CATEGORY(lcInstance, "quillo.instance", QtInfoMsg)

namespace quillo {
namespace {

constexpr char kActivate[] = "activate\n";
// How long a second start keeps trying to reach a first one that is still starting up.
constexpr int kReachMs = 3000;

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

bool SingleInstance::claim() {
    QDir().mkpath(QFileInfo(m_lockPath).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Only a lock whose process is gone is stale, however long a shift has held it.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            askRunningClient();
            return false;
        }
        // No place for a lock (read-only home): run unguarded rather than not at all.
        qCWarning(lcInstance).noquote() << "cannot create the lock" << m_lockPath << "- running without one";
        return true;
    }
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
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                // Only a whole request counts; anything else on the socket is ignored.
                if (socket->canReadLine() && socket->readLine(64) == kActivate) {
                    qCInfo(lcInstance) << "another start asked for the window";
                    emit activationRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

void SingleInstance::askRunningClient() {
    const QDeadlineTimer deadline(kReachMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(500)) {
            socket.write(kActivate);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
            if (sent)
                return;
        }
        QThread::msleep(100);
    }
    qCWarning(lcInstance) << "a client holds the lock but does not answer; not starting a second one";
}

} // namespace quillo
