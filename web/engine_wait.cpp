#include "web/engine_wait.h"

namespace quillo::web {
namespace {
// Only the user-interface thread runs the engine's callbacks.
int s_depth = 0;
} // namespace

EngineWait::EngineWait() {
    ++s_depth;
}

EngineWait::~EngineWait() {
    --s_depth;
}

bool EngineWait::active() {
    return s_depth > 0;
}

} // namespace quillo::web
