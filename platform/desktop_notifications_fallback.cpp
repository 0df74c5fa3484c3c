#include "platform/desktop_notifications.h"

#include <QTimer>

namespace quillo {

namespace {

// Where no notification service is known, every notification is left to the client's own popup.
class NoDesktopNotifications final : public DesktopNotifications {
public:
    void show(const Notification&, quint32, Shown shown) override {
        QTimer::singleShot(0, this, [shown = std::move(shown)] { shown(std::nullopt); });
    }
    void close(quint32) override {}
};

} // namespace

std::unique_ptr<DesktopNotifications> createDesktopNotifications() {
    return std::make_unique<NoDesktopNotifications>();
}

} // namespace quillo
