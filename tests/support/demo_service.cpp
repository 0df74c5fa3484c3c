#include "tests/support/e2e_harness.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>

using namespace Qt::StringLiterals;

namespace quillo::e2e {

namespace {

constexpr int kRequestTimeoutMs = 10000;
constexpr int kPollStepMs = 100;

// One blocking exchange with the service; null on any failure.
std::optional<QByteArray> exchange(const QUrl& url, const QByteArray* body) {
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::ContentTypeHeader, u"application/json"_s);
    QNetworkReply* reply = body ? network.post(request, *body) : network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kRequestTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    std::optional<QByteArray> result;
    if (reply->isFinished() && reply->error() == QNetworkReply::NoError)
        result = reply->readAll();
    reply->abort();
    reply->deleteLater();
    return result;
}

QJsonArray parseArray(const std::optional<QByteArray>& data) {
    return data ? QJsonDocument::fromJson(*data).array() : QJsonArray();
}

std::optional<QJsonObject> firstMatch(const QJsonArray& items,
                                      const std::function<bool(const QJsonObject&)>& pred) {
    for (const auto& item : items) {
        if (pred(item.toObject()))
            return item.toObject();
    }
    return std::nullopt;
}

} // namespace

QString demoServiceBinary() {
    return QString::fromUtf8(QUILLO_DEMO_SERVICE_PATH);
}
QString quilloBinary() {
    // The package test runs a test against the installed client.
    const QString installed = qEnvironmentVariable("QUILLO_UNDER_TEST");
    return installed.isEmpty() ? QString::fromUtf8(QUILLO_BINARY_PATH) : installed;
}

void endWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

DemoService::DemoService() = default;

DemoService::~DemoService() {
    stop();
}

bool DemoService::start(bool tls, quint16 port) {
    QStringList arguments = {u"--port"_s, QString::number(port)};
    if (tls) {
        m_certDir = std::make_unique<QTemporaryDir>();
        const QString cert = m_certDir->filePath(u"cert.pem"_s);
        const QString key = m_certDir->filePath(u"key.pem"_s);
        QProcess openssl;
        openssl.start(u"openssl"_s,
                      {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-subj"_s,
                       u"/CN=localhost"_s, u"-days"_s, u"1"_s, u"-keyout"_s, key, u"-out"_s, cert});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            m_error = u"openssl could not make a certificate: "_s +
                      QString::fromLocal8Bit(openssl.readAllStandardError());
            return false;
        }
        arguments << u"--tls-port"_s << u"0"_s << u"--cert"_s << cert << u"--key"_s << key;
    }

    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(m_process);
    m_process.start(demoServiceBinary(), arguments);
    if (!m_process.waitForStarted(5000)) {
        m_error = u"cannot start "_s + demoServiceBinary() + u": "_s + m_process.errorString();
        return false;
    }
    static const QRegularExpression plain(u"^listening on (\\d+)$"_s);
    static const QRegularExpression secure(u"^tls listening on (\\d+)$"_s);
    const QDeadlineTimer deadline(10000);
    while ((m_port == 0 || (tls && m_tlsPort == 0)) && !deadline.hasExpired()) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (const auto match = plain.match(line); match.hasMatch())
                m_port = quint16(match.captured(1).toUInt());
            else if (const auto tlsMatch = secure.match(line); tlsMatch.hasMatch())
                m_tlsPort = quint16(tlsMatch.captured(1).toUInt());
        }
    }
    if (m_port == 0 || (tls && m_tlsPort == 0)) {
        m_error = u"the demo service did not report its port(s)"_s;
        stop();
        return false;
    }
    return true;
}

void DemoService::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    m_port = 0;
    m_tlsPort = 0;
}

QString DemoService::certificatePath() const {
    return m_certDir ? m_certDir->filePath(u"cert.pem"_s) : QString();
}

QUrl DemoService::baseUrl() const {
    return QUrl(u"http://127.0.0.1:%1"_s.arg(m_port));
}

QString DemoService::hostResolverRules() const {
    // A rule with a port only matches that port, so it must come before the catch-all.
    QString rules;
    if (m_tlsPort != 0)
        rules = u"MAP *:443 127.0.0.1:%1,"_s.arg(m_tlsPort);
    return rules + u"MAP * 127.0.0.1:%1"_s.arg(m_port);
}

std::optional<QByteArray> DemoService::get(const QString& path) const {
    return exchange(baseUrl().resolved(QUrl(path)), nullptr);
}

bool DemoService::post(const QString& path, const QByteArray& body) const {
    return exchange(baseUrl().resolved(QUrl(path)), &body).has_value();
}

QJsonArray DemoService::requests() const {
    return parseArray(get(u"/log"_s));
}

QJsonArray DemoService::reports() const {
    return parseArray(get(u"/reports"_s));
}

std::optional<QJsonObject> DemoService::waitForReport(const std::function<bool(const QJsonObject&)>& pred,
                                                      int ms) const {
    const QDeadlineTimer deadline(ms);
    for (;;) {
        if (auto found = firstMatch(reports(), pred))
            return found;
        if (deadline.hasExpired())
            return std::nullopt;
        QTest::qWait(kPollStepMs);
    }
}

std::optional<QJsonObject> DemoService::waitForRequest(const std::function<bool(const QJsonObject&)>& pred,
                                                       int ms) const {
    const QDeadlineTimer deadline(ms);
    for (;;) {
        if (auto found = firstMatch(requests(), pred))
            return found;
        if (deadline.hasExpired())
            return std::nullopt;
        QTest::qWait(kPollStepMs);
    }
}

bool DemoService::pushCommand(const QJsonObject& command) const {
    return post(u"/command"_s, QJsonDocument(command).toJson(QJsonDocument::Compact));
}

bool DemoService::pushAction(const QString& page, const QString& action, const QJsonArray& args) const {
    return pushCommand({{u"page"_s, page}, {u"action"_s, action}, {u"args"_s, args}});
}

int DemoService::requestCount(const QString& path) const {
    int count = 0;
    for (const QJsonValue request : requests())
        count += request[u"path"_s].toString() == path ? 1 : 0;
    return count;
}

bool DemoService::setOutage(const QString& path, int status, int requests) const {
    const QJsonObject outage{{u"path"_s, path}, {u"status"_s, status}, {u"requests"_s, requests}};
    return post(u"/outage"_s, QJsonDocument(outage).toJson(QJsonDocument::Compact));
}

bool DemoService::reset() const {
    return post(u"/reset"_s, QByteArray());
}

bool DemoService::releaseDownloads(bool fail) const {
    return post(fail ? u"/release-downloads?fail"_s : u"/release-downloads"_s, QByteArray());
}

} // namespace quillo::e2e
