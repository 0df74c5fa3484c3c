#pragma once

#include <functional>

class QObject;
class QWidget;

namespace quillo::page_services {

// Marks a nested event loop that the client runs inside a callback of the browser engine: a
// console's script box that must return its answer, a file chooser. While one runs, the engine
// runs no page's work at all, so no page can answer (the hang check must not count that silence)
// and nothing sent to a page arrives (an accept must wait for the box's answer).
class EngineWait final {
public:
    // box: what the operator must answer to end the wait.
    explicit EngineWait(QWidget& box);
    ~EngineWait();
    EngineWait(const EngineWait&) = delete;
    EngineWait& operator=(const EngineWait&) = delete;

    // Whether such a loop runs now.
    static bool active();
    // The box of the innermost such loop, while one runs.
    static QWidget* box();
    // Runs `then` once no such loop runs any more and the engine has the answer (queued, on
    // `context`, which it does not outlive); at once, queued, when none runs now.
    static void whenOver(QObject& context, std::function<void()> then);
};

} // namespace quillo::page_services
