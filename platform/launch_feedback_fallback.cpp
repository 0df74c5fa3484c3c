#include "platform/launch_feedback_x11.h"

namespace quillo {

// Without X11 there is no start-up notification to answer.
bool activateForX11Launch(QWidget*, const std::string&) {
    return false;
}

bool completeX11Launch(const std::string&) {
    return false;
}

} // namespace quillo
