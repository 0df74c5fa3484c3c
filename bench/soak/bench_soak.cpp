#include "tests/support/e2e_harness.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <csignal>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

constexpr int kRequestEveryMs = 2000;
constexpr int kAcceptEvery = 3;
const QString kPopupTitle = u"Quillo notification"_s;
constexpr int kPopupRise = 130;

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

bool isEvent(const QJsonObject& report, const QString& event, qint64 afterMs = 0) {
    return report.value(u"event"_s).toString() == event && report.value(u"time_ms"_s).toInteger() > afterMs;
}

int countReports(const DemoService& service, const std::function<bool(const QJsonObject&)>& pred) {
    const QJsonArray reports = service.reports();
    return int(std::count_if(reports.begin(), reports.end(),
                             [&](const QJsonValue& v) { return pred(v.toObject()); }));
}

// Waits until the popup has risen its full height above the bottom of the work area (a new
// request starts its slide again), then clicks its accept area.
bool acceptPopup() {
    const auto popup = x11::findWindowByTitle(kPopupTitle, 3000);
    if (!popup)
        return false;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int risenTop = area.y() + area.height() - kPopupRise;
    QElapsedTimer waited;
    waited.start();
    while (x11::clientGeometry(*popup).top() != risenTop) {
        if (waited.elapsed() > 4000)
            return false;
        QTest::qWait(20);
    }
    const QRect geometry = x11::clientGeometry(*popup);
    // A synced move to where the pointer already is waits for a motion that never comes.
    x11::moveMouse(geometry.left() + 10, geometry.top() + 10);
    return x11::click(geometry.left() + 60, geometry.top() + 100);
}

double median(QList<qint64> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? double(values[n / 2]) : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption minutesOption(u"minutes"_s, u"Length of the soak (default 30)."_s, u"N"_s,
                                           u"30"_s);
    const QCommandLineOption killsOption(u"kills"_s, u"Renderer kills to time (default 10)."_s, u"N"_s,
                                         u"10"_s);
    const QCommandLineOption gapOption(u"kill-gap"_s,
                                       u"Seconds the page stays up before each kill (default 61, past the "
                                       "client's stable minute, so every kill is a first one)."_s,
                                       u"S"_s, u"61"_s);
    parser.addOptions({minutesOption, killsOption, gapOption});
    parser.process(app);
    const int minutes = parser.value(minutesOption).toInt();
    const int kills = parser.value(killsOption).toInt();
    const int gapS = parser.value(gapOption).toInt();

    if (!x11::displayAvailable()) {
        out() << "needs an X display (run under xvfb-run)\n";
        return 2;
    }
    const auto windowManager = x11::startWindowManager();
    DemoService service;
    if (!service.start()) {
        out() << "demo service: " << service.errorString() << "\n";
        return 1;
    }
    ConfigHome home;
    home.writeSettings(u"7"_s, service.baseUrl().toString() + u"/console?id="_s);
    QuilloProcess quillo(home, service);
    if (!quillo.start() ||
        !service.waitForReport([](const QJsonObject& r) { return isEvent(r, u"version"_s); }, 30000)) {
        out() << "the console did not come up\n" << quillo.output();
        return 1;
    }
    // Past the renderers' start-up allocations, so growth is the shift's own.
    QTest::qWait(20000);
    const qint64 startPss = processTreePss(quillo.pid());

    out() << "## Soak: a visitor request every 2 s, every third accepted, " << minutes << " min\n\n";
    out() << "| minute | PSS MB | growth MB | requests sent | requests seen by the client | accepted |\n";
    out() << "|---|---|---|---|---|---|\n";
    out() << "| 0 | " << startPss / 1024 << " | 0 | 0 | 0 | 0 |\n";
    out().flush();
    const qint64 soakStart = nowMs();
    QElapsedTimer clock;
    clock.start();
    int sent = 0;
    int clicks = 0;
    int nextMinute = 1;
    const auto called = [&](const QJsonObject& r) {
        return isEvent(r, u"called"_s, soakStart) &&
               r.value(u"call"_s).toString() == u"CB_CustomFunctionWithParams"_s &&
               r.value(u"error"_s).isNull();
    };
    const auto accepted = [&](const QJsonObject& r) {
        return isEvent(r, u"accepted"_s, soakStart);
    };
    qint64 maxGrowthKb = 0;
    while (clock.elapsed() < qint64(minutes) * 60000) {
        const qint64 due = qint64(sent) * kRequestEveryMs;
        if (clock.elapsed() < due)
            QTest::qWait(int(due - clock.elapsed()));
        const QString record = u"Visitor %1|Question number %1|1 min|Sales"_s.arg(sent + 1);
        service.pushCommand({{u"call"_s, u"CB_CustomFunctionWithParams"_s},
                             {u"args"_s, QJsonArray{record, 1}},
                             {u"page"_s, u"console"_s}});
        ++sent;
        if (sent % kAcceptEvery == 0 && acceptPopup())
            ++clicks;
        if (clock.elapsed() >= qint64(nextMinute) * 60000) {
            const qint64 pss = processTreePss(quillo.pid());
            maxGrowthKb = std::max(maxGrowthKb, pss - startPss);
            out() << "| " << nextMinute << " | " << pss / 1024 << " | " << (pss - startPss) / 1024 << " | "
                  << sent << " | " << countReports(service, called) << " | "
                  << countReports(service, accepted) << " |\n";
            out().flush();
            ++nextMinute;
        }
        if (!quillo.isRunning())
            break;
    }
    // The last popup hides by itself after its display time.
    QTest::qWait(14000);
    const int seen = countReports(service, called);
    const int acceptedCount = countReports(service, accepted);
    const bool popupLeft = x11::findWindowByTitle(kPopupTitle, 0).has_value();
    const qint64 endPss = processTreePss(quillo.pid());
    out() << "\nrequests sent " << sent << ", seen by the client " << seen << ", accept clicks " << clicks
          << ", accepted by the page " << acceptedCount
          << ", popup left on screen: " << (popupLeft ? "yes" : "no") << ", PSS growth at the end "
          << (endPss - startPss) / 1024 << " MB (largest " << maxGrowthKb / 1024
          << " MB), client running: " << (quillo.isRunning() ? "yes" : "no") << "\n\n";
    out().flush();

    out() << "## Recovery: renderer SIGKILL to the page's load report, " << kills << " kills, " << gapS
          << " s apart\n\n| kill | seconds |\n|---|---|\n";
    QList<qint64> times;
    for (int k = 1; k <= kills && quillo.isRunning(); ++k) {
        QTest::qWait(gapS * 1000);
        const QList<qint64> renderers = rendererPids(quillo.pid());
        const qint64 killedAt = nowMs();
        for (const qint64 pid : renderers)
            ::kill(pid_t(pid), SIGKILL);
        const auto load = service.waitForReport(
            [&](const QJsonObject& r) {
                return isEvent(r, u"load"_s, killedAt) && r.value(u"page"_s).toString() == u"console"_s;
            },
            120000);
        if (!load) {
            out() << "| " << k << " | no load within 120 s |\n";
            continue;
        }
        times.append(load->value(u"time_ms"_s).toInteger() - killedAt);
        out() << "| " << k << " | " << QString::number(times.last() / 1000.0, 'f', 2) << " |\n";
        out().flush();
    }
    out() << "\nmedian " << QString::number(median(times) / 1000.0, 'f', 2) << " s over " << times.size()
          << " kills (target under 2 s)\n";
    quillo.terminate();
    quillo.waitForExit(10000);
    return 0;
}
