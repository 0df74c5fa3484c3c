#include "app/chat_app.h"
#include "app/command_line.h"
#include "app/engine_flags.h"
#include "app/single_instance.h"
#include "platform/exit_signals.h"
#include "resources/version_info.h"

#include <QApplication>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationVersion(QString::fromLatin1(quillo::res::kApplicationVersion));
    quillo::answerInformationalOptions(argc, argv);
    if (!quillo::chooseSessionPlatform(argc, argv))
        return 1;
        // Chromium refuses to run its sandbox as root; only then is it switched off.
#ifdef Q_OS_UNIX
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    const QByteArray userFlags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            QByteArray::fromStdString(quillo::engineFlags(userFlags.toStdString())));
    // The pages are plain chat forms: composing them on the CPU saves a graphics context per
    // browser window, which dominates the client's memory once pages open many windows.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    if (!quillo::acceptArguments(application))
        return 1;
    QApplication::setOrganizationName(QStringLiteral("Quillo"));
    // Names the installed desktop entry, so a Wayland desktop shows the entry's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tarnwick.Quillo"));
    quillo::noteSessionLimits();

    // A second start shows the first one's window and ends before it opens one of its own.
    quillo::SingleInstance instance(quillo::SingleInstance::defaultLockDirectory());
    if (!instance.claim())
        return 0;

    CChatApp chatApp;
    quillo::ExitSignals exitSignals;
    QObject::connect(&exitSignals, &quillo::ExitSignals::exitRequested, &application,
                     [&chatApp] { chatApp.EndSession(); });
    // The desktop session's end needs nothing here: the session manager asks for a save (a
    // checkpoint asks the same while the session goes on, so that must end nothing; the
    // operator's settings are written as they change), then tells the client to end, which Qt
    // turns into a quit that closes every window as its close button does.
    QObject::connect(&instance, &quillo::SingleInstance::activationRequested, &application,
                     [&chatApp] { chatApp.ActivateMainWindow(); });
    chatApp.InitInstance();
    return 0;
}
