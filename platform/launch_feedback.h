#pragma once

#include "platform/launch_token.h"

class QWidget;

namespace quillo {

// The launch's tokens from this process's environment. Read before the QApplication exists: the
// toolkit takes the X11 id out of the environment when it connects.
LaunchToken launchTokenFromEnvironment();

// Brings window forward for a launch that another start handed over: the launch's token tells the
// window manager or compositor that the operator asked for it, so it grants the focus it would
// refuse a program acting on its own. False when no token could be used; the caller then asks the
// toolkit to activate the window as usual.
bool activateForLaunch(QWidget* window, const LaunchToken& token);

// Ends the desktop's start-up feedback (the busy cursor) for a launch that this process answers
// without a window of its own, since the toolkit ends it only when a window appears.
void completeLaunch(const LaunchToken& token);

} // namespace quillo
