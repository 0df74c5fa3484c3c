// How long a chat request takes to reach the screen while the operator is asked where to save a
// download, against the same with no download: from the moment the request is queued for the
// console to the popup's first visible frame, as the operator sees it.

#include "tests/support/e2e_harness.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QJsonArray>
#include <QRect>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

const QString kPopupTitle = u"Quillo notification"_s;
const QString kSaveTitle = u"Save download"_s;
constexpr int kGiveUpMs = 15000;

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

bool isPageEvent(const QJsonObject& report, const QString& event) {
    return report.value(u"page"_s).toString() == u"case_web" && report.value(u"event"_s).toString() == event;
}

// A click in the page first, as the operator's own: a page whose download was declined gets no
// question for one it starts by itself.
bool startDownload(DemoService& service, x11::WindowId main, int n) {
    const QPoint inPage = x11::clientGeometry(main).center();
    // xdotool waits for the pointer to move before it clicks.
    if (!x11::moveMouse(inPage.x(), inPage.y() - 40) || !x11::click(inPage.x(), inPage.y()))
        return false;
    if (!service.waitForReport([](const QJsonObject& r) { return isPageEvent(r, u"pressed"_s); }, 10000))
        return false;
    return service.pushCommand({{u"page"_s, u"case_web"_s},
                                {u"action"_s, u"download"_s},
                                {u"args"_s, QJsonArray{u"transcript %1.txt"_s.arg(n)}}}) &&
           x11::findWindowByTitle(kSaveTitle, 20000).has_value();
}

// Raises one chat request; the delay to the popup's first visible frame, or none within kGiveUpMs.
std::optional<qint64> measure(DemoService& service, std::optional<x11::WindowId>& popup, int n) {
    const qint64 queued = nowMs();
    if (!service.pushCommand({{u"page"_s, u"case_web"_s},
                              {u"call"_s, u"CB_CustomFunctionWithParams"_s},
                              {u"args"_s, QJsonArray{u"Visitor %1|Question %1|1 min|Sales"_s.arg(n), 1}}}))
        return std::nullopt;
    while (nowMs() < queued + kGiveUpMs) {
        if (!popup)
            popup = x11::findWindowByTitle(kPopupTitle, 0);
        if (popup && x11::isViewable(*popup))
            return nowMs() - queued;
        QThread::usleep(500);
    }
    return std::nullopt;
}

// Closes any question and declines the popup once it has risen, so the next round starts clean.
// A popup held up by the question comes once the question has gone.
void settle(std::optional<x11::WindowId>& popup) {
    for (const x11::WindowId question : x11::windowsByTitle(kSaveTitle)) {
        x11::activate(question);
        x11::key(u"Escape"_s);
    }
    if (!QTest::qWaitFor([] { return x11::windowsByTitle(kSaveTitle).isEmpty(); }, 10000))
        std::fprintf(stderr, "a save question stayed open\n");
    for (const x11::WindowId notice : x11::windowsByTitle(u"Download"_s))
        x11::requestClose(notice);
    if (!popup || !x11::isViewable(*popup))
        popup = x11::findWindowByTitle(kPopupTitle, 10000);
    if (!popup)
        return;
    // Risen once its place stops changing.
    QRect geometry = x11::clientGeometry(*popup);
    for (int still = 0; still < 3;) {
        QTest::qWait(100);
        const QRect now = x11::clientGeometry(*popup);
        still = now == geometry ? still + 1 : 0;
        geometry = now;
    }
    // xdotool waits for the pointer to move before it clicks, and the last round left it there.
    x11::moveMouse(geometry.left() + 140, geometry.top() + 60);
    x11::click(geometry.left() + 140, geometry.top() + 100);
    if (!QTest::qWaitFor([&] { return !x11::isViewable(*popup); }, 5000))
        std::fprintf(stderr, "the popup stayed up\n");
}

void summary(const char* what, std::vector<qint64> delays, int missed) {
    if (delays.empty()) {
        std::printf("%s: no popup within %d ms in %d runs\n", what, kGiveUpMs, missed);
        return;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("%s: min %lld ms, median %lld ms, max %lld ms over %zu runs", what, (long long)delays.front(),
                (long long)delays[delays.size() / 2], (long long)delays.back(), delays.size());
    if (missed > 0)
        std::printf(", and %d runs with no popup within %d ms", missed, kGiveUpMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 5;

    auto wm = x11::startWindowManager();
    DemoService service;
    if (!service.start()) {
        std::fprintf(stderr, "demo service: %s\n", qPrintable(service.errorString()));
        return 1;
    }
    ConfigHome home;
    home.writeSettings(u"12345"_s, service.baseUrl().toString() + u"/cases/web?id="_s);
    QuilloProcess quillo(home, service);
    quillo.setEnvironmentVariable(u"HOME"_s, home.root());
    const auto loaded = [&] {
        return service.waitForReport([](const QJsonObject& r) { return isPageEvent(r, u"load"_s); }, 60000);
    };
    if (!quillo.start() || !loaded()) {
        std::fprintf(stderr, "quillo did not load the page\n%s\n", qPrintable(quillo.output()));
        return 1;
    }
    const auto main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    if (!main) {
        std::fprintf(stderr, "no main window\n");
        return 1;
    }

    std::optional<x11::WindowId> popup;
    std::vector<qint64> plain;
    std::vector<qint64> asking;
    int plainMissed = 0;
    int askingMissed = 0;
    // Round 0 warms up fonts and the popup's first mapping, and is not counted.
    for (int n = 0; n <= runs; ++n) {
        service.reset();
        const auto delay = measure(service, popup, n);
        if (n > 0)
            delay ? plain.push_back(*delay) : void(++plainMissed);
        settle(popup);

        service.reset();
        if (!startDownload(service, *main, n)) {
            std::fprintf(stderr, "round %d: no save question\n%s\n", n, qPrintable(quillo.output()));
            return 1;
        }
        const auto whileAsking = measure(service, popup, n);
        if (n > 0) {
            whileAsking ? asking.push_back(*whileAsking) : void(++askingMissed);
            std::printf("  round %d: %lld ms with no download, %lld ms with the save question open\n", n,
                        (long long)(delay ? *delay : -1), (long long)(whileAsking ? *whileAsking : -1));
        }
        settle(popup);
    }
    summary("chat request to popup, no download", plain, plainMissed);
    summary("chat request to popup, save question open", asking, askingMissed);

    quillo.terminate();
    quillo.waitForExit(10000);
    return 0;
}
