#include "app/chat_app.h"
#include "app/command_line.h"
#include "app/engine_flags.h"
#include "app/lock_question.h"
#include "app/single_instance.h"
#include "app/translations.h"
#include "network_access/network_log.h"
#include "network_access/network_settings.h"
#include "platform/exit_signals.h"
#include "platform/launch_feedback.h"
#include "resources/version_info.h"
#include "settings/client_settings.h"

#include <QApplication>
#include <QSysInfo>
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
    // The client's own settings, for the whole run; read before the engine starts.
    quillo::ClientSettings settings;
    const QString singleSignOn = quillo::network::singleSignOnServers(settings);
    const QByteArray engineFlags =
        QByteArray::fromStdString(quillo::engineFlags(userFlags.toStdString(), singleSignOn.toStdString()));
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", engineFlags);
    // Support reads here which servers the engine may sign in to with the desktop's ticket.
    if (!singleSignOn.isEmpty())
        qCInfo(quillo::network::lcNetwork).noquote()
            << "single sign-on servers" << singleSignOn << "- engine flags:" << engineFlags;
    // The pages are plain chat forms: composing them on the CPU saves a graphics context per
    // browser window, which dominates the client's memory once pages open many windows.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const quillo::LaunchToken launch = quillo::launchTokenFromEnvironment();
    QApplication application(argc, argv);
    if (!quillo::acceptArguments(application))
        return 1;
    // Before any window, the lock question included.
    quillo::installTranslations(application);
    QApplication::setOrganizationName(QStringLiteral("Quillo"));
    // Names the installed desktop entry, so a Wayland desktop shows the entry's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tarnwick.Quillo"));
    quillo::noteSessionLimits();

    // A second start shows the first one's window and ends before it opens one of its own; one
    // whose lock names a client it cannot reach asks the operator first.
    quillo::SingleInstance instance(quillo::SingleInstance::defaultLockDirectory());
    const auto claim = instance.claim(launch, [](const std::optional<quillo::LockOwner>& owner) {
        return quillo::askToStartAnyway(owner, QSysInfo::machineHostName());
    });
    if (claim != quillo::SingleInstance::Claim::Owned) {
        // The launcher's busy cursor waits for a window of this process, which never comes.
        quillo::completeLaunch(launch);
        return claim == quillo::SingleInstance::Claim::HandedOver ? 0 : 1;
    }

    CChatApp chatApp(settings);
    quillo::ExitSignals exitSignals;
    QObject::connect(&exitSignals, &quillo::ExitSignals::exitRequested, &application,
                     [&chatApp] { chatApp.endSession(); });
    // The desktop session's end needs nothing here: the session manager asks for a save (a
    // checkpoint asks the same while the session goes on, so that must end nothing; the
    // operator's settings are written as they change), then tells the client to end, which Qt
    // turns into a quit that closes every window as its close button does.
    QObject::connect(&instance, &quillo::SingleInstance::activationRequested, &application,
                     [&chatApp](const quillo::LaunchToken& launch) { chatApp.activateMainWindow(launch); });
    chatApp.InitInstance();
    return 0;
}
