#include "tests/support/alert_fixtures.h"
#include "tests/support/e2e_harness.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kStartMs = 30000;
const QString kSignInTitle = u"Sign in"_s;
const QString kPopupTitle = u"Quillo notification"_s;

std::function<bool(const QJsonObject&)> reportOf(const QString& page, const QString& event,
                                                 qint64 afterMs = 0) {
    return [=](const QJsonObject& report) {
        return report[u"page"_s] == page && report[u"event"_s] == event &&
               report[u"time_ms"_s].toInteger() > afterMs;
    };
}

std::function<bool(const QJsonObject&)> consoleEvent(const QString& event, qint64 afterMs = 0) {
    return reportOf(u"console"_s, event, afterMs);
}

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

void shoot(const QString& name) {
    QDir().mkpath(u"/work/shots"_s);
    x11::screenshot(u"/work/shots/network-%1.png"_s.arg(name));
}

// Types a sign-in into the dialog that has the focus; Remember is the box after the password.
bool typeSignIn(x11::WindowId dialog, const QString& user, const QString& password, bool remember = false) {
    return x11::activate(dialog) && x11::typeText(user) && x11::key(u"Tab"_s) && x11::typeText(password) &&
           (!remember || (x11::key(u"Tab"_s) && x11::key(u"space"_s))) && x11::key(u"Return"_s);
}

bool listening(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(500);
}

} // namespace

class TestE2eNetwork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void signInAskedRefusedAndAccepted();
    void signInCancelledShowsThePanel();
    void proxySignIn();
    void rememberedSignInUsedOnTheNextStart();
    void untrustedCertificateShowsThePanel();
    void trustedCertificateLoads();

private:
    std::unique_ptr<QuilloProcess> startClient(const QString& address, const QStringList& engineFlags = {});
    bool trustDemoCertificate();

    std::unique_ptr<x11::WindowManager> m_windowManager;
    std::unique_ptr<DemoService> m_service;
    std::unique_ptr<ConfigHome> m_home;
    std::unique_ptr<PrivateBus> m_bus;
};

void TestE2eNetwork::initTestCase() {
    QVERIFY2(x11::displayAvailable(), "needs an X server that lets us in (run under xvfb-run)");
    m_windowManager = x11::startWindowManager();
    QVERIFY2(m_windowManager, "no window manager could be started (is openbox installed?)");
}

void TestE2eNetwork::init() {
    m_service = std::make_unique<DemoService>();
    QVERIFY2(m_service->start(true), qPrintable(m_service->errorString()));
    m_home = std::make_unique<ConfigHome>();
    // A bus of the test's own: no secret store on it unless a test starts one.
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(m_bus->start(), qPrintable(m_bus->errorString()));
}

void TestE2eNetwork::cleanup() {
    m_bus.reset();
    m_home.reset();
    m_service.reset();
}

std::unique_ptr<QuilloProcess> TestE2eNetwork::startClient(const QString& address,
                                                           const QStringList& engineFlags) {
    m_home->writeSettings(u"7"_s, address);
    auto quillo = std::make_unique<QuilloProcess>(*m_home, *m_service, engineFlags);
    quillo->setEnvironmentVariable(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus->address());
    if (!quillo->start())
        return nullptr;
    return quillo;
}

// Sign-in asked in the client's own dialog; a wrong password asks again, saying so; the right one
// loads the console. While the dialog waits, the chat popup and the old page keep running.
void TestE2eNetwork::signInAskedRefusedAndAccepted() {
    const auto quillo = startClient(m_service->baseUrl().toString() + u"/console?id="_s);
    QVERIFY(quillo);
    QUILLO_VERIFY(m_service->waitForReport(consoleEvent(u"version"_s), kStartMs), *quillo);
    // A second page in a window of its own, that must keep running while the console asks.
    QVERIFY(
        m_service->pushCommand({{u"call"_s, u"CB_OpenWindow"_s},
                                {u"page"_s, u"console"_s},
                                {u"args"_s, QJsonArray{m_service->baseUrl().toString() + u"/cases/web?id=7"_s,
                                                       100, 100, 500, 400, 0}}}));
    QUILLO_VERIFY(m_service->waitForReport(reportOf(u"case_web"_s, u"load"_s), kStartMs), *quillo);
    // The console moves on to an address behind sign-in, as after its session ended.
    QVERIFY(m_service->pushCommand({{u"page"_s, u"console"_s}, {u"navigate"_s, u"/signin/console?id=7"_s}}));
    const auto dialog = x11::findWindowByTitle(kSignInTitle, 20000);
    QUILLO_VERIFY(dialog, *quillo);
    shoot(u"sign-in"_s);

    // While the question waits, the other page takes a command and raises the chat popup.
    QElapsedTimer roundTrip;
    roundTrip.start();
    const qint64 pushedAt = nowMs();
    QVERIFY(m_service->pushCommand({{u"page"_s, u"case_web"_s},
                                    {u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                    {u"args"_s, QJsonArray{u"Ann|Hello|1 min|Sales"_s, 1}}}));
    const auto called = m_service->waitForReport(reportOf(u"case_web"_s, u"called"_s, pushedAt), 10000);
    QUILLO_VERIFY(called, *quillo);
    qInfo("with the sign-in dialog open: a command to the other page answered in %lld ms",
          qint64(roundTrip.elapsed()));
    QUILLO_VERIFY(x11::findWindowByTitle(kPopupTitle, 5000), *quillo);
    QVERIFY(x11::findWindowByTitle(kSignInTitle, 0));

    QVERIFY(typeSignIn(*dialog, u"operator"_s, u"wrong"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(quillo->output().contains(u"was refused; asking again"_s),
                              qPrintable(quillo->output()), 20000);
    const auto again = x11::findWindowByTitle(kSignInTitle, 10000);
    QUILLO_VERIFY(again, *quillo);
    shoot(u"sign-in-refused"_s);

    const qint64 answeredAt = nowMs();
    QVERIFY(typeSignIn(*again, u"operator"_s, u"s3cret"_s));
    QUILLO_VERIFY(m_service->waitForReport(consoleEvent(u"version"_s, answeredAt), 20000), *quillo);
    QUILLO_VERIFY(m_service->waitForRequest(
                      [](const QJsonObject& r) {
                          return r[u"path"_s] == u"/signin/console"_s && r[u"signed_in"_s] == u"operator"_s;
                      },
                      0),
                  *quillo);
    // Nothing was typed into a plain file.
    QDirIterator files(m_home->root(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QVERIFY2(!readFile(path).contains("s3cret"), qPrintable(path));
    }
}

// Cancel leaves the service's answer page under the client's panel, which offers to sign in again.
void TestE2eNetwork::signInCancelledShowsThePanel() {
    const auto quillo = startClient(m_service->baseUrl().toString() + u"/signin/console?id="_s);
    QVERIFY(quillo);
    const auto dialog = x11::findWindowByTitle(kSignInTitle, kStartMs);
    QUILLO_VERIFY(dialog, *quillo);
    QVERIFY(x11::activate(*dialog));
    QVERIFY(x11::key(u"Escape"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(quillo->output().contains(u"cancelled by the operator"_s),
                              qPrintable(quillo->output()), 10000);
    const QString panel = u"waiting page: Sign-in cancelled - Sign-in to %1 was cancelled."_s.arg(
        m_service->baseUrl().toString());
    QTRY_VERIFY2_WITH_TIMEOUT(quillo->output().contains(panel), qPrintable(quillo->output()), 10000);
    // The service's answer page stays under the panel, and nothing gave up on it.
    QTest::qWait(1000);
    shoot(u"sign-in-cancelled"_s);
    QVERIFY2(!quillo->output().contains(u"TOO_MANY_RETRIES"_s), qPrintable(quillo->output()));
    // No credentials were sent, not even empty ones.
    QVERIFY(
        !m_service->waitForRequest([](const QJsonObject& r) { return r[u"authorization"_s].toBool(); }, 0));
    QCOMPARE(m_service->requestCount(u"/signin/console"_s), 1);
}

// A proxy that asks for sign-in (tinyproxy with BasicAuth) gets the same dialog, naming the proxy.
void TestE2eNetwork::proxySignIn() {
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 proxyPort = probe.serverPort();
    probe.close();
    QTemporaryDir dir;
    const QString config = dir.filePath(u"tinyproxy.conf"_s);
    QVERIFY(writeFile(config,
                      "Port " + QByteArray::number(proxyPort) +
                          "\nListen 127.0.0.1\nTimeout 60\nBasicAuth operator s3cret\nLogLevel Connect\n"));
    QProcess tinyproxy;
    endWithParent(tinyproxy);
    tinyproxy.setProcessChannelMode(QProcess::MergedChannels);
    tinyproxy.start(u"tinyproxy"_s, {u"-d"_s, u"-c"_s, config});
    QVERIFY2(tinyproxy.waitForStarted(5000), "tinyproxy is missing (Debian's tinyproxy)");
    QTRY_VERIFY_WITH_TIMEOUT(listening(proxyPort), 5000);

    // Loopback addresses go through the proxy too, here, so the proxy reaches the demo service.
    const QString rules =
        u"--host-resolver-rules="_s + m_service->hostResolverRules() + u", EXCLUDE 127.0.0.1"_s;
    const auto quillo = startClient(m_service->baseUrl().toString() + u"/console?id="_s,
                                    {rules, u"--proxy-server=http://127.0.0.1:%1"_s.arg(proxyPort),
                                     u"--proxy-bypass-list=<-loopback>"_s});
    QVERIFY(quillo);
    const auto dialog = x11::findWindowByTitle(u"Proxy sign-in"_s, kStartMs);
    QUILLO_VERIFY(dialog, *quillo);
    QVERIFY2(quillo->output().contains(u"sign-in for proxy 127.0.0.1"_s), qPrintable(quillo->output()));
    shoot(u"proxy-sign-in"_s);
    QVERIFY(typeSignIn(*dialog, u"operator"_s, u"s3cret"_s));
    QUILLO_VERIFY(m_service->waitForReport(consoleEvent(u"version"_s), 20000), *quillo);
    QVERIFY(tinyproxy.readAll().contains(
        "GET http://127.0.0.1:%1/console"_ba.replace("%1", QByteArray::number(m_service->port()))));
    tinyproxy.terminate();
    tinyproxy.waitForFinished(5000);
}

// "Remember" keeps the sign-in in the desktop's secret store; the next start signs in with it.
void TestE2eNetwork::rememberedSignInUsedOnTheNextStart() {
    // gnome-keyring's secret service on the test's own bus, its keyrings in the test's home.
    QProcess keyring;
    endWithParent(keyring);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus->address());
    environment.insert(u"XDG_DATA_HOME"_s, m_home->dataDir());
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_home->root());
    keyring.setProcessEnvironment(environment);
    keyring.start(u"gnome-keyring-daemon"_s, {u"--foreground"_s, u"--unlock"_s, u"--components=secrets"_s});
    QVERIFY2(keyring.waitForStarted(5000), "gnome-keyring-daemon is missing (Debian's gnome-keyring)");
    keyring.write("test-password");
    keyring.closeWriteChannel();

    const QString address = m_service->baseUrl().toString() + u"/signin/console?id="_s;
    {
        const auto quillo = startClient(address);
        QVERIFY(quillo);
        const auto dialog = x11::findWindowByTitle(kSignInTitle, kStartMs);
        QUILLO_VERIFY(dialog, *quillo);
        QVERIFY(typeSignIn(*dialog, u"operator"_s, u"s3cret"_s, true));
        QUILLO_VERIFY(m_service->waitForReport(consoleEvent(u"version"_s), 20000), *quillo);
        QTRY_VERIFY2_WITH_TIMEOUT(quillo->output().contains(u"remembered in the secret store"_s),
                                  qPrintable(quillo->output()), 10000);
        quillo->terminate();
        QVERIFY(quillo->waitForExit(20000));
    }
    QVERIFY(m_service->reset());
    const auto quillo = startClient(address);
    QVERIFY(quillo);
    QUILLO_VERIFY(m_service->waitForReport(consoleEvent(u"version"_s), kStartMs), *quillo);
    QVERIFY2(quillo->output().contains(u"remembered sign-in offered to"_s), qPrintable(quillo->output()));
    QVERIFY(!x11::findWindowByTitle(kSignInTitle, 0));
    keyring.terminate();
    keyring.waitForFinished(5000);
}

// The demo's self-signed certificate: refused with the panel naming the problem and fingerprint.
void TestE2eNetwork::untrustedCertificateShowsThePanel() {
    const auto quillo = startClient(u"https://chat.example/console?id="_s);
    QVERIFY(quillo);
    QTRY_VERIFY2_WITH_TIMEOUT(
        quillo->output().contains(u"waiting page: Can't trust the chat service's certificate"_s),
        qPrintable(quillo->output()), kStartMs);
    QTest::qWait(1000);
    shoot(u"certificate-refused"_s);
    const QString what = quillo->output().section(u"waiting page: "_s, 1).section(u'\n', 0, 0);
    QVERIFY2(
        what.contains(u"chat.example presented a certificate from an issuer this computer does not trust."_s),
        qPrintable(what));
    // The fingerprint as openssl reads it from the demo's certificate.
    QProcess openssl;
    openssl.start(u"openssl"_s, {u"x509"_s, u"-noout"_s, u"-fingerprint"_s, u"-sha256"_s, u"-in"_s,
                                 m_service->certificatePath()});
    QVERIFY(openssl.waitForFinished(10000));
    const QString fingerprint =
        QString::fromLatin1(openssl.readAllStandardOutput()).section(u'=', 1).trimmed();
    QCOMPARE(fingerprint.size(), 95);
    QVERIFY2(what.contains(fingerprint), qPrintable(what));
    QVERIFY2(quillo->output().contains(u"refused ( untrusted issuer"_s), qPrintable(quillo->output()));
    QVERIFY(!m_service->waitForReport(consoleEvent(u"load"_s), 0));
}

void TestE2eNetwork::trustedCertificateLoads() {
    QVERIFY(trustDemoCertificate());
    const auto quillo = startClient(u"https://chat.example/console?id="_s);
    QVERIFY(quillo);
    const auto loaded = m_service->waitForReport(consoleEvent(u"version"_s), kStartMs);
    QUILLO_VERIFY(loaded, *quillo);
    QCOMPARE(loaded->value(u"scheme"_s).toString(), u"https"_s);
    QVERIFY2(quillo->output().contains(u"accepted: the administrator trusts"_s),
             qPrintable(quillo->output()));
}

bool TestE2eNetwork::trustDemoCertificate() {
    QProcess setup;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, m_home->configDir());
    setup.setProcessEnvironment(environment);
    setup.start(QStringLiteral(QUILLO_SETUP_PATH), {u"--trust-certificate"_s, m_service->certificatePath()});
    return setup.waitForFinished(10000) && setup.exitCode() == 0;
}

QTEST_MAIN(TestE2eNetwork)
#include "test_e2e_network.moc"
