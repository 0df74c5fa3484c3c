#include "app/command_line.h"

#include "app/session_platform.h"
#include "platform/display_probe.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <cstring>

Q_LOGGING_CATEGORY(lcSession, "quillo.session")

namespace quillo {
namespace {

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Operator console of the Tarnwick live chat.\n"
                       "The order number and chat address are set with quillo-setup."));
    parser.addHelpOption();
    parser.addVersionOption();
}

// The toolkit's own -platform argument is a choice just like QT_QPA_PLATFORM, and wins over it.
QByteArray userPlatform(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return argv[i + 1];
    }
    return qgetenv("QT_QPA_PLATFORM");
}

} // namespace

void answerInformationalOptions(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describe(parser);
    // Unknown options may be the toolkit's own (-platform, -style); they are judged later.
    parser.parse(arguments);
    if (!parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("help-all")) &&
        !parser.isSet(QStringLiteral("version")))
        return;
    const QCoreApplication application(argc, argv);
    QCommandLineParser answering;
    describe(answering);
    answering.process(application); // prints the answer (or the error) and ends the process
}

bool chooseSessionPlatform(int argc, char** argv) {
    const DisplayProbe probe = probeDisplays();
    const PlatformChoice choice =
        choosePlatform(userPlatform(argc, argv).toStdString(), {probe.x11, probe.wayland, probe.native});
    if (!choice.hasDisplay) {
        std::fputs("quillo: needs a graphical session (X11 or Wayland), and none was found\n", stderr);
        return false;
    }
    if (choice.platform)
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*choice.platform));
    return true;
}

bool acceptArguments(const QCoreApplication& application) {
    QCommandLineParser parser;
    describe(parser);
    parser.process(application); // an unknown option ends the process here, with status 1
    if (parser.positionalArguments().isEmpty())
        return true;
    std::fprintf(stderr, "quillo: takes no arguments: %s\n",
                 qPrintable(parser.positionalArguments().join(QLatin1Char(' '))));
    return false;
}

void noteSessionLimits() {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qCInfo(lcSession) << "running on native Wayland: the compositor decides where the chat-request"
                             " popup and the pages' windows appear, and whether flashing shows";
}

} // namespace quillo
