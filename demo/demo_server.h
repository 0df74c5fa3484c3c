#pragma once

#include <QDateTime>
#include <QHash>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QtHttpServer/QAbstractHttpServer>

#include <chrono>
#include <list>

// Serves the demo pages of the chat service and of the maker's site for any Host header, and
// keeps what tests need to observe: a log of page requests, the reports pages post, and a queue
// of commands that pages pick up by long-poll and run against window.external.
class DemoServer final : public QAbstractHttpServer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DemoServer)
public:
    // A page holds its long-poll this long before it is answered with "no command".
    static constexpr std::chrono::milliseconds kLongPollTimeout{20000};
    // The order number a logon without one shows, so the demo works from a bare address.
    static constexpr QLatin1StringView kDemoOrderId{"48213"};

    explicit DemoServer(QObject* parent = nullptr);
    ~DemoServer() override;

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct Waiter {
        QString page;
        QPointer<QTcpSocket> socket;
        QHttpServerResponder responder;
        QDateTime deadline;
    };

    // A download whose first bytes have gone out and whose rest waits for /release-downloads.
    struct HeldDownload {
        QString name;
        QPointer<QTcpSocket> socket;
        QHttpServerResponder responder;
        QByteArray rest;
    };

    void logRequest(const QHttpServerRequest& request, QTcpSocket* socket);
    void servePage(const QString& file, const QList<std::pair<QString, QString>>& fields,
                   QHttpServerResponder&& responder);
    void serveAttachment(const QString& name, QHttpServerResponder&& responder);
    void holdAttachment(const QString& name, QTcpSocket* socket, QHttpServerResponder&& responder);
    void releaseDownloads(bool fail);
    void serveAsset(const QString& path, QHttpServerResponder&& responder);
    void acceptReport(const QHttpServerRequest& request, QTcpSocket* socket,
                      QHttpServerResponder&& responder);
    void queueCommand(const QHttpServerRequest& request, QHttpServerResponder&& responder);
    void waitForCommand(const QString& page, QTcpSocket* socket, QHttpServerResponder&& responder);
    bool deliver(Waiter& waiter, const QJsonObject& command);
    void expireWaiters();
    void setOutage(const QHttpServerRequest& request, QHttpServerResponder&& responder);
    bool answerOutage(const QString& path, QHttpServerResponder& responder);

    QJsonArray m_requests;
    QJsonArray m_reports;
    QList<QJsonObject> m_commands;
    std::list<Waiter> m_waiters;
    // Paths answered with an error status for their next requests, as a load balancer answers while
    // the service behind it restarts: path -> {status, requests left}.
    QHash<QString, std::pair<int, int>> m_outages;
    std::list<HeldDownload> m_heldDownloads;
    // Names whose held download failed: a browser's retry finds them gone, as an expired link.
    QStringList m_failedDownloads;
    QTimer m_expiry;
};
