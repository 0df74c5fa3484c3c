// Measures, for quillo and for Chromium in app mode on the same demo page:
//   load: from process start to the page's load report reaching the demo service;
//   pss:  the summed PSS of the whole process tree 3 s after that.
// Every run starts from a fresh profile. Runs alternate between the two programs, after one
// discarded warm-up of each, so disk caches favour neither.

#include "tests/support/e2e_harness.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace quillo::e2e;

namespace {

constexpr int kLoadTimeoutMs = 60000;
constexpr int kSettleMs = 3000;

struct Sample {
    qint64 requestMs = 0; // when the page itself was asked for: the browser engine is up
    qint64 loadMs = 0;
    qint64 pssKb = 0;
};

// Chromium's launcher is a shell script and the browser forks helpers: end them all.
void killTree(qint64 pid) {
    const QList<qint64> tree = processTreePids(pid);
    for (const qint64 member : tree)
        ::kill(pid_t(member), SIGKILL);
}

bool isLoad(const QJsonObject& report) {
    return report.value(u"event"_s).toString() == u"load"_s;
}

std::optional<Sample> measureLoaded(const DemoService& service, qint64 startedMs, qint64 pid) {
    const auto load = service.waitForReport(isLoad, kLoadTimeoutMs);
    if (!load)
        return std::nullopt;
    Sample sample;
    sample.loadMs = qint64(load->value(u"time_ms"_s).toDouble()) - startedMs;
    const auto request = service.waitForRequest(
        [](const QJsonObject& entry) { return entry.value(u"path"_s).toString() == u"/console"_s; }, 0);
    sample.requestMs = request ? qint64(request->value(u"time_ms"_s).toDouble()) - startedMs : -1;
    QTest::qWait(kSettleMs);
    sample.pssKb = processTreePss(pid);
    return sample;
}

std::optional<Sample> runQuillo(const DemoService& service, const QString& pageBase) {
    service.reset();
    ConfigHome home;
    home.writeSettings(u"12345"_s, pageBase);
    QuilloProcess quillo(home, service);
    const qint64 startedMs = QDateTime::currentMSecsSinceEpoch();
    if (!quillo.start())
        return std::nullopt;
    const auto sample = measureLoaded(service, startedMs, quillo.pid());
    if (!sample)
        std::fprintf(stderr, "quillo never reported a load:\n%s\n", qPrintable(quillo.output()));
    killTree(quillo.pid());
    quillo.waitForExit(5000);
    return sample;
}

std::optional<Sample> runChromium(const DemoService& service, const QString& page) {
    service.reset();
    QTemporaryDir profile;
    QProcess chromium;
    chromium.setStandardOutputFile(QProcess::nullDevice());
    chromium.setStandardErrorFile(profile.filePath(u"stderr.txt"_s));
    chromium.setProgram(u"chromium"_s);
    endWithParent(chromium);
    chromium.setArguments({u"--app="_s + page, u"--user-data-dir="_s + profile.path(), u"--no-first-run"_s,
                           u"--disable-gpu"_s, u"--no-sandbox"_s, u"--disable-background-networking"_s,
                           u"--disable-component-update"_s, u"--disable-sync"_s});
    const qint64 startedMs = QDateTime::currentMSecsSinceEpoch();
    chromium.start();
    if (!chromium.waitForStarted(10000)) {
        std::fprintf(stderr, "cannot start chromium: %s\n", qPrintable(chromium.errorString()));
        return std::nullopt;
    }
    const auto sample = measureLoaded(service, startedMs, chromium.processId());
    if (!sample)
        std::fprintf(stderr, "chromium never reported a load\n");
    killTree(chromium.processId());
    chromium.waitForFinished(5000);
    return sample;
}

qint64 median(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Start-up time and PSS of quillo against chromium --app."_s);
    parser.addHelpOption();
    const QCommandLineOption runsOption({u"n"_s, u"runs"_s}, u"Measured runs of each program."_s, u"N"_s,
                                        u"5"_s);
    parser.addOption(runsOption);
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());

    if (!x11::displayAvailable()) {
        std::fprintf(stderr, "needs an X display (see bench/startup/run.sh)\n");
        return 2;
    }
    DemoService service;
    if (!service.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(service.errorString()));
        return 1;
    }
    const QString pageBase = service.baseUrl().toString() + u"/console?id="_s;
    const QString page = pageBase + u"12345"_s;
    std::printf("page: %s\nruns: %d of each, after one warm-up of each\n\n", qPrintable(page), runs);
    std::printf("%-10s %5s %12s %10s %10s\n", "program", "run", "request ms", "load ms", "PSS MiB");

    std::vector<qint64> quilloLoad, quilloPss, chromiumLoad, chromiumPss;
    for (int run = 0; run <= runs; ++run) {
        const auto quillo = runQuillo(service, pageBase);
        const auto chromium = runChromium(service, page);
        if (!quillo || !chromium)
            return 1;
        const char* label = run == 0 ? "warm-up" : "";
        for (const auto& [name, sample] : {std::pair{"quillo", *quillo}, std::pair{"chromium", *chromium}}) {
            std::printf("%-10s %5d %12lld %10lld %10.1f %s\n", name, run,
                        static_cast<long long>(sample.requestMs), static_cast<long long>(sample.loadMs),
                        double(sample.pssKb) / 1024.0, label);
        }
        std::fflush(stdout);
        if (run == 0)
            continue;
        quilloLoad.push_back(quillo->loadMs);
        quilloPss.push_back(quillo->pssKb);
        chromiumLoad.push_back(chromium->loadMs);
        chromiumPss.push_back(chromium->pssKb);
    }

    const qint64 qLoad = median(quilloLoad), cLoad = median(chromiumLoad);
    const qint64 qPss = median(quilloPss), cPss = median(chromiumPss);
    std::printf("\nmedian load:  quillo %lld ms, chromium %lld ms\n", static_cast<long long>(qLoad),
                static_cast<long long>(cLoad));
    std::printf("median PSS:   quillo %.1f MiB, chromium %.1f MiB\n", double(qPss) / 1024.0,
                double(cPss) / 1024.0);
    const double loadRatio = double(qLoad) / double(cLoad);
    const double pssRatio = double(qPss) / double(cPss);
    std::printf("ratio load quillo/chromium: %.2f (target <= 0.70) %s\n", loadRatio,
                loadRatio <= 0.7 ? "met" : "NOT met");
    std::printf("ratio PSS  quillo/chromium: %.2f (target <= 0.80) %s\n", pssRatio,
                pssRatio <= 0.8 ? "met" : "NOT met");
    return 0;
}
