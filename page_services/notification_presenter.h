#pragma once

#include <QObject>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>

class QWebEngineNotification;
class QWidget;

namespace quillo {
class DesktopNotifications;
namespace notify {
class PopupStack;
class WebNotificationCard;
} // namespace notify
} // namespace quillo

namespace quillo::page_services {

// Shows the pages' web notifications: through the desktop's notification service where there is
// one, else in the client's own popup, never dropped. A click brings the operator's main window
// forward and runs the page's onclick.
class NotificationPresenter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationPresenter)

public:
    using TrustRule = std::function<bool(const QUrl& origin)>;
    using MainWindow = std::function<QWidget*()>;

    // popups: the corner the client's own card shares with the chat popup; not owned.
    NotificationPresenter(TrustRule trusted, MainWindow mainWindow, notify::PopupStack* popups,
                          QObject* parent);
    ~NotificationPresenter() override;

    void present(std::unique_ptr<QWebEngineNotification> notification);
    // Clicks the notification as the operator's click on it would; false when it is not shown
    // (any more).
    bool click(quint64 key);

signals:
    // A trusted page's notification goes to the operator, who should hear it; key names it in the
    // signals below.
    void notificationShown(quint64 key);
    // The operator clicked it; the page's onclick ran.
    void notificationClicked(quint64 key);
    // The page closed it itself.
    void notificationClosedByPage(quint64 key);
    // Gone from the screen otherwise: its time ended, the operator closed it, or another took its
    // place.
    void notificationGone(quint64 key);

private:
    struct Shown {
        std::unique_ptr<QWebEngineNotification> notification;
        quint64 key = 0;
    };

    void onShown(quint64 serial, quint32 replacesId, std::optional<quint32> id);
    void onActivated(quint32 id);
    // The key of the notification shown under that id, if any; it is no longer kept.
    std::optional<quint64> forget(quint32 id);
    void showInPopup(std::unique_ptr<QWebEngineNotification> notification, quint64 key);
    // Drops the notification on the client's card without telling the page.
    void forgetPopup();
    void activate(QWebEngineNotification& notification);

    TrustRule m_trusted;
    MainWindow m_mainWindow;
    notify::PopupStack* m_popups = nullptr;
    std::unique_ptr<DesktopNotifications> m_desktop;
    // Waiting for the service's answer, by a serial of our own.
    std::map<quint64, std::unique_ptr<QWebEngineNotification>> m_pending;
    quint64 m_nextSerial = 1;
    // On the desktop, by the service's id.
    std::map<quint32, Shown> m_shown;
    std::unique_ptr<notify::WebNotificationCard> m_popup;
    std::unique_ptr<QWebEngineNotification> m_inPopup;
    quint64 m_inPopupKey = 0;
};

} // namespace quillo::page_services
