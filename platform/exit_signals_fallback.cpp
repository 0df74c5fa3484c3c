#include "platform/exit_signals.h"

namespace quillo {

// Windows ends a GUI program through its session messages, which Qt already turns into events.
struct ExitSignals::Private {};

ExitSignals::ExitSignals(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>()) {}

ExitSignals::~ExitSignals() = default;

bool ExitSignals::isActive() const {
    return false;
}

} // namespace quillo
