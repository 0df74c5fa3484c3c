#include "demo/demo_server.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSslSocket>
#include <QUrlQuery>
#include <QtHttpServer/QHttpServerRequest>

using namespace Qt::StringLiterals;

namespace {

using Status = QHttpServerResponder::StatusCode;

// Test plumbing: never part of what a page asked for.
bool isPlumbing(const QString& path) {
    static const QStringList plumbing = {u"/log"_s,     u"/report"_s,           u"/reports"_s,
                                         u"/command"_s, u"/next-command"_s,     u"/reset"_s,
                                         u"/outage"_s,  u"/release-downloads"_s};
    return plumbing.contains(path);
}

QString headerValue(const QHttpServerRequest& request, QByteArrayView name) {
    const auto headers = request.headers();
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(value);
    }
    return {};
}

QString methodName(QHttpServerRequest::Method method) {
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return u"GET"_s;
    case QHttpServerRequest::Method::Post:
        return u"POST"_s;
    case QHttpServerRequest::Method::Head:
        return u"HEAD"_s;
    case QHttpServerRequest::Method::Put:
        return u"PUT"_s;
    case QHttpServerRequest::Method::Delete:
        return u"DELETE"_s;
    case QHttpServerRequest::Method::Options:
        return u"OPTIONS"_s;
    default:
        return u"OTHER"_s;
    }
}

QString schemeOf(const QTcpSocket* socket) {
    return qobject_cast<const QSslSocket*>(socket) ? u"https"_s : u"http"_s;
}

// Pages must never be cached: a test that reloads must see a fresh request in the log.
void writeNoStore(QHttpServerResponder& responder, const QByteArray& body, const QByteArray& type,
                  Status status = Status::Ok) {
    responder.write(body, {{"Content-Type", type}, {"Cache-Control", "no-store"}}, status);
}

void writeJson(QHttpServerResponder& responder, const QJsonDocument& document) {
    writeNoStore(responder, document.toJson(QJsonDocument::Compact), "application/json");
}

// The demo's one account behind HTTP sign-in, as a reverse proxy in front of a console asks it.
constexpr QLatin1StringView kSignInUser{"operator"};
constexpr QLatin1StringView kSignInPassword{"s3cret"};
constexpr char kSignInRealm[] = "Tarnwick console";

// The user name of a Basic Authorization header, when it holds the demo's account; else empty.
QString signedInUser(const QString& authorization) {
    if (!authorization.startsWith(u"Basic "_s))
        return {};
    const QString pair = QString::fromUtf8(QByteArray::fromBase64(authorization.mid(6).toLatin1()));
    return pair == kSignInUser + u':' + kSignInPassword ? QString(kSignInUser) : QString();
}

QString queryValue(const QHttpServerRequest& request, const QString& key) {
    return request.query().queryItemValue(key, QUrl::FullyDecoded);
}

} // namespace

DemoServer::DemoServer(QObject* parent)
    : QAbstractHttpServer(parent) {
    m_expiry.setInterval(500);
    connect(&m_expiry, &QTimer::timeout, this, &DemoServer::expireWaiters);
    m_expiry.start();
}

DemoServer::~DemoServer() = default;

namespace {
bool isCaseName(const QString& name) {
    static const QRegularExpression allowed(u"^[a-z_]+$"_s);
    return allowed.match(name).hasMatch();
}
} // namespace

bool DemoServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    const QString path = request.url().path();
    const auto method = request.method();
    const bool isGet =
        method == QHttpServerRequest::Method::Get || method == QHttpServerRequest::Method::Head;
    const bool isPost = method == QHttpServerRequest::Method::Post;
    if (!isPlumbing(path))
        logRequest(request, socket);

    auto responder = makeResponder(request, socket);
    if (answerOutage(path, responder))
        return true;
    if ((isGet || isPost) && path == u"/logon.aspx"_s) {
        const QString orderId = queryValue(request, u"id"_s);
        // The form posts back to this address; the answer is the page that shows the order number.
        if (isPost) {
            const QString shown = orderId.isEmpty() ? QString(kDemoOrderId) : orderId;
            QString form = QString::fromUtf8(request.body());
            form.replace(u'+', u' ');
            const QString operatorName = QUrlQuery(form).queryItemValue(u"operator"_s, QUrl::FullyDecoded);
            servePage(u"logged_on.html"_s,
                      {{u"ORDER_ID_URL"_s, QString::fromLatin1(QUrl::toPercentEncoding(shown))},
                       {u"ORDER_ID"_s, shown.toHtmlEscaped()},
                       {u"OPERATOR"_s, operatorName.toHtmlEscaped()}},
                      std::move(responder));
        } else {
            servePage(u"logon.html"_s, {{u"ORDER_ID"_s, orderId.toHtmlEscaped()}}, std::move(responder));
        }
    } else if (isGet && path == u"/console"_s) {
        servePage(u"console.html"_s, {{u"ORDER_ID"_s, queryValue(request, u"id"_s).toHtmlEscaped()}},
                  std::move(responder));
    } else if (isGet && path == u"/signin/console"_s) {
        // The console behind HTTP sign-in: without the account, the answer a browser asks on.
        if (!signedInUser(headerValue(request, "authorization")).isEmpty())
            servePage(u"console.html"_s, {{u"ORDER_ID"_s, queryValue(request, u"id"_s).toHtmlEscaped()}},
                      std::move(responder));
        else
            responder.write("<!DOCTYPE html><title>401</title><p>Sign in to reach the console.</p>\n",
                            {{"Content-Type", "text/html; charset=utf-8"},
                             {"Cache-Control", "no-store"},
                             {"WWW-Authenticate", QByteArray("Basic realm=\"") + kSignInRealm + '"'}},
                            Status::Unauthorized);
    } else if (isGet && path == u"/store/free-live-chat-software.asp"_s) {
        servePage(u"store.html"_s, {}, std::move(responder));
    } else if (isGet && path.startsWith(u"/cases/hostile/"_s) && isCaseName(path.mid(15))) {
        // Pages that attack the client: bad arguments, floods, windows, dialogs, loops.
        servePage(u"hostile_"_s + path.mid(15) + u".html"_s, {}, std::move(responder));
    } else if (isGet && path == u"/session/logon"_s) {
        // The service's logon: a session cookie that script cannot read, as a console's is.
        const QByteArray token = "op" + QByteArray::number(QDateTime::currentMSecsSinceEpoch());
        responder.write("logged on\n",
                        {{"Content-Type", "text/plain"},
                         {"Cache-Control", "no-store"},
                         {"Set-Cookie", "quillo_session=" + token + "; Path=/; HttpOnly; SameSite=Lax"}},
                        Status::Ok);
    } else if (isGet && path.startsWith(u"/session/"_s) && isCaseName(path.mid(9))) {
        // Pages behind the logon: without the session they are refused, as a console's reports are.
        if (headerValue(request, "cookie").contains(u"quillo_session="_s))
            servePage(u"case_"_s + path.mid(9) + u".html"_s, {}, std::move(responder));
        else
            writeNoStore(responder, "log on first\n", "text/plain", Status::Forbidden);
    } else if (isGet && path.startsWith(u"/cases/"_s) && isCaseName(path.mid(7))) {
        // Pages for the page-contract cases: one element arrangement each.
        servePage(u"case_"_s + path.mid(7) + u".html"_s, {}, std::move(responder));
    } else if (isGet && path == u"/download"_s && request.query().hasQueryItem(u"held"_s)) {
        holdAttachment(queryValue(request, u"name"_s), socket, std::move(responder));
    } else if (isGet && path == u"/download"_s) {
        serveAttachment(queryValue(request, u"name"_s), std::move(responder));
    } else if (isGet && path.startsWith(u"/pages/"_s)) {
        serveAsset(path.mid(7), std::move(responder));
    } else if (isGet && path == u"/favicon.ico"_s) {
        responder.write(Status::NoContent);
    } else if (isPost && path == u"/report"_s) {
        acceptReport(request, socket, std::move(responder));
    } else if (isGet && path == u"/reports"_s) {
        writeJson(responder, QJsonDocument(m_reports));
    } else if (isGet && path == u"/log"_s) {
        writeJson(responder, QJsonDocument(m_requests));
    } else if (isPost && path == u"/reset"_s) {
        m_requests = {};
        m_reports = {};
        m_commands.clear();
        m_outages.clear();
        releaseDownloads(true);
        m_failedDownloads.clear();
        responder.write(Status::NoContent);
    } else if (isPost && path == u"/release-downloads"_s) {
        releaseDownloads(request.query().hasQueryItem(u"fail"_s));
        responder.write(Status::NoContent);
    } else if (isPost && path == u"/command"_s) {
        queueCommand(request, std::move(responder));
    } else if (isPost && path == u"/outage"_s) {
        setOutage(request, std::move(responder));
    } else if (isGet && path == u"/next-command"_s) {
        waitForCommand(queryValue(request, u"page"_s), socket, std::move(responder));
    } else {
        writeNoStore(responder, "not found\n", "text/plain", Status::NotFound);
    }
    return true;
}

void DemoServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    auto responder = makeResponder(request, socket);
    writeNoStore(responder, "not found\n", "text/plain", Status::NotFound);
}

void DemoServer::logRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    m_requests.append(QJsonObject{
        {u"method"_s, methodName(request.method())},
        {u"path"_s, request.url().path()},
        {u"query"_s, request.url().query(QUrl::FullyEncoded)},
        {u"host"_s, headerValue(request, "host")},
        {u"scheme"_s, schemeOf(socket)},
        {u"cookie"_s, headerValue(request, "cookie")},
        // Who signed in, never with what: an attempt with a wrong password logs no user.
        {u"signed_in"_s, signedInUser(headerValue(request, "authorization"))},
        {u"authorization"_s, !headerValue(request, "authorization").isEmpty()},
        {u"time_ms"_s, QDateTime::currentMSecsSinceEpoch()},
    });
}

void DemoServer::servePage(const QString& file, const QList<std::pair<QString, QString>>& fields,
                           QHttpServerResponder&& responder) {
    QFile source(u":/pages/"_s + file);
    if (!source.open(QIODevice::ReadOnly)) {
        writeNoStore(responder, "missing page\n", "text/plain", Status::InternalServerError);
        return;
    }
    QString html = QString::fromUtf8(source.readAll());
    // Fields arrive HTML-escaped, so a crafted query cannot inject markup or script.
    for (const auto& [name, value] : fields)
        html.replace(u"{{"_s + name + u"}}"_s, value);
    writeNoStore(responder, html.toUtf8(), "text/html; charset=utf-8");
}

void DemoServer::serveAsset(const QString& name, QHttpServerResponder&& responder) {
    static const QRegularExpression allowed(u"^[a-z_]+\\.(js|css)$"_s);
    QFile source(u":/pages/"_s + name);
    if (!allowed.match(name).hasMatch() || !source.open(QIODevice::ReadOnly)) {
        writeNoStore(responder, "not found\n", "text/plain", Status::NotFound);
        return;
    }
    const QByteArray type =
        name.endsWith(u".js"_s) ? "text/javascript; charset=utf-8" : "text/css; charset=utf-8";
    writeNoStore(responder, source.readAll(), type);
}

void DemoServer::serveAttachment(const QString& name, QHttpServerResponder&& responder) {
    // A file as a chat service sends a transcript: the browser is told to save it, not show it.
    static const QRegularExpression allowed(u"^[A-Za-z0-9._ -]{1,64}$"_s);
    if (!allowed.match(name).hasMatch()) {
        writeNoStore(responder, "bad name\n", "text/plain", Status::BadRequest);
        return;
    }
    const QByteArray body = "Transcript " + name.toUtf8() + "\n";
    responder.write(body,
                    {{"Content-Type", "text/plain"},
                     {"Cache-Control", "no-store"},
                     {"Content-Disposition", "attachment; filename=\"" + name.toUtf8() + "\""}},
                    Status::Ok);
}

void DemoServer::holdAttachment(const QString& name, QTcpSocket* socket, QHttpServerResponder&& responder) {
    // As a large transcript arrives: the browser starts the download on the first bytes, and the
    // rest comes when a test releases it, or never when it fails it.
    static const QRegularExpression allowed(u"^[A-Za-z0-9._ -]{1,64}$"_s);
    if (!allowed.match(name).hasMatch()) {
        writeNoStore(responder, "bad name\n", "text/plain", Status::BadRequest);
        return;
    }
    if (m_failedDownloads.contains(name)) {
        writeNoStore(responder, "gone\n", "text/plain", Status::NotFound);
        return;
    }
    const QByteArray body = "Transcript " + name.toUtf8() + "\n";
    const qsizetype sent = body.size() / 2;
    // Not sniffed: a browser would otherwise wait for more bytes before it decides on a download.
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                  "X-Content-Type-Options: nosniff\r\nCache-Control: no-store\r\n"
                  "Content-Disposition: attachment; filename=\"" +
                  name.toUtf8() + "\"\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
                  body.left(sent));
    m_heldDownloads.push_back(
        HeldDownload{name, QPointer<QTcpSocket>(socket), std::move(responder), body.mid(sent)});
}

void DemoServer::releaseDownloads(bool fail) {
    for (HeldDownload& held : m_heldDownloads) {
        if (!held.socket)
            continue;
        if (fail) {
            m_failedDownloads.append(held.name);
            held.socket->abort();
        } else
            held.socket->write(held.rest);
    }
    m_heldDownloads.clear();
}

void DemoServer::acceptReport(const QHttpServerRequest& request, QTcpSocket* socket,
                              QHttpServerResponder&& responder) {
    const QJsonDocument document = QJsonDocument::fromJson(request.body());
    if (!document.isObject()) {
        writeNoStore(responder, "report must be a JSON object\n", "text/plain", Status::BadRequest);
        return;
    }
    QJsonObject report = document.object();
    report.insert(u"time_ms"_s, QDateTime::currentMSecsSinceEpoch());
    report.insert(u"host"_s, headerValue(request, "host"));
    report.insert(u"scheme"_s, schemeOf(socket));
    m_reports.append(report);
    responder.write(Status::NoContent);
}

void DemoServer::queueCommand(const QHttpServerRequest& request, QHttpServerResponder&& responder) {
    const QJsonDocument document = QJsonDocument::fromJson(request.body());
    const QJsonObject command = document.object();
    const bool known = command.value(u"call"_s).isString() || command.value(u"navigate"_s).isString() ||
                       command.value(u"action"_s).isString();
    if (!document.isObject() || !known) {
        writeNoStore(responder, "a command is {call, args}, {action, args} or {navigate}\n", "text/plain",
                     Status::BadRequest);
        return;
    }
    responder.write(Status::Accepted);

    const QString target = command.value(u"page"_s).toString();
    for (auto it = m_waiters.begin(); it != m_waiters.end();) {
        if (!target.isEmpty() && it->page != target) {
            ++it;
            continue;
        }
        const bool delivered = deliver(*it, command);
        it = m_waiters.erase(it);
        if (delivered)
            return;
    }
    m_commands.append(command);
}

void DemoServer::waitForCommand(const QString& page, QTcpSocket* socket, QHttpServerResponder&& responder) {
    for (qsizetype i = 0; i < m_commands.size(); ++i) {
        const QString target = m_commands.at(i).value(u"page"_s).toString();
        if (target.isEmpty() || target == page) {
            writeJson(responder, QJsonDocument(m_commands.takeAt(i)));
            return;
        }
    }
    m_waiters.push_back(Waiter{page, QPointer<QTcpSocket>(socket), std::move(responder),
                               QDateTime::currentDateTimeUtc().addMSecs(kLongPollTimeout.count())});
}

bool DemoServer::deliver(Waiter& waiter, const QJsonObject& command) {
    // A page that navigated away has dropped its poll; its socket is gone or closing.
    if (!waiter.socket || waiter.socket->state() != QAbstractSocket::ConnectedState)
        return false;
    writeJson(waiter.responder, QJsonDocument(command));
    return true;
}

void DemoServer::expireWaiters() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (auto it = m_waiters.begin(); it != m_waiters.end();) {
        const bool alive = it->socket && it->socket->state() == QAbstractSocket::ConnectedState;
        if (alive && it->deadline > now) {
            ++it;
            continue;
        }
        if (alive)
            it->responder.write(Status::NoContent);
        it = m_waiters.erase(it);
    }
}

void DemoServer::setOutage(const QHttpServerRequest& request, QHttpServerResponder&& responder) {
    const QJsonObject outage = QJsonDocument::fromJson(request.body()).object();
    const QString path = outage.value(u"path"_s).toString();
    const int status = outage.value(u"status"_s).toInt();
    const int requests = outage.value(u"requests"_s).toInt();
    if (!path.startsWith(u'/') || isPlumbing(path) || status < 400 || status > 599 || requests < 1) {
        writeNoStore(responder, "an outage is {path, status (400-599), requests (1 or more)}\n", "text/plain",
                     Status::BadRequest);
        return;
    }
    m_outages.insert(path, {status, requests});
    responder.write(Status::NoContent);
}

bool DemoServer::answerOutage(const QString& path, QHttpServerResponder& responder) {
    const auto outage = m_outages.find(path);
    if (outage == m_outages.end())
        return false;
    const auto [status, left] = *outage;
    if (left <= 1)
        m_outages.erase(outage);
    else
        *outage = {status, left - 1};
    // A body as a load balancer sends one; the engine shows it instead of its own error page.
    const QByteArray body = "<!DOCTYPE html><title>" + QByteArray::number(status) +
                            "</title><p>The service is restarting. Please try again shortly.</p>\n";
    writeNoStore(responder, body, "text/html; charset=utf-8", Status(status));
    return true;
}
