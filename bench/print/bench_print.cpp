// What a long print costs the client. A page prints a transcript of many pages; the bench
// measures, from outside, the growth of the client's own process (its peak resident size, as the
// kernel counts it, over the size before the print) and of the client with its engine processes,
// and the longest time the client's window thread took to answer the window manager's ping
// (_NET_WM_PING, which the toolkit answers on that thread), from the request until the preview has
// been scrolled through to its last page.

#include "tests/support/e2e_harness.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

// A client past this much growth is stopped, so a run of a leaking build cannot take the machine.
constexpr qint64 kGiveUpGrowthKb = 3 * 1024 * 1024;
constexpr int kGiveUpMs = 180000;

// A field of /proc/<pid>/status in kB: VmRSS now, VmHWM the peak so far.
qint64 statusKb(qint64 pid, const QByteArray& field) {
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// Pings a window as a window manager does, on a thread and a connection of its own, and keeps
// the longest wait for an answer, which the toolkit sends back to the root window from the
// window's thread. A ping still unanswered counts for as long as it has waited.
class Pinger {
public:
    explicit Pinger(x11::WindowId window)
        : m_window(window) {
        m_since.start();
        m_thread = std::thread([this] { run(); });
    }
    ~Pinger() {
        m_stop = true;
        m_thread.join();
    }
    Pinger(const Pinger&) = delete;
    Pinger& operator=(const Pinger&) = delete;

    qint64 longestMs() const { return std::max(m_longest.load(), m_waiting.load()); }
    bool failed() const { return m_failed; }
    int answers() const { return m_answers; }
    qint64 sinceStartMs() const { return m_since.elapsed(); }
    // When the longest wait began, in ms since the pinger started.
    qint64 longestAtMs() const { return m_longestAt; }

private:
    void run() {
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            m_failed = true;
            return;
        }
        const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
        const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
        // The toolkit sends its answers to the root window for those that watch its structure.
        XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask);
        for (unsigned long stamp = 0x51000000; !m_stop; ++stamp) {
            XEvent event = {};
            event.xclient.type = ClientMessage;
            event.xclient.window = m_window;
            event.xclient.message_type = protocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = long(ping);
            event.xclient.data.l[1] = long(stamp);
            event.xclient.data.l[2] = long(m_window);
            XSendEvent(display, m_window, False, NoEventMask, &event);
            XFlush(display);
            QElapsedTimer sent;
            sent.start();
            bool answered = false;
            while (!answered && !m_stop) {
                while (!answered && XPending(display) > 0) {
                    XNextEvent(display, &event);
                    answered = event.type == ClientMessage && event.xclient.message_type == protocols &&
                               Atom(event.xclient.data.l[0]) == ping &&
                               (unsigned long)(event.xclient.data.l[1]) == stamp;
                }
                m_waiting = sent.elapsed();
                if (!answered)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (answered) {
                if (sent.elapsed() > m_longest) {
                    m_longest = sent.elapsed();
                    m_longestAt = m_since.elapsed() - sent.elapsed();
                }
                ++m_answers;
            }
            m_waiting = 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XCloseDisplay(display);
    }

    x11::WindowId m_window = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_failed = false;
    std::atomic<qint64> m_longest = 0;
    std::atomic<qint64> m_waiting = 0;
    std::atomic<int> m_answers = 0;
    std::atomic<qint64> m_longestAt = 0;
    QElapsedTimer m_since;
};

// Keys to the focused window through xdotool, count times with a short pause between.
bool pressKeys(const QString& key, int count) {
    return QProcess::execute(u"xdotool"_s, {u"key"_s, u"--repeat"_s, QString::number(count), u"--delay"_s,
                                            u"15"_s, key}) == 0;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int pages = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    constexpr int kLinesPerPage = 24;

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
    const auto isPage = [](const QJsonObject& report, const QString& event) {
        return report.value(u"page"_s).toString() == u"case_web" &&
               report.value(u"event"_s).toString() == event;
    };
    if (!quillo.start() ||
        !service.waitForReport([&](const QJsonObject& r) { return isPage(r, u"load"_s); }, 60000)) {
        std::fprintf(stderr, "quillo did not load the page\n%s\n", qPrintable(quillo.output()));
        return 1;
    }
    const auto main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    if (!main) {
        std::fprintf(stderr, "no main window\n");
        return 1;
    }
    // The client at rest before the print.
    QTest::qWait(3000);
    const qint64 pid = quillo.pid();
    const qint64 rssBefore = statusKb(pid, "VmRSS");
    const qint64 treeBefore = processTreePss(pid);
    Pinger pinger(*main);
    QTest::qWait(500);
    if (pinger.failed() || pinger.answers() == 0) {
        std::fprintf(stderr, "the client does not answer pings\n");
        return 1;
    }

    if (!service.pushAction(u"case_web"_s, u"print"_s, {pages, kLinesPerPage}))
        return 1;
    QElapsedTimer clock;
    clock.start();
    const qint64 pingerLead = pinger.sinceStartMs();
    qint64 treePeak = treeBefore;
    qint64 shownAtMs = -1;
    int pressed = 0;
    bool gaveUp = false;
    std::optional<x11::WindowId> preview;
    // The operator scrolls through the whole preview, a screen at a time, once it has its pages.
    const int screens = pages * 5 / 4 + 10;
    while (pressed < screens) {
        treePeak = std::max(treePeak, processTreePss(pid));
        if (statusKb(pid, "VmRSS") - rssBefore > kGiveUpGrowthKb || clock.elapsed() > kGiveUpMs) {
            gaveUp = true;
            break;
        }
        if (!preview && (preview = x11::findWindowByTitle(u"Print preview"_s, 0))) {
            shownAtMs = clock.elapsed();
            const QRect area = x11::clientGeometry(*preview);
            // A click in the pages gives them the keys.
            x11::moveMouse(area.center().x(), area.center().y() - 40);
            x11::click(area.center().x(), area.center().y());
        }
        if (preview && quillo.output().contains(u"print preview of"_s)) {
            pressKeys(u"Next"_s, 50);
            pressed += 50;
        } else {
            QThread::msleep(50);
        }
    }
    // The pages in sight at the end are drawn by now; their images count too.
    QTest::qWait(1000);
    treePeak = std::max(treePeak, processTreePss(pid));
    if (argc > 2)
        x11::screenshot(QString::fromLocal8Bit(argv[2]));
    const qint64 rssPeak = statusKb(pid, "VmHWM");

    std::printf("print of %d pages (%d lines):%s\n", pages, pages * kLinesPerPage,
                gaveUp ? " stopped: growth or time past the limit" : "");
    std::printf("  preview shown after %lld ms, scrolled to its end after %lld ms\n", (long long)shownAtMs,
                (long long)clock.elapsed());
    std::printf("  client process: peak resident size %lld MB over %lld MB before (+%lld MB)\n",
                (long long)rssPeak / 1024, (long long)rssBefore / 1024,
                (long long)(rssPeak - rssBefore) / 1024);
    std::printf("  client with its engine processes: peak %lld MB over %lld MB before (+%lld MB)\n",
                (long long)treePeak / 1024, (long long)treeBefore / 1024,
                (long long)(treePeak - treeBefore) / 1024);
    std::printf(
        "  longest wait for the window thread to answer a ping: %lld ms, from %lld ms after the print "
        "request (%d pings answered)\n",
        (long long)pinger.longestMs(), (long long)(pinger.longestAtMs() - pingerLead), pinger.answers());

    quillo.terminate();
    if (!quillo.waitForExit(10000))
        quillo.kill();
    return gaveUp ? 2 : 0;
}
