#include "tests/support/e2e_harness.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace quillo::e2e {

namespace {

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

} // namespace

QuilloProcess::QuilloProcess(const ConfigHome& home, const DemoService& service,
                             const QStringList& extraChromiumFlags)
    : m_home(home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, home.configDir());
    environment.insert(u"XDG_DATA_HOME"_s, home.dataDir());
    environment.insert(u"XDG_CACHE_HOME"_s, home.cacheDir());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    // Never the developer's own desktop session: a test client would register with it.
    environment.remove(u"SESSION_MANAGER"_s);
    // Nor a launch of the developer's desktop; a test that wants one sets it.
    environment.remove(u"DESKTOP_STARTUP_ID"_s);
    environment.remove(u"XDG_ACTIVATION_TOKEN"_s);
    // Chromium's sandbox cannot run as root; anywhere else it stays on.
    if (::geteuid() == 0)
        environment.insert(u"QTWEBENGINE_DISABLE_SANDBOX"_s, u"1"_s);
    else
        environment.remove(u"QTWEBENGINE_DISABLE_SANDBOX"_s);
    QStringList flags = {u"--disable-gpu"_s, u"--disable-background-networking"_s,
                         u"--host-resolver-rules="_s + service.hostResolverRules()};
    flags += extraChromiumFlags;
    // QtWebEngine splits this variable at spaces but keeps double-quoted stretches together.
    for (QString& flag : flags) {
        if (flag.contains(u' '))
            flag = u'"' + flag + u'"';
    }
    environment.insert(u"QTWEBENGINE_CHROMIUM_FLAGS"_s, flags.join(u' '));
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(quilloBinary());
    endWithParent(m_process);
    m_process.setWorkingDirectory(home.root());
    m_process.setStandardOutputFile(home.root() + u"/quillo.stdout"_s);
    m_process.setStandardErrorFile(home.root() + u"/quillo.stderr"_s);
}

QuilloProcess::~QuilloProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    // A failure's message is cut at QtTest's 1,024 characters, which hid the end of the client's
    // log: the whole of it goes with a failed test.
    if (QTest::currentTestFailed())
        qWarning().noquote() << "the client's whole output:\n" << output();
}

void QuilloProcess::setEnvironmentVariable(const QString& name, const QString& value) {
    QProcessEnvironment environment = m_process.processEnvironment();
    environment.insert(name, value);
    m_process.setProcessEnvironment(environment);
}

void QuilloProcess::setWorkingDirectory(const QString& path) {
    m_process.setWorkingDirectory(path);
}

bool QuilloProcess::start() {
    m_process.start();
    return m_process.waitForStarted(10000);
}

bool QuilloProcess::waitForExit(int ms) {
    if (m_process.state() == QProcess::NotRunning)
        return true;
    return m_process.waitForFinished(ms);
}

bool QuilloProcess::isRunning() const {
    return m_process.state() != QProcess::NotRunning;
}

int QuilloProcess::exitCode() const {
    return m_process.exitCode();
}

QProcess::ExitStatus QuilloProcess::exitStatus() const {
    return m_process.exitStatus();
}

qint64 QuilloProcess::pid() const {
    return m_process.processId();
}

void QuilloProcess::terminate() {
    m_process.terminate();
}

void QuilloProcess::kill() {
    m_process.kill();
}

QString QuilloProcess::output() const {
    return u"--- quillo stdout ---\n"_s + readAll(m_home.root() + u"/quillo.stdout"_s) +
           u"--- quillo stderr ---\n"_s + readAll(m_home.root() + u"/quillo.stderr"_s);
}

} // namespace quillo::e2e
