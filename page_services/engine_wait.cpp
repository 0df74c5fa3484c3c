#include "page_services/engine_wait.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <utility>
#include <vector>

namespace quillo::page_services {
namespace {

struct Waiter {
    QPointer<QObject> context;
    std::function<void()> then;
};

// Only the user-interface thread runs the engine's callbacks.
std::vector<QPointer<QWidget>> s_boxes;
std::vector<Waiter> s_waiters;

// Queued, so it runs after the engine's callback has returned with the box's answer.
void runLater(Waiter waiter) {
    if (waiter.context)
        QTimer::singleShot(0, waiter.context, std::move(waiter.then));
}

} // namespace

EngineWait::EngineWait(QWidget& box) {
    s_boxes.emplace_back(&box);
}

EngineWait::~EngineWait() {
    s_boxes.pop_back();
    if (!s_boxes.empty())
        return;
    for (Waiter& waiter : std::exchange(s_waiters, {}))
        runLater(std::move(waiter));
}

bool EngineWait::active() {
    return !s_boxes.empty();
}

QWidget* EngineWait::box() {
    return s_boxes.empty() ? nullptr : s_boxes.back().data();
}

void EngineWait::whenOver(QObject& context, std::function<void()> then) {
    Waiter waiter{&context, std::move(then)};
    if (active())
        s_waiters.push_back(std::move(waiter));
    else
        runLater(std::move(waiter));
}

} // namespace quillo::page_services
