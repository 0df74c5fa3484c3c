#include "tests/support/alert_fixtures.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace quillo::e2e {

namespace {

// Debian's interpreter, where python3-dbus, python3-gi and python3-pyatspi are installed; a
// python3 earlier on the PATH (a developer's own build) has none of them.
const QString kPython = u"/usr/bin/python3"_s;

QString supportScript(const QString& name) {
    return QStringLiteral(QUILLO_SUPPORT_DIR "/") + name;
}

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// Runs a short command to its end; its exit code, or -1 when it could not run or hung.
int run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
        QByteArray* output = nullptr, int ms = 5000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    endWithParent(process);
    process.start(program, arguments);
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QProcessEnvironment withSessionBus(const QString& address) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
    return environment;
}

} // namespace

PrivateBus::PrivateBus(Kind kind)
    : m_kind(kind) {}

PrivateBus::~PrivateBus() {
    stop(m_process);
}

bool PrivateBus::start() {
    if (!m_dir.isValid()) {
        m_error = u"no temporary folder"_s;
        return false;
    }
    const QByteArray type = m_kind == Kind::System ? "system" : "session";
    const QString config = m_dir.filePath(u"bus.conf"_s);
    const QByteArray socket = m_dir.filePath(u"bus"_s).toUtf8();
    if (!writeFile(config, "<busconfig><type>" + type + "</type><listen>unix:path=" + socket +
                               "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                               "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                               "<allow own=\"*\"/><allow user=\"*\"/></policy></busconfig>")) {
        m_error = u"cannot write "_s + config;
        return false;
    }
    endWithParent(m_process);
    m_process.start(u"dbus-daemon"_s, {u"--config-file="_s + config, u"--nofork"_s, u"--print-address=1"_s});
    if (!m_process.waitForStarted(10000)) {
        m_error = u"cannot start dbus-daemon: "_s + m_process.errorString();
        return false;
    }
    if (!QTest::qWaitFor([&] { return m_process.canReadLine(); }, 10000)) {
        m_error = u"dbus-daemon gave no address"_s;
        return false;
    }
    m_address = QString::fromUtf8(m_process.readLine().trimmed());
    return true;
}

PulseServer::PulseServer() = default;

PulseServer::~PulseServer() {
    stop(m_process);
}

QString PulseServer::serverAddress() const {
    return u"unix:"_s + m_dir.filePath(u"native"_s);
}

bool PulseServer::start() {
    if (!m_dir.isValid()) {
        m_error = u"no temporary folder"_s;
        return false;
    }
    // Its own home and runtime folder: no cookie, socket or setting of a user's session is read.
    const QString home = m_dir.filePath(u"home"_s);
    const QString runtime = m_dir.filePath(u"runtime"_s);
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home);
    environment.insert(u"XDG_RUNTIME_DIR"_s, runtime);
    environment.insert(u"XDG_CONFIG_HOME"_s, home);
    environment.remove(u"PULSE_SERVER"_s);
    environment.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_dir.filePath(u"pulseaudio.log"_s));
    endWithParent(m_process);
    // -n: no default script, so no hardware, no idle suspension and no exit when idle.
    m_process.start(u"pulseaudio"_s, {u"--daemonize=no"_s, u"-n"_s, u"--exit-idle-time=-1"_s,
                                      u"--use-pid-file=no"_s, u"--disable-shm=yes"_s,
                                      u"--load=module-null-sink sink_name="_s + QLatin1String(kSinkName) +
                                          u" rate="_s + QString::number(kRate) + u" channels=1"_s,
                                      u"--load=module-native-protocol-unix auth-anonymous=1 socket="_s +
                                          m_dir.filePath(u"native"_s)});
    if (!m_process.waitForStarted(10000)) {
        m_error = u"cannot start pulseaudio: "_s + m_process.errorString();
        return false;
    }
    QProcessEnvironment client = QProcessEnvironment::systemEnvironment();
    client.insert(u"PULSE_SERVER"_s, serverAddress());
    const bool answered = QTest::qWaitFor(
        [&] {
            return m_process.state() == QProcess::Running &&
                   run(u"pactl"_s, {u"info"_s}, client, nullptr, 2000) == 0;
        },
        10000);
    if (!answered) {
        QFile log(m_dir.filePath(u"pulseaudio.log"_s));
        log.open(QIODevice::ReadOnly);
        m_error = u"pulseaudio did not answer: "_s + QString::fromLocal8Bit(log.readAll().right(2000));
    }
    return answered;
}

SinkRecorder::SinkRecorder(const PulseServer& server)
    : m_server(server) {}

SinkRecorder::~SinkRecorder() {
    stop(m_process);
}

bool SinkRecorder::start() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PULSE_SERVER"_s, m_server.serverAddress());
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(m_process);
    m_clock.start();
    m_process.start(u"parec"_s, {u"--device="_s + QLatin1String(PulseServer::kSinkName) + u".monitor"_s,
                                 u"--format=s16le"_s, u"--rate="_s + QString::number(PulseServer::kRate),
                                 u"--channels=1"_s, u"--latency-msec=20"_s, u"--raw"_s});
    if (!m_process.waitForStarted(5000))
        return false;
    // The stream is connected once the server lists it; only then is nothing played missed.
    return QTest::qWaitFor(
        [&] {
            QByteArray out;
            return m_process.state() == QProcess::Running &&
                   run(u"pactl"_s, {u"list"_s, u"short"_s, u"source-outputs"_s}, environment, &out, 2000) ==
                       0 &&
                   !out.trimmed().isEmpty();
        },
        10000);
}

void SinkRecorder::pump() {
    m_process.waitForReadyRead(0);
    m_pending += m_process.readAllStandardOutput();
    const qint64 arrived = now();
    constexpr int windowSamples = PulseServer::kRate / 1000 * kWindowMs;
    qsizetype used = 0;
    for (; used + 1 < m_pending.size(); used += 2) {
        qint16 sample = 0;
        std::memcpy(&sample, m_pending.constData() + used, sizeof sample);
        const double value = sample / 32768.0;
        m_sumSquares += value * value;
        m_peak = std::max(m_peak, std::abs(value));
        if (++m_samples == windowSamples) {
            m_windows.append({arrived, std::sqrt(m_sumSquares / m_samples), m_peak});
            m_sumSquares = 0;
            m_peak = 0;
            m_samples = 0;
        }
    }
    m_pending.remove(0, used);
}

QList<SinkRecorder::Window> SinkRecorder::windows() {
    pump();
    return m_windows;
}

std::optional<qint64> SinkRecorder::firstSound(qint64 fromMs, double threshold) {
    pump();
    for (const Window& window : std::as_const(m_windows)) {
        if (window.endMs >= fromMs && window.rms > threshold)
            return window.endMs;
    }
    return std::nullopt;
}

QList<qint64> SinkRecorder::soundStarts(qint64 fromMs, double threshold) {
    constexpr qint64 kQuietGapMs = 500;
    pump();
    QList<qint64> starts;
    std::optional<qint64> lastLoud;
    for (const Window& window : std::as_const(m_windows)) {
        if (window.endMs < fromMs || window.rms <= threshold)
            continue;
        if (!lastLoud || window.endMs - *lastLoud > kQuietGapMs)
            starts.append(window.endMs);
        lastLoud = window.endMs;
    }
    return starts;
}

double SinkRecorder::loudest(qint64 fromMs, qint64 toMs) {
    pump();
    double loudest = 0;
    for (const Window& window : std::as_const(m_windows)) {
        if (window.endMs >= fromMs && window.endMs <= toMs)
            loudest = std::max(loudest, window.rms);
    }
    return loudest;
}

void listen(SinkRecorder& recorder, int ms) {
    const qint64 end = recorder.now() + ms;
    while (recorder.now() < end) {
        recorder.windows();
        QTest::qWait(SinkRecorder::kWindowMs / 2);
    }
}

bool waitListening(SinkRecorder& recorder, const std::function<bool()>& cond, int ms) {
    const qint64 end = recorder.now() + ms;
    while (recorder.now() < end) {
        recorder.windows();
        if (cond())
            return true;
        QTest::qWait(20);
    }
    return false;
}

// One sound played and heard out first leaves the latency of what plays next to be measured.
bool primeSink(const PulseServer& pulse, SinkRecorder& recorder, const QString& soundFile) {
    const qint64 start = recorder.now();
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PULSE_SERVER"_s, pulse.serverAddress());
    player.setProcessEnvironment(environment);
    endWithParent(player);
    player.start(u"paplay"_s, {soundFile});
    if (!waitListening(
            recorder, [&] { return recorder.firstSound(start).has_value(); }, 5000) ||
        !player.waitForFinished(5000))
        return false;
    // Quiet again for longer than a sound's gap, so the next sound counts as one of its own.
    return waitListening(
        recorder,
        [&] {
            qint64 lastLoud = 0;
            for (const SinkRecorder::Window& window : recorder.windows())
                lastLoud = window.rms > SinkRecorder::kSoundRms ? window.endMs : lastLoud;
            return recorder.now() - lastLoud > 700;
        },
        5000);
}

FakeLogind::FakeLogind() = default;

FakeLogind::~FakeLogind() {
    // End of input ends the service; its bus goes with the PrivateBus.
    m_service.closeWriteChannel();
    if (!m_service.waitForFinished(3000))
        stop(m_service);
}

bool FakeLogind::start() {
    if (!m_bus.start()) {
        m_error = m_bus.errorString();
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, m_bus.address());
    m_service.setProcessEnvironment(environment);
    m_service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(m_service);
    m_service.start(kPython, {supportScript(u"fake_logind.py"_s)});
    if (!m_service.waitForStarted(5000)) {
        m_error = u"cannot start fake_logind.py: "_s + m_service.errorString();
        return false;
    }
    if (!QTest::qWaitFor([&] { return log().contains(u"ready"_s) || m_service.state() != QProcess::Running; },
                         10000) ||
        !m_log.contains(u"ready"_s)) {
        m_error = u"fake_logind.py did not take its name: "_s + m_log.join(u"; "_s);
        return false;
    }
    return true;
}

bool FakeLogind::prepareForSleep(bool starting, int ms) {
    const QString done = starting ? u"emitted PrepareForSleep true"_s : u"emitted PrepareForSleep false"_s;
    const qsizetype before = log().count(done);
    m_service.write(starting ? "sleep\n" : "wake\n");
    return QTest::qWaitFor([&] { return log().count(done) > before; }, ms);
}

void FakeLogind::pump() {
    m_service.waitForReadyRead(0);
    while (m_service.canReadLine())
        m_log.append(QString::fromUtf8(m_service.readLine().trimmed()));
}

QStringList FakeLogind::log() {
    pump();
    return m_log;
}

namespace {

// One short-lived connection per query, as the other X11 helpers keep it.
struct Display {
    ::Display* display = XOpenDisplay(nullptr);
    Display() = default;
    ~Display() {
        if (display)
            XCloseDisplay(display);
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
};

int ignoreErrors(::Display*, XErrorEvent*) {
    return 0;
}

std::optional<unsigned long> cardinal(::Display* display, Window window, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> value;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &remaining, &data) == Success &&
        data && count == 1 && format == 32)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return value;
}

std::optional<Window> findByPid(::Display* display, Window window, unsigned long pid) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (cardinal(display, children[i], "_NET_WM_PID") == pid &&
            XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            found = children[i];
        else
            found = findByPid(display, children[i], pid);
    }
    if (children)
        XFree(children);
    return found;
}

bool isTray(::Display* display, Window window) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool tray = hint.res_class && std::strcmp(hint.res_class, "trayer") == 0;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return tray;
}

// The program's window inside any of the tray's windows, wherever a window manager put them.
std::optional<Window> findInTray(::Display* display, Window window, unsigned long pid) {
    if (isTray(display, window))
        return findByPid(display, window, pid);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = findInTray(display, children[i], pid);
    if (children)
        XFree(children);
    return found;
}

} // namespace

DisplayKeeper::DisplayKeeper(int ms) {
    if (!QTest::qWaitFor([&] { return (m_display = XOpenDisplay(nullptr)) != nullptr; }, ms))
        m_display = nullptr;
}

DisplayKeeper::~DisplayKeeper() {
    if (m_display)
        XCloseDisplay(m_display);
}

TrayHost::TrayHost() = default;

TrayHost::~TrayHost() {
    stop(m_process);
}

bool TrayHost::start(int ms) {
    m_display = std::make_unique<DisplayKeeper>(ms);
    if (!m_display->isValid()) {
        m_error = u"cannot open the display"_s;
        return false;
    }
    if (manager()) {
        m_error = u"another tray already runs on this display"_s;
        return false;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(m_process);
    m_process.start(u"trayer"_s,
                    {u"--edge"_s, u"bottom"_s, u"--align"_s, u"right"_s, u"--widthtype"_s, u"pixel"_s,
                     u"--width"_s, u"200"_s, u"--height"_s, u"32"_s, u"--SetDockType"_s, u"true"_s});
    if (!m_process.waitForStarted(5000)) {
        m_error = u"cannot start trayer: "_s + m_process.errorString();
        return false;
    }
    if (!QTest::qWaitFor([] { return manager().has_value(); }, ms)) {
        m_error = u"trayer took no tray selection"_s;
        return false;
    }
    return true;
}

std::optional<x11::WindowId> TrayHost::manager() {
    Display connection;
    if (!connection.display)
        return std::nullopt;
    const QByteArray selection = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(connection.display));
    const Window owner =
        XGetSelectionOwner(connection.display, XInternAtom(connection.display, selection, False));
    return owner != 0 ? std::optional<x11::WindowId>(owner) : std::nullopt;
}

std::optional<x11::WindowId> TrayHost::findIcon(qint64 pid, int ms) {
    std::optional<x11::WindowId> icon;
    const bool found = QTest::qWaitFor(
        [&] {
            Display connection;
            if (!connection.display)
                return false;
            auto* previous = XSetErrorHandler(ignoreErrors);
            icon = findInTray(connection.display, DefaultRootWindow(connection.display),
                              static_cast<unsigned long>(pid));
            XSync(connection.display, False);
            XSetErrorHandler(previous);
            return icon.has_value();
        },
        ms);
    return found ? icon : std::nullopt;
}

QImage grabWindow(x11::WindowId window) {
    Display connection;
    if (!connection.display)
        return {};
    auto* previous = XSetErrorHandler(ignoreErrors);
    QImage image;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(connection.display, window, &attributes) && attributes.map_state == IsViewable) {
        if (XImage* pixels = XGetImage(connection.display, window, 0, 0, unsigned(attributes.width),
                                       unsigned(attributes.height), AllPlanes, ZPixmap)) {
            image = QImage(attributes.width, attributes.height, QImage::Format_RGB32);
            for (int y = 0; y < attributes.height; ++y) {
                for (int x = 0; x < attributes.width; ++x)
                    image.setPixel(x, y, QRgb(XGetPixel(pixels, x, y) & 0xffffff));
            }
            XDestroyImage(pixels);
        }
    }
    XSync(connection.display, False);
    XSetErrorHandler(previous);
    return image;
}

namespace {

// A recursive reader of dbus-monitor's value lines. Each value starts with its type's name; the
// nesting is in brackets, not in the indentation.
class MonitorParser {
public:
    explicit MonitorParser(QStringView text)
        : m_text(text) {}

    bool atEnd() {
        skipSpace();
        return m_pos >= m_text.size();
    }
    bool failed() const { return m_failed; }

    QVariant value() {
        skipSpace();
        if (take(u"string "))
            return quoted();
        if (take(u"object path ") || take(u"signature "))
            return quoted();
        if (take(u"variant"))
            return value();
        if (take(u"array of bytes")) {
            skipSpace();
            if (peek(u"\""))
                return quoted().toUtf8();
            return bytes();
        }
        if (take(u"array ["))
            return array();
        if (take(u"dict entry(")) {
            QVariantList entry{value(), value()};
            skipSpace();
            if (!take(u")"))
                m_failed = true;
            return entry;
        }
        if (take(u"struct {")) {
            QVariantList fields;
            while (!m_failed && !closing(u"}"))
                fields.append(value());
            return fields;
        }
        if (take(u"boolean "))
            return word() == u"true";
        if (take(u"double "))
            return word().toDouble();
        static const std::pair<const char16_t*, int> integers[] = {
            {u"int16 ", QMetaType::Short},    {u"uint16 ", QMetaType::UShort},
            {u"int32 ", QMetaType::Int},      {u"uint32 ", QMetaType::UInt},
            {u"int64 ", QMetaType::LongLong}, {u"uint64 ", QMetaType::ULongLong},
            {u"byte ", QMetaType::UChar},
        };
        for (const auto& [name, type] : integers) {
            if (take(name)) {
                QVariant number(word().toLongLong());
                number.convert(QMetaType(type));
                return number;
            }
        }
        m_failed = true;
        return {};
    }

private:
    void skipSpace() {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }
    bool peek(QStringView token) const { return m_text.mid(m_pos).startsWith(token); }
    bool take(QStringView token) {
        if (!peek(token))
            return false;
        m_pos += token.size();
        return true;
    }
    bool closing(QStringView token) {
        skipSpace();
        if (m_pos >= m_text.size()) {
            m_failed = true;
            return true;
        }
        return take(token);
    }
    QString word() {
        skipSpace();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !m_text[m_pos].isSpace())
            ++m_pos;
        return m_text.mid(start, m_pos - start).toString();
    }
    // dbus-monitor prints text between quotes as it is, quotes and line breaks included, so the
    // closing quote is the one that ends a line.
    QString quoted() {
        skipSpace();
        if (!take(u"\"")) {
            m_failed = true;
            return {};
        }
        const qsizetype start = m_pos;
        for (qsizetype i = m_pos; i < m_text.size(); ++i) {
            const QStringView rest = m_text.mid(i + 1);
            if (m_text[i] == u'"' &&
                (rest.isEmpty() || rest.startsWith(u'\n') || rest.startsWith(u" + \\0"))) {
                m_pos = i + 1;
                // An array of bytes with a NUL at its end shows it after the quote.
                if (rest.startsWith(u" + \\0"))
                    m_pos += 5;
                return m_text.mid(start, i - start).toString();
            }
        }
        m_failed = true;
        return {};
    }
    QByteArray bytes() {
        QByteArray out;
        if (!take(u"["))
            m_failed = true;
        while (!m_failed && !closing(u"]"))
            out.append(char(word().toInt(nullptr, 16)));
        return out;
    }
    QVariant array() {
        QVariantList items;
        bool dict = true;
        while (!m_failed && !closing(u"]")) {
            skipSpace();
            dict = dict && peek(u"dict entry(");
            items.append(value());
        }
        if (items.isEmpty() || !dict)
            return items;
        QVariantMap map;
        for (const QVariant& item : std::as_const(items)) {
            const QVariantList entry = item.toList();
            map.insert(entry.value(0).toString(), entry.value(1));
        }
        return map;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

BusMessage parseHeader(const QString& line) {
    static const QRegularExpression kinds(u"^(signal|method call|method return|error) "_s);
    BusMessage message;
    message.type = kinds.match(line).captured(1);
    static const QRegularExpression field(u"(sender|destination|path|interface|member)=([^ ;]*)"_s);
    for (auto it = field.globalMatch(line); it.hasNext();) {
        const auto match = it.next();
        const QString value = match.captured(2);
        const QString name = match.captured(1);
        if (name == u"sender")
            message.sender = value;
        else if (name == u"destination")
            message.destination = value;
        else if (name == u"path")
            message.path = value;
        else if (name == u"interface")
            message.interface = value;
        else
            message.member = value;
    }
    return message;
}

} // namespace

QList<BusMessage> parseBusMonitor(const QString& text, qsizetype* complete, bool endIsWhole) {
    static const QRegularExpression header(u"^(signal|method call|method return|error) time="_s,
                                           QRegularExpression::MultilineOption);
    QList<qsizetype> starts;
    for (auto it = header.globalMatch(text); it.hasNext();)
        starts.append(it.next().capturedStart());
    QList<BusMessage> messages;
    qsizetype parsed = starts.isEmpty() ? 0 : starts.first();
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const bool last = i + 1 == starts.size();
        if (last && !endIsWhole)
            break;
        const qsizetype end = last ? text.size() : starts[i + 1];
        const QStringView block = QStringView(text).mid(starts[i], end - starts[i]);
        const qsizetype lineEnd = block.indexOf(u'\n');
        if (lineEnd < 0)
            break; // the header line is still arriving
        BusMessage message = parseHeader(block.left(lineEnd).toString());
        MonitorParser parser(block.mid(lineEnd + 1));
        while (!parser.failed() && !parser.atEnd())
            message.args.append(parser.value());
        if (parser.failed())
            break; // the last message is still arriving, or one we cannot read: stop there
        messages.append(message);
        parsed = end;
    }
    if (complete)
        *complete = parsed;
    return messages;
}

BusMonitor::BusMonitor(const QString& busAddress, const QStringList& rules)
    : m_address(busAddress)
    , m_rules(rules) {}

BusMonitor::~BusMonitor() {
    stop(m_process);
}

bool BusMonitor::start(int ms) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(m_process);
    m_process.start(u"dbus-monitor"_s, QStringList{u"--address"_s, m_address, u"--monitor"_s} + m_rules);
    if (!m_process.waitForStarted(5000))
        return false;
    return QTest::qWaitFor(
        [&] {
            pump();
            return m_ready;
        },
        ms);
}

void BusMonitor::pump() {
    m_process.waitForReadyRead(0);
    const QByteArray data = m_process.readAllStandardOutput();
    if (!data.isEmpty()) {
        m_text += QString::fromUtf8(data);
        m_sinceData.start();
    }
    // dbus-monitor writes each message at once; one that nothing has followed for a while is whole.
    const bool endIsWhole = data.isEmpty() && m_sinceData.isValid() && m_sinceData.elapsed() >= 100;
    qsizetype complete = 0;
    const QList<BusMessage> parsed = parseBusMonitor(m_text, &complete, endIsWhole);
    for (const BusMessage& message : parsed) {
        // The monitor is told its own name whatever the rules say; after that it is in place.
        if (message.interface == u"org.freedesktop.DBus")
            m_ready = m_ready || message.member == u"NameAcquired";
        else
            m_messages.append(message);
    }
    m_text.remove(0, complete);
}

QList<BusMessage> BusMonitor::messages() {
    pump();
    return m_messages;
}

QList<BusMessage> BusMonitor::messages(const QString& interface, const QString& member) {
    QList<BusMessage> matching;
    for (const BusMessage& message : messages()) {
        if (message.interface == interface && message.member == member)
            matching.append(message);
    }
    return matching;
}

AccessibilityBus::AccessibilityBus(const QString& sessionBusAddress)
    : m_sessionBus(sessionBusAddress) {}

AccessibilityBus::~AccessibilityBus() {
    // The launcher takes its accessibility bus down with it when asked to end.
    stop(m_launcher);
}

bool AccessibilityBus::start(int ms) {
    QProcessEnvironment environment = withSessionBus(m_sessionBus);
    // The launcher names its socket after the display; a folder of its own keeps parallel runs apart.
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path());
    environment.insert(u"HOME"_s, m_dir.path());
    m_launcher.setProcessEnvironment(environment);
    m_launcher.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(m_launcher);
    m_launcher.start(u"/usr/libexec/at-spi-bus-launcher"_s, {u"--launch-immediately"_s});
    if (!m_launcher.waitForStarted(5000)) {
        m_error = u"cannot start at-spi-bus-launcher: "_s + m_launcher.errorString();
        return false;
    }
    const bool answered = QTest::qWaitFor(
        [&] {
            QByteArray out;
            return run(u"gdbus"_s,
                       {u"call"_s, u"--session"_s, u"--dest"_s, u"org.a11y.Bus"_s, u"--object-path"_s,
                        u"/org/a11y/bus"_s, u"--method"_s, u"org.a11y.Bus.GetAddress"_s},
                       withSessionBus(m_sessionBus), &out, 2000) == 0 &&
                   out.contains("unix:");
        },
        ms);
    if (!answered)
        m_error = u"the accessibility bus did not answer"_s;
    return answered;
}

std::optional<QJsonObject> AccessibilityBus::tree(const QString& appName, int ms) const {
    QByteArray out;
    const int seconds = std::max(1, ms / 1000);
    if (run(kPython, {supportScript(u"atspi_dump.py"_s), u"tree"_s, appName, QString::number(seconds)},
            withSessionBus(m_sessionBus), &out, ms + 10000) != 0)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(out);
    return document.isObject() ? std::optional<QJsonObject>(document.object()) : std::nullopt;
}

bool AccessibilityBus::doAction(const QString& appName, const QString& name, const QString& role,
                                const QString& action) const {
    return run(kPython, {supportScript(u"atspi_dump.py"_s), u"press"_s, appName, name, role, action},
               withSessionBus(m_sessionBus), nullptr, 20000) == 0;
}

QList<QJsonObject> findAccessible(const QJsonObject& tree,
                                  const std::function<bool(const QJsonObject&)>& pred) {
    QList<QJsonObject> found;
    if (pred(tree))
        found.append(tree);
    for (const QJsonValue child : tree.value(u"children"_s).toArray())
        found += findAccessible(child.toObject(), pred);
    return found;
}

AccessibilityEvents::AccessibilityEvents(const QString& sessionBusAddress, const QString& appName,
                                         const QStringList& kinds)
    : m_sessionBus(sessionBusAddress)
    , m_appName(appName)
    , m_kinds(kinds) {}

AccessibilityEvents::~AccessibilityEvents() {
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(3000))
        stop(m_process);
}

bool AccessibilityEvents::start(int ms) {
    m_process.setProcessEnvironment(withSessionBus(m_sessionBus));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(m_process);
    m_process.start(kPython,
                    QStringList{supportScript(u"atspi_dump.py"_s), u"events"_s, m_appName} + m_kinds);
    if (!m_process.waitForStarted(5000))
        return false;
    return QTest::qWaitFor(
        [&] {
            m_process.waitForReadyRead(0);
            return m_process.canReadLine() && m_process.readLine().trimmed() == "listening";
        },
        ms);
}

void AccessibilityEvents::pump() {
    m_process.waitForReadyRead(0);
    while (m_process.canReadLine()) {
        const QJsonDocument line = QJsonDocument::fromJson(m_process.readLine());
        if (line.isObject())
            m_events.append(line.object());
    }
}

QList<QJsonObject> AccessibilityEvents::events() {
    pump();
    return m_events;
}

} // namespace quillo::e2e
