#include "page_services/notification_presenter.h"

#include "notification/web_notification_card.h"
#include "page_services/page_marks.h"
#include "page_services/web_log.h"
#include "platform/desktop_notifications.h"
#include "resources/resource_loader.h"
#include "resources/resource_strings.h"

#include <QPixmap>
#include <QWebEngineNotification>
#include <QWidget>

namespace quillo::page_services {

namespace {

// The page's text and, below it, whose it is: the operator must tell a page's notice from the
// client's own.
QString bodyWithOrigin(const QWebEngineNotification& notification) {
    const QString origin = notification.origin().toDisplayString(QUrl::RemovePath | QUrl::StripTrailingSlash);
    return notification.message().isEmpty() ? origin : notification.message() + u'\n' + origin;
}

// The page's own icon where it gave one, else the client's.
QImage iconOf(const QWebEngineNotification& notification) {
    const QImage icon = notification.icon();
    return icon.isNull() ? res::loadAppIcon().pixmap(48, 48).toImage() : icon;
}

// Deletes a notification later: it may be the sender of the signal being handled.
void dispose(std::unique_ptr<QWebEngineNotification> notification) {
    if (notification)
        notification.release()->deleteLater();
}

} // namespace

NotificationPresenter::NotificationPresenter(TrustRule trusted, MainWindow mainWindow,
                                             notify::PopupStack* popups, QObject* parent)
    : QObject(parent)
    , m_trusted(std::move(trusted))
    , m_mainWindow(std::move(mainWindow))
    , m_popups(popups)
    , m_desktop(createDesktopNotifications()) {
    connect(m_desktop.get(), &DesktopNotifications::activated, this, &NotificationPresenter::onActivated);
    connect(m_desktop.get(), &DesktopNotifications::closed, this, [this](quint32 id) {
        if (const auto it = m_shown.find(id); it != m_shown.end())
            it->second.notification->close();
        if (const std::optional<quint64> key = forget(id))
            emit notificationGone(*key);
    });
}

NotificationPresenter::~NotificationPresenter() = default;

void NotificationPresenter::present(std::unique_ptr<QWebEngineNotification> notification) {
    // Only trusted pages hold the permission; this guards against one granted before a change.
    if (!notification || !m_trusted(notification->origin())) {
        if (notification)
            qCInfo(lcWeb) << "notification from" << notification->origin().toDisplayString()
                          << "dropped: origin not trusted";
        return;
    }
    const quint64 serial = m_nextSerial++;
    // Qt 6.4 does not pass on a notification's "silent" option, so every one counts as audible.
    emit notificationShown(serial);
    // A notification with the tag of one still shown takes its place, as in a browser.
    const std::string origin = notification->origin().toString().toStdString();
    const std::string tag = notification->tag().toStdString();
    quint32 replacesId = 0;
    for (const auto& [id, shown] : m_shown) {
        if (replacesNotification(origin, tag, shown.notification->origin().toString().toStdString(),
                                 shown.notification->tag().toStdString())) {
            replacesId = id;
            break;
        }
    }
    const bool stays = readNotificationTag(tag).stays;
    const DesktopNotifications::Notification desktop{.appName = QString::fromLatin1(res::kMainWindowTitle),
                                                     .title = notification->title(),
                                                     .body = bodyWithOrigin(*notification),
                                                     .icon = iconOf(*notification),
                                                     .actions = {},
                                                     .urgency = std::nullopt,
                                                     .expireTimeoutMs = expireTimeoutFor(stays)};
    if (stays)
        qCInfo(lcWeb) << "notification from" << notification->origin().toDisplayString()
                      << "asks to stay until acted on";
    m_pending.emplace(serial, std::move(notification));
    m_desktop->show(desktop, replacesId, [this, serial, replacesId](std::optional<quint32> id) {
        onShown(serial, replacesId, id);
    });
}

void NotificationPresenter::onShown(quint64 serial, quint32 replacesId, std::optional<quint32> id) {
    const auto pending = m_pending.find(serial);
    if (pending == m_pending.end())
        return;
    std::unique_ptr<QWebEngineNotification> notification = std::move(pending->second);
    m_pending.erase(pending);
    if (!id) {
        qCInfo(lcWeb) << "no notification service answered; notification from"
                      << notification->origin().toDisplayString() << "shown in the client's popup";
        showInPopup(std::move(notification), serial);
        return;
    }
    for (const quint32 gone : {replacesId, *id}) {
        if (const std::optional<quint64> key = gone != 0 ? forget(gone) : std::nullopt)
            emit notificationGone(*key);
    }
    qCInfo(lcWeb) << "notification from" << notification->origin().toDisplayString()
                  << "shown on the desktop, id" << *id;
    QWebEngineNotification* raw = notification.get();
    // The page may close its notification itself.
    connect(raw, &QWebEngineNotification::closed, this, [this, shownId = *id] {
        m_desktop->close(shownId);
        if (const std::optional<quint64> key = forget(shownId))
            emit notificationClosedByPage(*key);
    });
    m_shown.emplace(*id, Shown{std::move(notification), serial});
    raw->show();
}

void NotificationPresenter::onActivated(quint32 id) {
    const auto it = m_shown.find(id);
    if (it == m_shown.end())
        return;
    qCInfo(lcWeb) << "desktop notification" << id << "clicked";
    activate(*it->second.notification);
    emit notificationClicked(it->second.key);
}

bool NotificationPresenter::click(quint64 key) {
    if (m_inPopup && m_inPopupKey == key) {
        qCInfo(lcWeb) << "popup notification clicked from the keyboard";
        activate(*m_inPopup);
        forgetPopup();
        m_popup->dismiss();
        emit notificationClicked(key);
        return true;
    }
    for (const auto& [id, shown] : m_shown) {
        if (shown.key != key)
            continue;
        qCInfo(lcWeb) << "desktop notification" << id << "clicked from the keyboard";
        activate(*shown.notification);
        // The service leaves a notification up after a click of ours; the operator has seen it.
        m_desktop->close(id);
        forget(id);
        emit notificationClicked(key);
        return true;
    }
    return false;
}

std::optional<quint64> NotificationPresenter::forget(quint32 id) {
    const auto it = m_shown.find(id);
    if (it == m_shown.end())
        return std::nullopt;
    const quint64 key = it->second.key;
    disconnect(it->second.notification.get(), nullptr, this, nullptr);
    dispose(std::move(it->second.notification));
    m_shown.erase(it);
    return key;
}

void NotificationPresenter::forgetPopup() {
    if (m_inPopup)
        disconnect(m_inPopup.get(), nullptr, this, nullptr);
    dispose(std::move(m_inPopup));
}

void NotificationPresenter::showInPopup(std::unique_ptr<QWebEngineNotification> notification, quint64 key) {
    if (!m_popup) {
        m_popup = std::make_unique<notify::WebNotificationCard>(m_popups);
        connect(m_popup.get(), &notify::WebNotificationCard::clicked, this, [this] {
            if (m_inPopup) {
                qCInfo(lcWeb) << "popup notification clicked";
                activate(*m_inPopup);
                forgetPopup();
                emit notificationClicked(m_inPopupKey);
            }
        });
        connect(m_popup.get(), &notify::WebNotificationCard::dismissed, this, [this] {
            if (m_inPopup) {
                disconnect(m_inPopup.get(), nullptr, this, nullptr);
                m_inPopup->close();
                forgetPopup();
                emit notificationGone(m_inPopupKey);
            }
        });
    }
    // The popup shows one notification at a time, the latest.
    if (m_inPopup) {
        forgetPopup();
        emit notificationGone(m_inPopupKey);
    }
    m_inPopup = std::move(notification);
    m_inPopupKey = key;
    const bool stays = readNotificationTag(m_inPopup->tag().toStdString()).stays;
    // The page may close its notification itself; a card that stays would otherwise outlive it.
    connect(m_inPopup.get(), &QWebEngineNotification::closed, this, [this] {
        forgetPopup();
        emit notificationClosedByPage(m_inPopupKey);
        if (m_popup)
            m_popup->dismiss();
    });
    m_popup->showText(m_inPopup->title(), bodyWithOrigin(*m_inPopup), QPixmap::fromImage(iconOf(*m_inPopup)),
                      stays);
    m_inPopup->show();
}

void NotificationPresenter::activate(QWebEngineNotification& notification) {
    if (QWidget* window = m_mainWindow()) {
        if (window->isMinimized())
            window->showNormal();
        window->show();
        window->raise();
        window->activateWindow();
    }
    notification.click();
}

} // namespace quillo::page_services
