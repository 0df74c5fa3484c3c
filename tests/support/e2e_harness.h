#pragma once

// What the end-to-end tests drive: the demo chat service, a throwaway settings home, the real
// quillo process, and the X11 display they run on. Everything here observes from the outside,
// as a user or a page could.

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

struct _XDisplay; // Xlib's Display, kept out of this header

// A check on the client that fails with what the client printed, since that says why.
#define QUILLO_VERIFY(condition, process) QVERIFY2(condition, qPrintable((process).output()))

namespace quillo::e2e {

// Whole-file helpers for fixtures and for what the client wrote; an unreadable file reads empty.
bool writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);

// Stands in for the desktop's default browser: an xdg-open (what Qt asks first on a Unix desktop)
// in folder, put first on PATH, that writes down each address it is given.
bool installDefaultBrowser(const QString& folder);
// The addresses the stand-in was given, oldest first.
QStringList defaultBrowserOpened(const QString& folder);

// The title of a page's own alert()/confirm() box, as the client names it for the page's origin.
QString scriptBoxTitle(const QUrl& pageOrigin);

// Paths of the built programs under test; $QUILLO_UNDER_TEST names another quillo, such as the
// installed one.
QString demoServiceBinary();
QString quilloBinary();

// Makes the process end with the test: a test killed on timeout leaves no service, browser or
// window manager running behind it.
void endWithParent(QProcess& process);

// The built quillo-demo-service on 127.0.0.1, on a free port.
//
// Pages post reports to it: {page, event, href, version, external, ...} plus host, scheme and
// time_ms (ms since the epoch) added by the service. Events: "load" (window load), "version"
// (300 ms after load and whenever the chatVersion element changes), "calling"/"called" around a
// command's window.external call ({call, args} / {call, result, error}), "navigating" ({url}),
// and "accepted" ({text}: the text of cmdHidden when it was clicked).
// The request log holds {method, path, query, host, scheme, cookie, time_ms} per page request.
// /session/logon sets a session cookie; /session/<case> serves a case page only with it.
class DemoService {
public:
    DemoService();
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    // With tls, also serves HTTPS with a throwaway self-signed certificate made by openssl. A port
    // of 0 takes any free one; another brings a stopped service back where it was.
    bool start(bool tls = false, quint16 port = 0);
    void stop();
    QString errorString() const { return m_error; }

    quint16 port() const { return m_port; }
    quint16 tlsPort() const { return m_tlsPort; }
    // The PEM file of the throwaway certificate, while the service serves HTTPS.
    QString certificatePath() const;
    QUrl baseUrl() const;
    // Chromium --host-resolver-rules that send every host to this service: https (port 443) to
    // the TLS listener when there is one, everything else to the plain one.
    QString hostResolverRules() const;

    QJsonArray requests() const;
    QJsonArray reports() const;
    // The first report that satisfies pred, polling until ms have passed.
    std::optional<QJsonObject> waitForReport(const std::function<bool(const QJsonObject&)>& pred,
                                             int ms) const;
    std::optional<QJsonObject> waitForRequest(const std::function<bool(const QJsonObject&)>& pred,
                                              int ms) const;
    // {call: "CB_...", args: [...]}, {action: name, args: [...]} (the page's own named actions) or
    // {navigate: url}; {page: "console"} addresses one page kind.
    bool pushCommand(const QJsonObject& command) const;
    // One of a test page's own named actions, on the page of that kind.
    bool pushAction(const QString& page, const QString& action, const QJsonArray& args = {}) const;
    // How many logged page requests were for path.
    int requestCount(const QString& path) const;
    // The next `requests` requests for path are answered with status, as a load balancer answers
    // while the service behind it restarts; reset() ends it.
    bool setOutage(const QString& path, int status, int requests) const;
    // Downloads asked for with "&held" get their first bytes at once and the rest only here; with
    // fail, their connections break instead. A reset fails them too.
    bool releaseDownloads(bool fail) const;
    bool reset() const;

private:
    std::optional<QByteArray> get(const QString& path) const;
    bool post(const QString& path, const QByteArray& body) const;

    QProcess m_process;
    std::unique_ptr<QTemporaryDir> m_certDir;
    quint16 m_port = 0;
    quint16 m_tlsPort = 0;
    QString m_error;
};

// A temporary XDG config and data home. The settings live in exactly one file there, the one
// QSettings uses for organisation "Tarnwick", application "Tarnwick Live Chat".
class ConfigHome {
public:
    ConfigHome();
    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString configDir() const;
    QString dataDir() const;
    QString cacheDir() const;
    QString settingsPath() const;
    // The client's own file (zoom, window state, spelling, sound), apart from the Tarnwick key.
    QString clientSettingsPath() const;

    // Creates the key (the file) and sets the given values; a nullopt value is left absent.
    void writeSettings(std::optional<QString> orderId, std::optional<QString> url) const;
    // Deletes the key altogether, as on a machine where the installer never ran.
    void removeKey() const;
    bool keyExists() const;
    // Read fresh from the file each time, so a test sees what quillo wrote.
    std::optional<QString> value(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// The real quillo, with its settings in a ConfigHome and every host name mapped to the demo
// service. Output goes to files, so a chatty browser can never block on a full pipe.
class QuilloProcess {
public:
    QuilloProcess(const ConfigHome& home, const DemoService& service,
                  const QStringList& extraChromiumFlags = {});
    ~QuilloProcess();
    QuilloProcess(const QuilloProcess&) = delete;
    QuilloProcess& operator=(const QuilloProcess&) = delete;

    // Before start(): one more variable in the client's environment.
    void setEnvironmentVariable(const QString& name, const QString& value);
    // Before start(): where the client starts, as a desktop autostart may start it (the settings
    // home's root unless set).
    void setWorkingDirectory(const QString& path);
    bool start();
    bool waitForExit(int ms);
    bool isRunning() const;
    int exitCode() const;
    QProcess::ExitStatus exitStatus() const;
    qint64 pid() const;
    void terminate();
    void kill();
    // stdout and stderr so far, for failure messages.
    QString output() const;

private:
    const ConfigHome& m_home;
    QProcess m_process;
};

// Sum of Pss (kB) over the process and all its descendants, from /proc/<pid>/smaps_rollup.
qint64 processTreePss(qint64 pid);
QList<qint64> processTreePids(qint64 pid);
// The engine's renderer processes under pid.
QList<qint64> rendererPids(qint64 pid);

namespace x11 {

using WindowId = unsigned long;

// Whether $DISPLAY names a server this process may connect to.
bool displayAvailable();

// A viewable client window whose title (_NET_WM_NAME, else WM_NAME) is exactly title.
std::optional<WindowId> findWindowByTitle(const QString& title, int ms);
// Every viewable client window whose title is exactly title.
QList<WindowId> windowsByTitle(const QString& title);
// Asks the window to close, as its close box would (WM_DELETE_WINDOW).
bool requestClose(WindowId window);
// A viewable window whose _NET_WM_WINDOW_TYPE includes the given type, such as
// "_NET_WM_WINDOW_TYPE_POPUP_MENU" for an open menu.
std::optional<WindowId> findWindowByType(const QString& type, int ms);
// Viewable windows directly under the root: client windows, window-manager frames, popups.
QList<WindowId> topLevelWindows();
// A popup (an override-redirect window, such as an open menu) that was not among before.
std::optional<WindowId> waitForNewPopup(const QList<WindowId>& before, int ms);
// Outer geometry on the screen, including the window manager's frame when there is one.
QRect frameGeometry(WindowId window);
// The window's own area on the screen.
QRect clientGeometry(WindowId window);
bool isUrgent(WindowId window);
bool isViewable(WindowId window);
std::optional<WindowId> activeWindow();
// True when the window has no window-manager decoration: the frame and client rects coincide.
bool isUndecorated(WindowId window);

// Input through xdotool, in screen coordinates. Each returns whether xdotool succeeded.
bool click(int x, int y, int button = 1);
// count clicks of the left button at one point, delayMs apart, as an operator hammering a link.
bool clicks(int x, int y, int count, int delayMs);
bool moveMouse(int x, int y);
// Moves to `over`, then at once to `away`, in one go: a poll armed by the first move finds the
// pointer gone, however slow the machine is to start a program.
bool moveMouseOverAndAway(QPoint over, QPoint away);
bool key(const QString& combo);
// Types text into the focused window, character by character.
bool typeText(const QString& text);
bool drag(int fromX, int fromY, int toX, int toY, int button = 1);
// Turns the wheel at a point by whole notches, away from the user when positive, with a key such
// as "ctrl" held down when given.
bool wheel(int x, int y, int notches, const QString& heldKey = {});
// Raises and focuses the window (through the window manager when one runs).
bool activate(WindowId window);
// Resizes the window's own area, as the operator dragging its border would.
bool resizeWindow(WindowId window, int width, int height);
// A viewable override-redirect window (a popup menu, a tooltip) of the program whose WM_CLASS
// instance name is instanceName, topmost first.
std::optional<WindowId> findPopupWindow(const QString& instanceName, int ms);
bool screenshot(const QString& path);

// A running window manager; stops the one it started when destroyed.
class WindowManager {
public:
    ~WindowManager();
    bool started() const { return m_process != nullptr; }

private:
    friend std::unique_ptr<WindowManager> startWindowManager(int ms);
    std::unique_ptr<QProcess> m_process;
};
bool windowManagerRunning();
// Starts openbox unless a window manager already runs; null when none could be had in ms.
std::unique_ptr<WindowManager> startWindowManager(int ms = 30000);

// A top-level X11 window of another program, made inside the test process with plain Xlib.
// It closes when asked to (WM_DELETE_WINDOW), and remembers when that was.
class ForeignWindow {
public:
    ForeignWindow(const QString& windowClass, const QString& title);
    ~ForeignWindow();
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;

    bool isValid() const { return m_window != 0; }
    WindowId id() const { return m_window; }
    // Handles pending events first, so the answer is current.
    bool wasCloseRequested();
    std::optional<std::chrono::steady_clock::time_point> closeRequestedAt();
    bool isOpen();

private:
    void pump();

    ::_XDisplay* m_display = nullptr;
    WindowId m_window = 0;
    bool m_open = false;
    std::optional<std::chrono::steady_clock::time_point> m_closeRequestedAt;
};

// The X server's time now, as a launcher stamps a launch with the time of the click.
unsigned long serverTime();

// Client messages sent to the root window, as a window manager or a launcher's busy cursor sees
// them: start-up notification texts, each joined from its _NET_STARTUP_INFO_BEGIN and
// _NET_STARTUP_INFO pieces, and requests to activate a window (_NET_ACTIVE_WINDOW).
class RootMessages {
public:
    struct Activation {
        WindowId window = 0;
        long source = 0; // 1: an application, 2: a pager
        unsigned long time = 0;
    };

    RootMessages();
    ~RootMessages();
    RootMessages(const RootMessages&) = delete;
    RootMessages& operator=(const RootMessages&) = delete;

    bool isValid() const { return m_display != nullptr; }
    // Each handles pending messages first, so the answer is current.
    QStringList startupMessages();
    QList<Activation> activations();

private:
    void pump();

    ::_XDisplay* m_display = nullptr;
    QMap<WindowId, QByteArray> m_partial;
    QStringList m_startup;
    QList<Activation> m_activations;
};

} // namespace x11
} // namespace quillo::e2e
