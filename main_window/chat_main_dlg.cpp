#include "main_window/chat_main_dlg.h"

#include "browser_host/caller_window.h"
#include "browser_host/custom_control_site.h"
#include "browser_host/custom_occ_manager.h"
#include "browser_host/web_browser2.h"
#include "browser_windows/custom_browser_dlg.h"
#include "browser_windows/window_frame.h"
#include "main_window/about_dlg.h"
#include "notification/chat_notify_dlg.h"
#include "notification/chat_request_notice.h"
#include "page_contract/close_request.h"
#include "page_contract/log_text.h"
#include "page_contract/page_contract.h"
#include "page_services/window_modality.h"
#include "platform/desktop_notifications.h"
#include "platform/foreign_windows.h"
#include "platform/memory_release.h"
#include "platform/settings_backend.h"
#include "platform/window_flash.h"
#include "resources/dialog_templates.h"
#include "resources/resource_loader.h"
#include "resources/resource_strings.h"
#include "settings/settings_store.h"
#include "skin_controls/hover_bitmap_button.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QWindow>

#include <utility>

using namespace quillo;

Q_LOGGING_CATEGORY(lcMainWindow, "quillo.window", QtInfoMsg)

namespace {
// Counts the installer poll's ticks for the whole process; never reset, so the poll ends for good.
int s_installerTicks = 0;

} // namespace

CChatMainDlg::CChatMainDlg(CCustomOccManager* siteFactory, notify::PopupStack* popups,
                           ClientSettings* clientSettings, QWidget* parent)
    : QDialog(parent)
    , m_siteFactory(siteFactory)
    , m_popups(popups)
    , m_clientSettings(clientSettings)
    , m_icon(res::loadAppIcon())
    , m_settings(createUserSettings())
    , m_closeForeignWindow(closeForeignWindow) {
    // Only a thin border: the skin draws the caption and the sizing frame.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    const quillo::Rect size = res::toPixels(res::kMainDialog);
    resize(size.width, size.height);
    setStyleSheet(QStringLiteral("CChatMainDlg { border: 1px solid #0a0a3c; background: #191970; }"));
    // A click on the frame or a caption button leaves the keyboard with the page: the operator
    // goes on typing after moving the window, as in a browser.
    setFocusPolicy(Qt::NoFocus);
    m_releaseFreedMemory.setSingleShot(true);
    connect(&m_releaseFreedMemory, &QTimer::timeout, this, [] { quillo::releaseFreedMemory(); });
}

CChatMainDlg::~CChatMainDlg() {
    // The popup goes first, then the members, the pool last to first.
    m_pNotifyDlg.reset();
    for (auto it = m_browserPool.rbegin(); it != m_browserPool.rend(); ++it)
        it->reset();
}

int CChatMainDlg::DoModal() {
    if (!OnInitDialog())
        return -1;
    // Runs until the window ends, as a modal dialog does, but blocks no other window of the client:
    // the chat popup, the secondary windows and their boxes stay usable whatever happens here.
    QEventLoop loop;
    // Saved before the loop ends, whichever way the window ends: its button, a page, the session.
    connect(this, &QDialog::finished, this, &CChatMainDlg::saveWindowState);
    connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
    restoreWindowState();
    show();
    return loop.exec(QEventLoop::DialogExec);
}

bool CChatMainDlg::OnInitDialog() {
    if (m_siteFactory != nullptr)
        m_browser = m_siteFactory->CreateSite(this)->browser();
    if (m_browser != nullptr)
        connect(m_browser, &CWebBrowser2::DocumentComplete, this, &CChatMainDlg::OnDocumentComplete);

    setWindowIcon(m_icon);
    setWindowTitle(QString::fromLatin1(res::kMainWindowTitle));
    createSkinControls();
    LayoutSkin();

    m_startPage = QString::fromStdString(chooseStartPage(*m_settings, m_bSettingMissing, defaultHosts()));
    if (m_browser != nullptr)
        m_browser->Navigate2(m_startPage);

    m_pNotifyDlg = std::make_unique<CChatNotifyDlg>(m_popups);
    connect(m_pNotifyDlg.get(), &CChatNotifyDlg::chatPopupClosed, this, &CChatMainDlg::OnChatPopupClosed,
            Qt::DirectConnection);
    // On native Wayland the compositor puts the popup where it likes; the desktop's own
    // notification makes the request hard to miss there.
    if (notify::showsRequestOnDesktop(QGuiApplication::platformName().toStdString())) {
        // The popup owns it.
        auto* notice = new notify::ChatRequestNotice(*m_pNotifyDlg, createDesktopNotifications());
        // Accepted there after the popup's display time, as the popup's own accept would.
        connect(notice, &notify::ChatRequestNotice::acceptedWithoutPopup, this,
                [this] { OnChatPopupClosed(true); });
    }

    m_installerPoll.start(kInstallerPollMs, Qt::PreciseTimer, this);
    if (m_browser != nullptr)
        m_browser->setFocus();
    emit initialised();
    return true;
}

StartPageHosts CChatMainDlg::defaultHosts() {
    return {QUILLO_MAKER_HOST, QUILLO_CHAT_HOST};
}

void CChatMainDlg::setSettingsBackend(std::unique_ptr<SettingsBackend> backend) {
    m_settings = std::move(backend);
}

bool CChatMainDlg::WriteSetting(const char* text, const char* valueName) {
    return quillo::WriteSetting(*m_settings, text, valueName);
}

void CChatMainDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_installerPoll.timerId())
        OnTimer(Timer::InstallerPoll);
    else if (event->timerId() == m_flash.timerId())
        OnTimer(Timer::Flash);
    QDialog::timerEvent(event);
}

bool CChatMainDlg::isTimerActive(Timer timer) const {
    return (timer == Timer::InstallerPoll ? m_installerPoll : m_flash).isActive();
}

void CChatMainDlg::OnTimer(Timer timer) {
    switch (timer) {
    case Timer::InstallerPoll:
        ++s_installerTicks;
        if (m_closeForeignWindow && m_closeForeignWindow(kInstallerClass, kInstallerTitle))
            m_installerPoll.stop();
        if (s_installerTicks > 1)
            m_installerPoll.stop();
        break;
    case Timer::Flash:
        if (activeWindow() == this) {
            stopFlashing();
            break;
        }
        flashWindow(this);
        break;
    }
}

void CChatMainDlg::startFlashing() {
    m_flash.start(kFlashMs, Qt::PreciseTimer, this);
}

void CChatMainDlg::stopFlashing() {
    m_flash.stop();
    m_attentionMarked = false;
    // A stopped flash must not leave the window marked as wanting attention.
    clearWindowFlash(this);
}

QWidget* CChatMainDlg::activeWindow() const {
    if (m_activeWindowOverride)
        return m_activeWindowOverride();
    return QApplication::activeWindow();
}

void CChatMainDlg::setActiveWindowOverride(std::function<QWidget*()> activeWindow) {
    m_activeWindowOverride = std::move(activeWindow);
}

void CChatMainDlg::OnChatPopupClosed(bool accepted) {
    stopFlashing();
    if (std::exchange(m_testRequestShowing, false)) {
        qCInfo(lcMainWindow) << "test chat request" << (accepted ? "accepted" : "not answered")
                             << "- nothing goes to the page";
        if (accepted) {
            showNormal();
            raise();
            activateWindow();
        }
        return;
    }
    if (accepted) {
        // The operator chose the console: it comes to the front with the focus.
        showNormal();
        raise();
        activateWindow();
        TriggerAccept();
        return;
    }
    // Nobody clicked, and the operator may be typing in another program: that program keeps the
    // focus, and the window comes up asking for attention, as a program in the background does.
    const bool showWithoutActivating = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    showNormal();
    setAttribute(Qt::WA_ShowWithoutActivating, showWithoutActivating);
    raise();
    if (activeWindow() != this) {
        flashWindow(this);
        m_attentionMarked = true;
    }
}

void CChatMainDlg::keyboardBackToPage() {
    windows::keyboardBackToPage(*this, m_browser);
}

void CChatMainDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Back from a move, a resize or a maximise by the window manager, or from another window.
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        keyboardBackToPage();
    if (event->type() == QEvent::WindowStateChange && m_btnMaximize != nullptr)
        m_btnMaximize->setAccessibleName(isMaximized() ? tr("Restore") : tr("Maximize"));
    // The mark left by an unclicked popup goes once the operator comes to the window.
    if (event->type() == QEvent::ActivationChange && m_attentionMarked && isActiveWindow()) {
        m_attentionMarked = false;
        clearWindowFlash(this);
    }
}

bool CChatMainDlg::IsOurCustomBrowser() {
    return true;
}

namespace {

// Whether `window` is a box of `owner`'s, a question or a chooser that it opened: owned by it and
// no browser window itself (the pool's and the pages' windows are the main window's too).
bool isBoxOf(const QWidget* window, const QWidget* owner) {
    if (window == nullptr || window->findChild<CWebBrowser2*>() != nullptr)
        return false;
    for (const QWidget* parent = window->parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
        if (parent->window() == owner)
            return true;
    }
    return false;
}

} // namespace

void CChatMainDlg::CloseActiveWindow(const CallerWindow* caller) {
    QWidget* own = caller != nullptr ? caller->window() : nullptr;
    if (own == nullptr) {
        qCInfo(lcMainWindow) << "CB_Close refused: the calling page's window is not known";
        return;
    }
    QWidget* active = activeWindow();
    const OperatorPlace place = active == own          ? OperatorPlace::CallersWindow
                                : isBoxOf(active, own) ? OperatorPlace::BoxOfCallersWindow
                                                       : OperatorPlace::Elsewhere;
    switch (closeActionFor(own == this ? CloseCaller::MainWindow : CloseCaller::SecondaryWindow, place)) {
    case CloseAction::EndClient:
        qCInfo(lcMainWindow) << "the page ended the client (CB_Close)";
        done(0);
        return;
    case CloseAction::EndCallersWindow:
        // A pool window ends as a dialog does: hidden, kept in its slot. Any other window goes.
        if (auto* window = qobject_cast<CCustomBrowserDlg*>(own))
            window->done(1);
        else
            own->close();
        return;
    case CloseAction::Refuse:
        break;
    }
    // A box or file chooser that the client opened for the operator is the operator's to answer,
    // never the page's; and the console's page ends the client only with the operator in it.
    if (place == OperatorPlace::BoxOfCallersWindow)
        qCInfo(lcMainWindow).noquote()
            << "CB_Close refused: the operator is answering"
            << QString::fromStdString(quillo::logText(active->windowTitle().toStdString()));
    else
        qCInfo(lcMainWindow)
            << "CB_Close refused: the console's page ends the client only while the main window"
            << "is the active window";
}

void CChatMainDlg::CustomFunction() {
    // Not modal to the application and without a loop of its own: a loop inside the page's call
    // would hold up the browser engine, so the page could not accept a chat until the box closed.
    auto* box = new QMessageBox(QMessageBox::NoIcon, QApplication::applicationName(),
                                QStringLiteral("Do whatever you like here!"), QMessageBox::Ok, this);
    connect(box, &QMessageBox::finished, box, &QObject::deleteLater);
    quillo::page_services::makeModalToWindowOnly(*box, *this);
    box->show();
}

void CChatMainDlg::CustomFunctionWithParams(std::string text, std::int32_t action) {
    switch (action) {
    case contract::kActionShowNotification:
        m_testRequestShowing = false;
        if (m_pNotifyDlg)
            m_pNotifyDlg->ShowNotification(std::move(text));
        startFlashing();
        break;
    case contract::kActionStopFlashing:
        stopFlashing();
        break;
    case contract::kActionFlash:
        startFlashing();
        break;
    default:
        break;
    }
}

void CChatMainDlg::ToggleMaximize() {
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void CChatMainDlg::MinimizeWindow() {
    showMinimized();
}

void CChatMainDlg::OnCancel() {
    reject();
}

void CChatMainDlg::keyPressEvent(QKeyEvent* event) {
    // Keys typed into a page belong to the page; one the page leaves alone comes back here.
    if (CWebBrowser2::hasFocusWithin(*this)) {
        event->ignore();
        return;
    }
    if (windows::holdEndKey(*event, *this, m_browser))
        return;
    QDialog::keyPressEvent(event);
}

void CChatMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    showWindowMenu(event->globalPos());
}

void CChatMainDlg::showWindowMenu(const QPoint& globalPos) {
    // A frameless window has no window menu of its own; the frame offers it on right-click.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* restore = menu->addAction(tr("&Restore"), this, &CChatMainDlg::showNormal);
    restore->setEnabled(isMaximized() || isMinimized());
    menu->addAction(tr("Mi&nimize"), this, &CChatMainDlg::MinimizeWindow);
    QAction* maximize = menu->addAction(tr("Ma&ximize"), this, &CChatMainDlg::showMaximized);
    maximize->setEnabled(!isMaximized());
    menu->addAction(tr("&Close"), this, &CChatMainDlg::OnCancel);
    // Once the menu is gone, whatever it did, the keyboard is the page's again.
    connect(menu, &QMenu::aboutToHide, this, &CChatMainDlg::keyboardBackToPage, Qt::QueuedConnection);
    if (m_addWindowMenuItems)
        m_addWindowMenuItems(*menu);
    const QString about = QString::fromLatin1(res::kAboutMenuText);
    if (!about.isEmpty()) {
        menu->addSeparator();
        menu->addAction(about, this, &CChatMainDlg::showAboutBox);
    }
    // Without a loop of its own, so nothing waits on it: an exit signal or a chat request that
    // arrives meanwhile is handled at once.
    menu->popup(globalPos);
}

void CChatMainDlg::showAboutBox() {
    auto* about = new CAboutDlg(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    quillo::page_services::makeModalToWindowOnly(*about, *this);
    about->show();
}

CCustomBrowserDlg* CChatMainDlg::poolWindow(int index) const {
    if (index < 0 || index >= kPoolSize)
        return nullptr;
    return m_browserPool[std::size_t(index)].get();
}

void CChatMainDlg::showTestRequest() {
    if (!m_pNotifyDlg)
        return;
    // The record's fields: who asks, the message, the time waited and what for. Bars would part
    // the fields and backslashes vanish, so translations must not bring them in.
    const auto field = [](const QString& text) {
        return text.toUtf8().replace('\\', '/').replace("|", "\\|");
    };
    const QByteArray record =
        field(tr("Test")) + '|' +
        field(tr("This is a test chat request from Quillo. Accepting it does nothing in the console.")) +
        '|' + field(tr("0 min")) + '|';
    qCInfo(lcMainWindow) << "showing a test chat request";
    if (m_pNotifyDlg->ShowNotification(record.toStdString()))
        m_testRequestShowing = true;
}
