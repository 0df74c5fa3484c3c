#pragma once

#include <QObject>
#include <memory>

namespace quillo {

// Turns the signals by which a session or a user asks a program to end (SIGTERM, SIGINT, SIGHUP)
// into a Qt signal on the thread that made this object. The handler only writes a byte; all else
// happens later in the event loop. One per process.
class ExitSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExitSignals)

public:
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

    // False where the platform has no such signals or they could not be hooked.
    bool isActive() const;

signals:
    void exitRequested(int signalNumber);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quillo
