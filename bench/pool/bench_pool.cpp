#include "tests/support/e2e_harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QThread>
#include <QUrlQuery>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

constexpr int kWindows = 100;
constexpr int kLoadTimeoutMs = 30000;
// Lets renderers finish their start-up allocations before memory is read.
constexpr int kSettleMs = 3000;
const QString kStorePath = u"/store/free-live-chat-software.asp"_s;

struct Result {
    QString name;
    QList<qint64> openMs;
    qint64 pssKb = 0;
    int processes = 0;
    int loaded = 0;
};

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QString tagOf(const QJsonObject& report) {
    return QUrlQuery(QUrl(report.value(u"href"_s).toString())).queryItemValue(u"w"_s);
}

std::optional<QJsonObject> waitForLoad(const DemoService& service, const QString& tag) {
    return service.waitForReport(
        [&](const QJsonObject& r) {
            return r.value(u"event"_s).toString() == u"load" && r.value(u"page"_s).toString() == u"store" &&
                   tagOf(r) == tag;
        },
        kLoadTimeoutMs);
}

// The largest members of a process tree by PSS, for seeing where the memory goes.
QString breakdown(qint64 root) {
    QList<std::pair<qint64, QString>> members;
    for (const qint64 pid : processTreePids(root)) {
        QFile rollup(u"/proc/%1/smaps_rollup"_s.arg(pid));
        QFile comm(u"/proc/%1/cmdline"_s.arg(pid));
        if (!rollup.open(QIODevice::ReadOnly) || !comm.open(QIODevice::ReadOnly))
            continue;
        qint64 pss = 0;
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:"))
                pss = line.mid(4).trimmed().split(' ').first().toLongLong();
        }
        QByteArray command = comm.readAll().replace('\0', ' ');
        const qsizetype type = command.indexOf("--type=");
        const QByteArray kind = type >= 0 ? command.mid(type, command.indexOf(' ', type) - type) : "main";
        members.append({pss, QString::fromLatin1(kind)});
    }
    std::sort(members.begin(), members.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList parts;
    for (qsizetype i = 0; i < std::min<qsizetype>(members.size(), 6); ++i)
        parts << u"%1 %2 MB"_s.arg(members.at(i).second).arg(double(members.at(i).first) / 1024.0, 0, 'f', 1);
    return parts.join(u", "_s);
}

qint64 median(QList<qint64> values) {
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 != 0 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

qint64 percentile(QList<qint64> values, int percent) {
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values.at(std::min<qsizetype>(values.size() - 1, values.size() * percent / 100));
}

QString storeUrl(const DemoService& service, const QString& run, int index) {
    // The windows take no commands, so they hold no long poll open (see common.js).
    return service.baseUrl().toString() + kStorePath + u"?w="_s + run + QString::number(index) + u"&nopoll"_s;
}

// The client's windows, each opened by the console page through CB_OpenWindow, one after another.
// The time is the demo service's, from the console's report just before the call to the new
// window's load report.
Result runQuillo(const QString& name, const QString& run, DemoService& service, const QStringList& flags) {
    Result result{name, {}, 0, 0, 0};
    ConfigHome home;
    home.writeSettings(u"12345"_s, service.baseUrl().toString() + u"/console?id="_s);
    service.reset();
    QuilloProcess quillo(home, service, flags);
    if (!quillo.start()) {
        out() << name << ": quillo did not start\n";
        return result;
    }
    const auto console = service.waitForReport(
        [](const QJsonObject& r) {
            return r.value(u"event"_s).toString() == u"load" && r.value(u"page"_s).toString() == u"console";
        },
        60000);
    if (!console) {
        out() << name << ": the console did not load\n" << quillo.output();
        return result;
    }

    for (int i = 0; i < kWindows; ++i) {
        const QString url = storeUrl(service, run, i);
        // Cascaded, as pages tend to place them, and all on screen.
        const int x = 20 + (i % 20) * 40;
        const int y = 20 + (i % 10) * 40;
        service.pushCommand(QJsonObject{{u"page"_s, u"console"_s},
                                        {u"call"_s, u"CB_OpenWindow"_s},
                                        {u"args"_s, QJsonArray{url, x, y, 400, 300, 0}}});
        const auto load = waitForLoad(service, run + QString::number(i));
        const auto calling = service.waitForReport(
            [&](const QJsonObject& r) {
                return r.value(u"event"_s).toString() == u"calling" &&
                       r.value(u"args"_s).toArray().first().toString() == url;
            },
            1000);
        if (!load || !calling) {
            out() << name << ": window " << i << " did not load\n";
            break;
        }
        ++result.loaded;
        result.openMs.append(load->value(u"time_ms"_s).toInteger() -
                             calling->value(u"time_ms"_s).toInteger());
    }
    QTest::qWait(kSettleMs);
    result.pssKb = processTreePss(quillo.pid());
    out() << name << " largest: " << breakdown(quillo.pid()) << '\n';
    result.processes = int(processTreePids(quillo.pid()).size());
    quillo.terminate();
    if (!quillo.waitForExit(15000))
        quillo.kill();
    return result;
}

// One Chromium instance; every further --app invocation hands its window to it and exits. The
// time runs from starting the invocation to the window's load report, so it includes starting a
// short-lived chromium process and is shown for reference only.
Result runChromium(const QString& run, DemoService& service) {
    Result result{u"chromium --app, one instance"_s, {}, 0, 0, 0};
    QTemporaryDir profile;
    service.reset();
    const QStringList common = {u"--no-sandbox"_s,
                                u"--disable-gpu"_s,
                                u"--user-data-dir="_s + profile.path(),
                                u"--no-first-run"_s,
                                u"--disable-background-networking"_s,
                                u"--window-size=400,300"_s};
    QProcess browser;
    browser.setStandardOutputFile(QProcess::nullDevice());
    browser.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    for (int i = 0; i < kWindows; ++i) {
        const QStringList arguments = common + QStringList{u"--app="_s + storeUrl(service, run, i)};
        clock.start();
        if (i == 0) {
            browser.start(u"chromium"_s, arguments);
            if (!browser.waitForStarted(10000)) {
                out() << "chromium did not start\n";
                return result;
            }
        } else {
            QProcess invocation;
            invocation.setStandardOutputFile(QProcess::nullDevice());
            invocation.setStandardErrorFile(QProcess::nullDevice());
            invocation.start(u"chromium"_s, arguments);
            invocation.waitForFinished(20000);
        }
        if (!waitForLoad(service, run + QString::number(i))) {
            out() << "chromium window " << i << " did not load\n";
            break;
        }
        ++result.loaded;
        result.openMs.append(clock.elapsed());
    }
    QTest::qWait(kSettleMs);
    const QList<qint64> tree = processTreePids(browser.processId());
    result.pssKb = processTreePss(browser.processId());
    out() << "chromium largest: " << breakdown(browser.processId()) << '\n';
    result.processes = int(tree.size());
    browser.terminate();
    if (!browser.waitForFinished(15000))
        browser.kill();
    browser.waitForFinished(5000);
    // Helpers that outlived their browser are ours too; end them by their ids.
    for (const qint64 pid : tree) {
        if (pid != browser.processId() && QDir(u"/proc/%1"_s.arg(pid)).exists())
            ::kill(pid_t(pid), SIGKILL);
    }
    return result;
}

void print(const Result& r) {
    out() << qSetFieldWidth(56) << Qt::left << r.name << qSetFieldWidth(0) << qSetFieldWidth(8) << Qt::right
          << r.loaded << qSetFieldWidth(12) << median(r.openMs) << percentile(r.openMs, 90)
          << qSetFieldWidth(12) << QString::number(double(r.pssKb) / 1024.0, 'f', 1) << qSetFieldWidth(11)
          << r.processes << qSetFieldWidth(0) << '\n';
    out().flush();
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const bool withWm = !QCoreApplication::arguments().contains(u"--no-wm"_s);
    std::unique_ptr<x11::WindowManager> wm;
    if (withWm)
        wm = x11::startWindowManager();

    DemoService service;
    if (!service.start()) {
        out() << "demo service: " << service.errorString() << '\n';
        return 1;
    }

    // Each configuration by its key; "--only=key,key" runs a few of them.
    struct Configuration {
        QString key;
        QString name;
        QStringList flags;
        // Qt Quick's software renderer for the views, instead of one OpenGL context per view.
        bool softwareQuick = false;
    };
    const QList<Configuration> configurations = {
        {u"default"_s, u"quillo as built"_s, {}, false},
        {u"persite"_s, u"quillo, --process-per-site"_s, {u"--process-per-site"_s}, false},
        {u"sw"_s, u"quillo, software Quick"_s, {}, true},
        {u"sw-persite"_s, u"quillo, software Quick, --process-per-site"_s, {u"--process-per-site"_s}, true},
        {u"sw-limit4"_s,
         u"quillo, software Quick, --renderer-process-limit=4"_s,
         {u"--renderer-process-limit=4"_s},
         true},
        {u"sw-limit8"_s,
         u"quillo, software Quick, --renderer-process-limit=8"_s,
         {u"--renderer-process-limit=8"_s},
         true},
        {u"sw-limit16"_s,
         u"quillo, software Quick, --renderer-process-limit=16"_s,
         {u"--renderer-process-limit=16"_s},
         true},
    };
    // Without --only: the client as built, the three worth choosing between, and Chromium.
    QStringList only = {u"default"_s, u"sw-persite"_s, u"sw-limit8"_s, u"sw-limit16"_s, u"chromium"_s};
    for (const QString& argument : QCoreApplication::arguments()) {
        if (argument.startsWith(u"--only="_s))
            only = argument.mid(7).split(u',');
    }
    const QByteArray quickBackend = qgetenv("QT_QUICK_BACKEND");
    QList<Result> results;
    for (const Configuration& configuration : configurations) {
        if (!only.contains(configuration.key))
            continue;
        // The client inherits this process's environment.
        if (configuration.softwareQuick)
            qputenv("QT_QUICK_BACKEND", "software");
        else if (quickBackend.isNull())
            qunsetenv("QT_QUICK_BACKEND");
        else
            qputenv("QT_QUICK_BACKEND", quickBackend);
        results.append(runQuillo(configuration.name, configuration.key, service, configuration.flags));
    }
    if (only.contains(u"chromium"_s))
        results.append(runChromium(u"chromium"_s, service));
    for (const Result& r : results)
        out() << r.name << ": " << [&] {
            QStringList times;
            for (const qint64 ms : r.openMs)
                times << QString::number(ms);
            return times.join(u' ');
        }() << '\n';

    out() << '\n' << kWindows << " windows on one site, opened one after another\n";
    out() << qSetFieldWidth(56) << Qt::left << "" << qSetFieldWidth(8) << Qt::right << "loaded"
          << qSetFieldWidth(12) << "median ms"
          << "p90 ms"
          << "PSS MB" << qSetFieldWidth(11) << "processes" << qSetFieldWidth(0) << '\n';
    for (const Result& r : results)
        print(r);
    const auto chromium = std::find_if(results.cbegin(), results.cend(),
                                       [](const Result& r) { return r.name.startsWith(u"chromium"_s); });
    for (const Result& r : results) {
        if (chromium == results.cend() || &r == &*chromium)
            continue;
        const double ratio = chromium->pssKb > 0 ? double(r.pssKb) / double(chromium->pssKb) : 0.0;
        out() << r.name << ": memory " << QString::number(ratio, 'f', 2)
              << " x chromium's (target <= 0.50), median " << median(r.openMs) << " ms (target < 150)\n";
    }
    return 0;
}
