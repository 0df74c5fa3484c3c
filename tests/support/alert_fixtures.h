#pragma once

// What the end-to-end tests of the client's alerting run beside it: a private audio server whose
// output can be measured, a stand-in for logind on a private system bus, an X11 system tray, a
// recorder of D-Bus traffic and a view of the accessibility tree. Each observes from the outside,
// as the desktop or an assistive technology would. Processes started here end with the test.

#include "tests/support/e2e_harness.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace quillo::e2e {

// A D-Bus daemon of the test's own that starts no services by itself, so every name on it is owned
// by a process the test started. Session: for DBUS_SESSION_BUS_ADDRESS; System: for
// DBUS_SYSTEM_BUS_ADDRESS. Anyone may own any name and monitor the bus.
class PrivateBus {
public:
    enum class Kind { Session, System };
    explicit PrivateBus(Kind kind = Kind::Session);
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool start();
    QString address() const { return m_address; }
    QString errorString() const { return m_error; }

private:
    Kind m_kind;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_address;
    QString m_error;
};

// A PulseAudio server of the test's own with one null sink, kSinkName, as its default: the client
// gets it through PULSE_SERVER=serverAddress(), and nothing reaches a real sound card or a user's
// session.
class PulseServer {
public:
    static constexpr const char* kSinkName = "quillo_test";
    static constexpr int kRate = 48000;

    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // Waits until the server answers.
    bool start();
    QString serverAddress() const;
    QString errorString() const { return m_error; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_error;
};

// The null sink's monitor, recorded as it arrives and cut into 100 ms windows.
//
// The null sink produces samples only while something plays into it, so a silent stretch may have
// no windows at all. Each window is stamped with the time its last sample arrived, on this
// recorder's clock (now()); with 20 ms of recording latency that is within a few tens of ms of
// when it was played. Levels are fractions of full scale.
class SinkRecorder {
public:
    // An RMS above this over 100 ms is a sound: about -40 dBFS, while the sink's silence is zero.
    static constexpr double kSoundRms = 0.01;
    static constexpr int kWindowMs = 100;

    struct Window {
        qint64 endMs = 0;
        double rms = 0;
        double peak = 0;
    };

    explicit SinkRecorder(const PulseServer& server);
    ~SinkRecorder();
    SinkRecorder(const SinkRecorder&) = delete;
    SinkRecorder& operator=(const SinkRecorder&) = delete;

    bool start();
    qint64 now() const { return m_clock.elapsed(); }
    // Each of these reads what has arrived first.
    QList<Window> windows();
    // The end of the first window at or after fromMs whose RMS is above threshold.
    std::optional<qint64> firstSound(qint64 fromMs, double threshold = kSoundRms);
    // Where each separate sound began: a window above threshold with none in the 500 ms before it.
    QList<qint64> soundStarts(qint64 fromMs, double threshold = kSoundRms);
    // The highest window RMS between the two times, 0 when nothing arrived.
    double loudest(qint64 fromMs, qint64 toMs);

private:
    void pump();

    const PulseServer& m_server;
    QProcess m_process;
    QElapsedTimer m_clock;
    QByteArray m_pending;
    double m_sumSquares = 0;
    double m_peak = 0;
    int m_samples = 0;
    QList<Window> m_windows;
};

// Reads the recorder for that long, so that each window gets the time it really arrived at.
void listen(SinkRecorder& recorder, int ms);
// Waits for cond while reading the recorder, for the same reason.
bool waitListening(SinkRecorder& recorder, const std::function<bool()>& cond, int ms);
// Plays soundFile with paplay and waits until it was heard and the sink is quiet again: the first
// sound through a new server and its recorder arrives late (about 1.5 s), whoever plays it.
bool primeSink(const PulseServer& pulse, SinkRecorder& recorder, const QString& soundFile);

// logind as far as sleep goes, on a system bus of its own (tests/support/fake_logind.py): the
// client gets it through DBUS_SYSTEM_BUS_ADDRESS=busAddress().
class FakeLogind {
public:
    FakeLogind();
    ~FakeLogind();
    FakeLogind(const FakeLogind&) = delete;
    FakeLogind& operator=(const FakeLogind&) = delete;

    // Starts the bus and the service, and waits until the service owns its name.
    bool start();
    QString busAddress() const { return m_bus.address(); }
    QString errorString() const { return m_error; }
    // Emits PrepareForSleep(starting) and waits until it has gone out.
    bool prepareForSleep(bool starting, int ms = 5000);
    // What the service reported: "inhibit <what> <who> <why> <mode>", "released <who>", ...
    QStringList log();

private:
    void pump();

    PrivateBus m_bus{PrivateBus::Kind::System};
    QProcess m_service;
    QStringList m_log;
    QString m_error;
};

// One connection to $DISPLAY held open. An X server without clients resets, and a program that
// connects during the reset (just after another program's last connection closed) fails; a test
// that starts X programs one after another without a window manager holds one of these.
class DisplayKeeper {
public:
    // Waits up to ms for the display to take the connection.
    explicit DisplayKeeper(int ms = 10000);
    ~DisplayKeeper();
    DisplayKeeper(const DisplayKeeper&) = delete;
    DisplayKeeper& operator=(const DisplayKeeper&) = delete;
    bool isValid() const { return m_display != nullptr; }

private:
    ::_XDisplay* m_display = nullptr;
};

// An XEmbed system tray (trayer, docked at the bottom right of the screen) on $DISPLAY.
class TrayHost {
public:
    TrayHost();
    ~TrayHost();
    TrayHost(const TrayHost&) = delete;
    TrayHost& operator=(const TrayHost&) = delete;

    // Waits until the tray owns the display's tray selection.
    bool start(int ms = 10000);
    QString errorString() const { return m_error; }

    // The window that owns the tray selection of the default screen, if a tray runs.
    static std::optional<x11::WindowId> manager();
    // A viewable window of the program with that pid (_NET_WM_PID) inside a window of trayer: the
    // program's tray icon, embedded.
    static std::optional<x11::WindowId> findIcon(qint64 pid, int ms);

private:
    std::unique_ptr<DisplayKeeper> m_display;
    QProcess m_process;
    QString m_error;
};

// The window's pixels as the X server has them now (null if it is not viewable).
QImage grabWindow(x11::WindowId window);

// One message that dbus-monitor printed, with its arguments decoded: strings, object paths and
// signatures as QString; each integer type as its own C++ type (int64 as qint64, byte as uchar,
// ...); double; bool; an array of bytes as QByteArray; an array of dict entries as QVariantMap
// keyed by the key's text; other arrays and structs as QVariantList; a variant as its value.
struct BusMessage {
    QString type; // "signal", "method call", "method return" or "error"
    QString sender;
    QString destination;
    QString path;
    QString interface;
    QString member;
    QVariantList args;
};

// Parses dbus-monitor's default output. How many characters were whole messages goes to complete,
// so the caller can keep the rest; the last message counts only when endIsWhole, as the text
// cannot tell a message that has ended from one still arriving.
QList<BusMessage> parseBusMonitor(const QString& text, qsizetype* complete = nullptr, bool endIsWhole = true);

// Match rules for what the alerting tests watch.
inline const QString kLauncherEntryRule =
    QStringLiteral("type='signal',interface='com.canonical.Unity.LauncherEntry',member='Update'");
inline const QString kNotifyRule =
    QStringLiteral("type='method_call',interface='org.freedesktop.Notifications',member='Notify'");
inline const QString kPrepareForSleepRule =
    QStringLiteral("type='signal',interface='org.freedesktop.login1.Manager',member='PrepareForSleep'");

// dbus-monitor on one bus, restricted to the given match rules.
class BusMonitor {
public:
    BusMonitor(const QString& busAddress, const QStringList& rules);
    ~BusMonitor();
    BusMonitor(const BusMonitor&) = delete;
    BusMonitor& operator=(const BusMonitor&) = delete;

    // Waits until the monitor is in place, so nothing sent after it returns is missed.
    bool start(int ms = 10000);
    // Every matching message so far, reading what has arrived first.
    QList<BusMessage> messages();
    QList<BusMessage> messages(const QString& interface, const QString& member);

private:
    void pump();

    QString m_address;
    QStringList m_rules;
    QProcess m_process;
    QString m_text;
    QElapsedTimer m_sinceData;
    bool m_ready = false;
    QList<BusMessage> m_messages;
};

// at-spi2-core's accessibility bus, announced on the given session bus, as a desktop session has
// it. A Qt program on that session bus with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 shows its tree there.
class AccessibilityBus {
public:
    explicit AccessibilityBus(const QString& sessionBusAddress);
    ~AccessibilityBus();
    AccessibilityBus(const AccessibilityBus&) = delete;
    AccessibilityBus& operator=(const AccessibilityBus&) = delete;

    // Waits until the accessibility bus answers.
    bool start(int ms = 10000);
    QString errorString() const { return m_error; }

    // The application's accessible tree from tests/support/atspi_dump.py: {name, role, description,
    // states, children}, waiting up to ms for the application to appear.
    std::optional<QJsonObject> tree(const QString& appName, int ms = 10000) const;
    // Does the action (such as "Press") of the application's showing node with that name and role,
    // as a screen reader's user would; whether it was found and done.
    bool doAction(const QString& appName, const QString& name, const QString& role,
                  const QString& action) const;

private:
    QString m_sessionBus;
    QTemporaryDir m_dir;
    QProcess m_launcher;
    QString m_error;
};

// Every node of an accessible tree that satisfies pred, in document order.
QList<QJsonObject> findAccessible(const QJsonObject& tree,
                                  const std::function<bool(const QJsonObject&)>& pred);

// AT-SPI events of one application, such as "object:state-changed:showing", as JSON objects
// {type, detail1, detail2, source: {name, role, description, states}}.
class AccessibilityEvents {
public:
    AccessibilityEvents(const QString& sessionBusAddress, const QString& appName, const QStringList& kinds);
    ~AccessibilityEvents();
    AccessibilityEvents(const AccessibilityEvents&) = delete;
    AccessibilityEvents& operator=(const AccessibilityEvents&) = delete;

    // Waits until the listener is registered.
    bool start(int ms = 10000);
    QList<QJsonObject> events();

private:
    void pump();

    QString m_sessionBus;
    QString m_appName;
    QStringList m_kinds;
    QProcess m_process;
    QList<QJsonObject> m_events;
};

} // namespace quillo::e2e
