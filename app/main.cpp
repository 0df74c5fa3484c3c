#include "app/chat_app.h"
#include "resources/resource_strings.h"

#include <QApplication>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Chromium refuses to run its sandbox as root; only then is it switched off.
#ifdef Q_OS_UNIX
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(quillo::res::kApplicationVersion));
    QApplication::setOrganizationName(QStringLiteral("Quillo"));

    CChatApp chatApp;
    chatApp.InitInstance();
    return 0;
}
