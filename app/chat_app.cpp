#include "app/chat_app.h"

#include "browser_features/spell_check.h"
#include "browser_features/zoom_keeper.h"
#include "browser_host/custom_occ_manager.h"
#include "browser_windows/client_window.h"
#include "main_window/chat_main_dlg.h"
#include "main_window/start_page.h"
#include "notification/chat_notify_dlg.h"
#include "notification/popup_stack.h"
#include "page_contract/external_dispatch.h"
#include "page_services/engine_wait.h"
#include "page_services/notification_presenter.h"
#include "page_services/page_origin.h"
#include "page_services/page_services.h"
#include "page_services/script_dialogs.h"
#include "platform/launch_feedback.h"
#include "platform/sleep_notices.h"
#include "preferences/preferences_dlg.h"
#include "recovery/console_sleep_watch.h"
#include "recovery/renderer_recovery.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QDialog>
#include <QLoggingCategory>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineView>

Q_LOGGING_CATEGORY(lcApp, "quillo.app", QtInfoMsg)

namespace {

// How long the end may wait for the windows to close before it is forced.
constexpr int kEndGraceMs = 1000;

// The pages that may drive the client: the start page's origin (the main window makes the same
// choice from the same settings), the stored address's, the chat service's logon page's and the
// maker's product page's, each as written. The settings are read here on their own, so that
// reading them leaves the main window's record of missing settings alone.
quillo::OriginTrust trustedOrigins() {
    const std::unique_ptr<quillo::SettingsBackend> settings = quillo::createUserSettings();
    const quillo::StartPageHosts hosts = CChatMainDlg::defaultHosts();
    quillo::OriginTrust trust;
    bool missing = false;
    const std::string startPage = quillo::chooseStartPage(*settings, missing, hosts);
    trust.trustOrigin(quillo::originOfUrl(QUrl(QString::fromStdString(startPage), QUrl::TolerantMode)));
    missing = false;
    if (const quillo::SettingResult url =
            quillo::ReadSetting(*settings, quillo::kUrlValue, quillo::kUrlBufferSize, missing))
        trust.trustOrigin(quillo::originOfUrl(QUrl(QString::fromStdString(url.value()), QUrl::TolerantMode)));
    // Each host over the scheme the client itself uses for it, never also the other one.
    trust.trustOrigin(quillo::originOfUrl(QUrl(QString::fromStdString(quillo::logonPageUrl(hosts)))));
    trust.trustOrigin(quillo::originOfUrl(QUrl(QString::fromStdString(quillo::productPageUrl(hosts)))));
    return trust;
}

} // namespace

CChatApp::CChatApp(quillo::ClientSettings& settings)
    : m_settings(settings) {}

CChatApp::~CChatApp() = default;

bool CChatApp::InitInstance() {
    m_popups = std::make_unique<quillo::notify::PopupStack>();
    // One profile for the run, on disk, so the operator stays logged in from one day to the next.
    m_profile = std::make_unique<QWebEngineProfile>(QStringLiteral("Quillo"));

    m_zoom = new ZoomKeeper(m_settings, m_profile.get());
    m_spelling = new SpellCheck(*m_profile, m_settings, m_profile.get());

    // window.external and the site factory exist before any browser does.
    m_pExternal =
        std::make_unique<CExternalDispatch>([this]() -> quillo::ExternalTarget* { return m_pMainWnd; });
    // The trusted origins are known before any browser exists, so every page gets them.
    const quillo::OriginTrust trust = trustedOrigins();
    // Downloads, new windows, sound, notifications and permissions for every page of the profile,
    // which owns it; notifications and permissions follow window.external's trust rule.
    auto* pageServices = new quillo::page_services::PageServices(
        *m_profile, m_settings, [trust](const QUrl& origin) { return quillo::isTrustedPage(trust, origin); },
        [this]() -> QWidget* { return m_pMainWnd; }, m_popups.get());
    m_occManager = std::make_unique<CCustomOccManager>(quillo::BrowserServices{
        .profile = *m_profile,
        .external = *m_pExternal,
        .trust = trust,
        .scripts = quillo::buildExternalScripts(trust, pageServices->reportToken()),
        // The context menu's commands on the main window's browser come here, as the
        // application's commands; every other browser's menu acts on its own browser.
        .commandRouter =
            [this](CWebBrowser2& browser, quillo::BrowserCommand command) {
                if (m_pMainWnd == nullptr || m_pMainWnd->browser() != &browser)
                    return false;
                if (command == quillo::BrowserCommand::Refresh)
                    onRefresh();
                else
                    onBack();
                return true;
            },
        .pageServices = pageServices,
        // Script dialogs that never hold up the console, in the run's one profile.
        .makePage = [this, pageServices](QWebEngineView& browser) -> QWebEnginePage* {
            return new quillo::page_services::ScriptDialogPage(*m_profile, *pageServices, &browser);
        },
        // A page that dies, hangs or cannot reach its server comes back by itself. While the
        // console's own script box waits inside the engine, no page can answer.
        .attachRecovery =
            [this](QWebEngineView& browser) {
                auto* recovery = new quillo::RendererRecovery(
                    browser, [] { return quillo::page_services::EngineWait::active(); });
                // The console is the one page checked after a sleep of the machine.
                if (m_pMainWnd != nullptr && browser.window() == m_pMainWnd)
                    watchConsoleSleep(browser, *recovery);
            },
        // Every site's zoom level, for the run of the profile that owns it.
        .zoom = m_zoom,
        .spelling = m_spelling,
    });

    // The chat service's pages open their own windows in the client, in the operator's session.
    m_clientWindows = std::make_unique<ClientWindows>(
        *m_occManager, [this]() -> QWidget* { return m_pMainWnd; }, nullptr);
    pageServices->setClientWindowOpener([windows = QPointer<ClientWindows>(m_clientWindows.get())](
                                            QWebEnginePage& opener, QWebEngineNewWindowRequest& request) {
        if (windows)
            windows->open(opener, request);
    });

    {
        CChatMainDlg dialog(m_occManager.get(), m_popups.get(), &m_settings);
        m_pMainWnd = &dialog;
        quillo::page_services::NotificationPresenter* notifications = pageServices->notifications();
        quillo::alerts::AlertCenter::Console console = alertConsole(dialog);
        console.clickNotification = [notifications = QPointer(notifications)](quint64 key) {
            return notifications && notifications->click(key);
        };
        quillo::alerts::AlertCenter alerts(m_settings, std::move(console));
        m_alerts = &alerts;
        using quillo::alerts::AlertCenter;
        using quillo::page_services::NotificationPresenter;
        QObject::connect(notifications, &NotificationPresenter::notificationShown, &alerts,
                         &AlertCenter::onNotificationShown);
        QObject::connect(notifications, &NotificationPresenter::notificationClicked, &alerts,
                         &AlertCenter::onNotificationClicked);
        QObject::connect(notifications, &NotificationPresenter::notificationClosedByPage, &alerts,
                         &AlertCenter::onNotificationClosedByPage);
        QObject::connect(notifications, &NotificationPresenter::notificationGone, &alerts,
                         &AlertCenter::onNotificationGone);
        QObject::connect(&dialog, &CChatMainDlg::initialised, &alerts, [&dialog, &alerts] {
            CChatNotifyDlg* popup = dialog.notifyDlg();
            QObject::connect(popup, &CChatNotifyDlg::requestShown, &alerts,
                             &quillo::alerts::AlertCenter::onRequestShown);
            QObject::connect(popup, &CChatNotifyDlg::requestEnded, &alerts,
                             &quillo::alerts::AlertCenter::onPopupEnded);
        });
        alerts.watchConsole(dialog);
        dialog.addAction(alerts.acceptAction());
        dialog.setWindowMenuItems([this, &alerts, &dialog](QMenu& menu) {
            alerts.addMenuItems(menu);
            menu.addAction(PreferencesDlg::tr("Preference&s…"), &dialog, [this] { showPreferences(); });
        });
        dialog.DoModal();
        // The window goes with the alerts it changes.
        delete m_preferences;
        m_alerts = nullptr;
        m_pMainWnd = nullptr;
    }
    return false;
}

void CChatApp::watchConsoleSleep(QWebEngineView& console, quillo::RendererRecovery& recovery) {
    // Tests of the whole client cannot sleep for ten minutes.
    bool shortened = false;
    const int longSleepMs = qEnvironmentVariableIntValue("QUILLO_TEST_LONG_SLEEP_MS", &shortened);
    auto* watch = new quillo::ConsoleSleepWatch(console, recovery, quillo::createSleepNotices(),
                                                shortened && longSleepMs > 0 ? longSleepMs
                                                                             : quillo::alerts::kLongSleepMs);
    QObject::connect(m_popups.get(), &quillo::notify::PopupStack::chatPopupHeightChanged, watch,
                     [watch](int height) { watch->setPopupShowing(height > 0); });
}

quillo::alerts::AlertCenter::Console CChatApp::alertConsole(CChatMainDlg& dialog) {
    return {
        .acceptOnPopup =
            [&dialog] {
                if (CChatNotifyDlg* popup = dialog.notifyDlg())
                    popup->accept();
            },
        // As the popup's accept would: the console comes forward and the page accepts.
        .acceptInConsole = [&dialog] { dialog.OnChatPopupClosed(true); },
        .show = [this] { activateMainWindow({}); },
        .quit = [&dialog] { dialog.OnCancel(); },
        .preferences = [this] { showPreferences(); },
        // Given where the page services are at hand.
        .clickNotification = {},
    };
}

void CChatApp::showPreferences() {
    if (m_pMainWnd == nullptr || m_alerts == nullptr)
        return;
    if (m_preferences == nullptr) {
        CChatMainDlg* dialog = m_pMainWnd;
        const auto sendTestRequest = [dialog] {
            dialog->showTestRequest();
        };
        m_preferences = new PreferencesDlg({.alerts = *m_alerts,
                                            .settings = m_settings,
                                            .spelling = m_spelling,
                                            .zoom = m_zoom,
                                            .sendTestRequest = sendTestRequest},
                                           dialog);
    }
    m_preferences->show();
    m_preferences->raise();
    m_preferences->activateWindow();
}

void CChatApp::onRefresh() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->RefreshPage();
}

void CChatApp::onBack() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->GoBackPage();
}

void CChatApp::activateMainWindow(const quillo::LaunchToken& launch) {
    if (m_pMainWnd == nullptr)
        return;
    m_pMainWnd->setWindowState(m_pMainWnd->windowState() & ~Qt::WindowMinimized);
    m_pMainWnd->show();
    m_pMainWnd->raise();
    if (!quillo::activateForLaunch(m_pMainWnd, launch))
        m_pMainWnd->activateWindow();
    // Activation is the window manager's to grant; if it did not, the window asks for attention.
    QTimer::singleShot(500, m_pMainWnd, [window = m_pMainWnd] {
        if (!window->isActiveWindow())
            QApplication::alert(window);
    });
}

void CChatApp::endSession() {
    if (m_pMainWnd == nullptr)
        return;
    qCInfo(lcApp) << "asked to end: closing what is open and the main window";
    // Open menus, then boxes, the about box and secondary windows, innermost loops before the main one.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog != m_pMainWnd && dialog->isVisible())
            dialog->reject();
    }
    m_pMainWnd->OnCancel();
    // The session's SIGKILL follows within seconds: whatever loop still runs then is left, every
    // loop at once, so the client still ends in order and its browser data is written.
    QTimer::singleShot(kEndGraceMs, qApp, [] {
        qCWarning(lcApp) << "still running" << kEndGraceMs
                         << "ms after the request to end; leaving every loop";
        QCoreApplication::exit(0);
    });
}
