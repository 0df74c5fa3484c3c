#pragma once

namespace quillo::web {

// Marks a nested event loop that the client runs inside a callback of the browser engine (a
// console's script box that must return its answer, a file chooser). While one runs, the engine
// runs no page's work at all, so no page can answer: the hang check must not count that silence.
class EngineWait final {
public:
    EngineWait();
    ~EngineWait();
    EngineWait(const EngineWait&) = delete;
    EngineWait& operator=(const EngineWait&) = delete;

    // Whether such a loop runs now.
    static bool active();
};

} // namespace quillo::web
