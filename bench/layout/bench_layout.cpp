#include "main_window/chat_main_dlg.h"
#include "main_window/skin_layout.h"
#include "resources/resource_ids.h"
#include "resources/resource_loader.h"
#include "tests/support/e2e_harness.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace quillo;
using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

struct Stats {
    double median;
    double p95;
    double mean;
};

Stats statsOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (double s : samples)
        sum += s;
    return {samples[samples.size() / 2], samples[samples.size() * 95 / 100], sum / double(samples.size())};
}

// LayoutSkin alone, and LayoutSkin plus a synchronous repaint of the whole window, per step.
void benchInProcess() {
    QStandardPaths::setTestModeEnabled(true);
    volatile int sink = 0;
    QElapsedTimer timer;
    constexpr int kPureRuns = 1'000'000;
    timer.start();
    for (int i = 0; i < kPureRuns; ++i)
        sink = sink + LayoutSkin(800 + (i & 255), 600 + (i & 127), SkinPieceSizes{})[0].width;
    std::printf("pure layout: %.1f ns per run\n", double(timer.nsecsElapsed()) / kPureRuns);

    CChatMainDlg dialog;
    dialog.OnInitDialog();
    dialog.resize(804, 778);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        std::printf("window not exposed; figures below may be low\n");
    QTest::qWait(200);

    std::vector<double> layoutOnly;
    std::vector<double> withRepaint;
    for (int step = 0; step < 600; ++step) {
        const QSize size(804 + (step % 200), 778 + (step % 100) / 2);
        timer.restart();
        dialog.resize(size); // the resize event runs the layout
        const double layoutUs = double(timer.nsecsElapsed()) / 1000.0;
        dialog.repaint();
        const double totalUs = double(timer.nsecsElapsed()) / 1000.0;
        layoutOnly.push_back(layoutUs);
        withRepaint.push_back(totalUs);
        QCoreApplication::processEvents();
    }
    const Stats layout = statsOf(layoutOnly);
    const Stats total = statsOf(withRepaint);
    std::printf("resize step, layout (resize + LayoutSkin): median %.1f us, p95 %.1f us, mean %.1f us\n",
                layout.median, layout.p95, layout.mean);
    std::printf("resize step, layout + full repaint:        median %.1f us, p95 %.1f us, mean %.1f us\n",
                total.median, total.p95, total.mean);
    std::printf("  (window without the browser; the browser's own compositing is not part of the skin)\n");
    dialog.hide();
}

QString outputDir() {
    const QString dir = QStringLiteral(QUILLO_BENCH_OUTPUT_DIR) + u"/screenshots"_s;
    QDir().mkpath(dir);
    return dir;
}

// Builds one xdotool command line that presses on the corner and then moves the pointer by
// (dx, dy) every 1/60 s for the given number of steps.
QStringList resizeScript(QPoint corner, int steps, int dx, int dy) {
    QStringList args = {u"mousemove"_s,
                        u"--sync"_s,
                        QString::number(corner.x()),
                        QString::number(corner.y()),
                        u"sleep"_s,
                        u"0.2"_s,
                        u"mousedown"_s,
                        u"1"_s};
    for (int i = 1; i <= steps; ++i)
        args << u"sleep"_s << u"0.0166"_s << u"mousemove"_s << QString::number(corner.x() + dx * i)
             << QString::number(corner.y() + dy * i);
    args << u"sleep"_s << u"0.1"_s << u"mouseup"_s << u"1"_s;
    return args;
}

int mismatches(const QImage& shot, QPoint at, const QImage& expected, QSize size) {
    int count = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QColor a = shot.pixelColor(at.x() + x, at.y() + y);
            const QColor b = expected.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) > 6 || std::abs(a.green() - b.green()) > 6 ||
                std::abs(a.blue() - b.blue()) > 6)
                ++count;
        }
    return count;
}

// Right-hand pieces of the frame where the layout puts them for the shot's size.
bool barsAligned(const QImage& shot) {
    const auto bmp = [](int id) {
        return res::loadBitmap(id).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const int w = shot.width();
    const int h = shot.height();
    return mismatches(shot, {w - 10, 0}, bmp(res::IDB_TOP_RIGHT), {10, 76}) == 0 &&
           mismatches(shot, {w - 25, h - 34}, bmp(res::IDB_BOTTOM_RIGHT), {25, 34}) == 0 &&
           mismatches(shot, {0, h - 34}, bmp(res::IDB_BOTTOM_LEFT), {25, 34}) == 0 &&
           mismatches(shot, {w - 31, 6}, bmp(res::IDB_CLOSE), {19, 19}) == 0;
}

double cpuSeconds(qint64 pid) {
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which ends with the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / double(::sysconf(_SC_CLK_TCK));
}

void benchAgainstTheClient() {
    auto wm = x11::startWindowManager();
    DemoService service;
    ConfigHome home;
    if (!wm || !service.start() || !home.isValid()) {
        std::printf("client run skipped: no window manager or demo service\n");
        return;
    }
    // No settings: the product page, a page that stays still.
    QuilloProcess quillo(home, service);
    if (!quillo.start()) {
        std::printf("client run skipped: quillo did not start\n");
        return;
    }
    const auto window = x11::findWindowByTitle(u"Quillo"_s, 30000);
    if (!window) {
        std::printf("client run skipped: no main window\n%s\n", qPrintable(quillo.output()));
        return;
    }
    QTest::qWait(3000);

    // Steps per second: the pointer moves 60 times a second; count the distinct sizes the window
    // takes while it does. Start from a known place so the pointer stays on the screen.
    QProcess::execute(u"xdotool"_s,
                      {u"windowmove"_s, u"--sync"_s, QString::number(*window), u"40"_s, u"40"_s});
    QTest::qWait(500);
    constexpr int kSteps = 180;
    for (int pass = 0; pass < 2; ++pass) {
        // The window may still be catching up with the last pass; press on its real corner.
        QRect start = x11::clientGeometry(*window);
        for (int settled = 0; settled < 5;) {
            QTest::qWait(200);
            const QRect now = x11::clientGeometry(*window);
            settled = now == start ? settled + 1 : 0;
            start = now;
        }
        const QPoint corner = start.topLeft() + QPoint(start.width() - 3, start.height() - 3);
        QProcess pointer;
        pointer.start(u"xdotool"_s, resizeScript(corner, kSteps, pass == 0 ? 3 : -3, pass == 0 ? 2 : -2));
        QElapsedTimer clock;
        clock.start();
        std::vector<std::pair<qint64, QSize>> sizes;
        int shots = 0;
        int aligned = 0;
        while (pointer.state() != QProcess::NotRunning) {
            const QRect geometry = x11::clientGeometry(*window);
            if (sizes.empty() || sizes.back().second != geometry.size())
                sizes.emplace_back(clock.elapsed(), geometry.size());
            // The second pass looks at the window's own pixels while the frame follows the
            // pointer; a grab of the window is one picture of one size.
            if (pass == 1 && clock.elapsed() > 600 && shots < 8) {
                const QString path = outputDir() + u"/resize-%1.png"_s.arg(shots, 2, 10, QChar(u'0'));
                if (QProcess::execute(u"import"_s, {u"-window"_s, QString::number(*window), path}) == 0) {
                    ++shots;
                    aligned += barsAligned(QImage(path).convertToFormat(QImage::Format_RGB32)) ? 1 : 0;
                }
            }
            pointer.waitForFinished(4);
            if (clock.elapsed() > 30000)
                break;
        }
        const qint64 pointerMs = clock.elapsed();
        if (sizes.size() < 3) {
            std::printf("pass %d: the window did not follow the pointer (%zu sizes)\n", pass, sizes.size());
            continue;
        }
        const double seconds = double(sizes.back().first - sizes[1].first) / 1000.0;
        const double rate = double(sizes.size() - 2) / std::max(seconds, 0.001);
        std::printf(
            "pass %d (%s): pointer made %d steps in %.2f s (%.1f/s); window took %zu sizes in %.2f s: "
            "%.1f resize steps/s; %dx%d -> %dx%d\n",
            pass, pass == 0 ? "growing" : "shrinking, with grabs", kSteps, double(pointerMs) / 1000.0,
            kSteps * 1000.0 / double(pointerMs), sizes.size() - 1, seconds, rate, start.width(),
            start.height(), sizes.back().second.width(), sizes.back().second.height());
        if (pass == 1)
            std::printf("  grabs during the resize with the bars aligned to the corners: %d of %d (in %s)\n",
                        aligned, shots, qPrintable(outputDir()));
    }

    // Idle CPU with the pointer resting on the close button, after the start-up timers are over,
    // against the same with the pointer off the window: the page's own traffic shows in both.
    const QList<qint64> tree = processTreePids(quillo.pid());
    const auto idle = [&](QPoint rest, const char* where) {
        x11::moveMouse(rest.x() - 4, rest.y() - 3);
        x11::moveMouse(rest.x(), rest.y());
        QTest::qWait(3000);
        const auto treeCpu = [&tree] {
            double sum = 0;
            for (qint64 pid : tree)
                sum += cpuSeconds(pid);
            return sum;
        };
        const double clientBefore = cpuSeconds(quillo.pid());
        const double treeBefore = treeCpu();
        constexpr int kIdleMs = 10000;
        QThread::msleep(kIdleMs);
        std::printf("idle CPU over %d s, pointer %s: client %.2f %%, with its browser processes %.2f %%\n",
                    kIdleMs / 1000, where,
                    (cpuSeconds(quillo.pid()) - clientBefore) * 100.0 / (kIdleMs / 1000.0),
                    (treeCpu() - treeBefore) * 100.0 / (kIdleMs / 1000.0));
    };
    QTest::qWait(4000);
    const QRect client = x11::clientGeometry(*window);
    idle(client.topLeft() + QPoint(client.width() - 31 + 9, 15), "resting on the close button");
    idle(QPoint(1910, 1070), "off the window");

    quillo.terminate();
    quillo.waitForExit(10000);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(u"QuilloBench"_s);
    benchInProcess();
    benchAgainstTheClient();
    return 0;
}
