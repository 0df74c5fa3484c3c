#pragma once

#include <string>

class QWidget;

namespace quillo {

// The X11 halves of launch_feedback.h; false where the client does not run on X11.
bool activateForX11Launch(QWidget* window, const std::string& startupId);
bool completeX11Launch(const std::string& startupId);

} // namespace quillo
