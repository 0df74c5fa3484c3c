#include "platform/launch_feedback.h"

#include "platform/launch_feedback_x11.h"

#include <QGuiApplication>
#include <QWidget>

namespace quillo {
namespace {

std::string acceptable(const QByteArray& value) {
    const std::string token = value.toStdString();
    return isAcceptableLaunchToken(token) ? token : std::string();
}

} // namespace

LaunchToken launchTokenFromEnvironment() {
    return {acceptable(qgetenv("DESKTOP_STARTUP_ID")), acceptable(qgetenv("XDG_ACTIVATION_TOKEN"))};
}

bool activateForLaunch(QWidget* window, const LaunchToken& token) {
    if (window == nullptr)
        return false;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        if (token.activationToken.empty())
            return false;
        // Qt's xdg-shell plugin (6.4) activates with the token in XDG_ACTIVATION_TOKEN when a
        // window asks to be activated, and removes it from the environment once used.
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(token.activationToken));
        window->activateWindow();
        return true;
    }
    return !token.startupId.empty() && activateForX11Launch(window, token.startupId);
}

void completeLaunch(const LaunchToken& token) {
    // A Wayland token ends when it is used or expires; only X11's feedback waits for a message.
    if (!token.startupId.empty())
        completeX11Launch(token.startupId);
}

} // namespace quillo
