#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QTimerEvent>
#include <map>
#include <utility>
#include <vector>

namespace quillo {

// Window timers by identifier: starting one that runs restarts it with the new period, and each
// window keeps its own identifiers. Ticks arrive as timer events on the owner's thread.
class WindowTimers final {
public:
    explicit WindowTimers(QObject* owner)
        : m_owner(owner) {}

    void set(int id, int periodMs) { m_timers[id].start(periodMs, Qt::PreciseTimer, m_owner); }
    void kill(int id) {
        if (auto it = m_timers.find(id); it != m_timers.end())
            it->second.stop();
    }
    // Stops the first list, then (re)starts the second: identifiers and periods in ms.
    void change(const std::vector<int>& stop, const std::vector<std::pair<int, int>>& start) {
        for (const int id : stop)
            kill(id);
        for (const auto& [id, periodMs] : start)
            set(id, periodMs);
    }
    bool isActive(int id) const {
        const auto it = m_timers.find(id);
        return it != m_timers.end() && it->second.isActive();
    }
    // The identifier of the timer behind a timer event, or 0 when the event is not one of ours.
    int idOf(const QTimerEvent* event) const {
        for (const auto& [id, timer] : m_timers)
            if (timer.isActive() && timer.timerId() == event->timerId())
                return id;
        return 0;
    }

private:
    QObject* m_owner;
    std::map<int, QBasicTimer> m_timers;
};

} // namespace quillo
