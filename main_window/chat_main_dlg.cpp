#include "main_window/chat_main_dlg.h"

#include "browser_host/custom_control_site.h"
#include "browser_host/custom_occ_manager.h"
#include "browser_host/page_contract.h"
#include "browser_host/web_browser2.h"
#include "browser_windows/custom_browser_dlg.h"
#include "main_window/about_dlg.h"
#include "main_window/settings_store.h"
#include "notification/chat_notify_dlg.h"
#include "platform/foreign_windows.h"
#include "platform/memory_release.h"
#include "platform/settings_backend.h"
#include "platform/window_flash.h"
#include "resources/dialog_templates.h"
#include "resources/resource_loader.h"
#include "resources/resource_strings.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QWindow>

using namespace quillo;

namespace {
// Counts the installer poll's ticks for the whole process; never reset, so the poll ends for good.
int s_nInstallerTicks = 0;

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// Keeps the operator's input from one window while a box of its own is open, and brings the box
// forward when that window is clicked: modal to the window alone. Qt's window modality would
// block the windows it owns too, the notification popup and the secondary windows among them.
class WindowInputBlock final : public QObject {
public:
    // Lives as long as the box, its parent.
    WindowInputBlock(QWidget& blocked, QWidget& box)
        : QObject(&box)
        , m_blocked(blocked)
        , m_box(box) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type()) || !belongsToBlocked(watched))
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            m_box.raise();
            m_box.activateWindow();
        }
        return true;
    }

private:
    bool belongsToBlocked(QObject* watched) const {
        if (auto* window = qobject_cast<QWindow*>(watched))
            return window == m_blocked.windowHandle();
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return widget->window() == &m_blocked;
        if (auto* shortcut = qobject_cast<QShortcut*>(watched)) {
            const auto* owner = qobject_cast<QWidget*>(shortcut->parent());
            return owner != nullptr && owner->window() == &m_blocked;
        }
        return false;
    }

    QWidget& m_blocked;
    QWidget& m_box;
};

} // namespace

CChatMainDlg::CChatMainDlg(CCustomOccManager* siteFactory, QWidget* parent)
    : QDialog(parent)
    , m_siteFactory(siteFactory)
    , m_hIcon(res::loadAppIcon())
    , m_settings(createUserSettingsBackend())
    , m_closeForeignWindow(closeForeignWindow) {
    // Only a thin border: the skin draws the caption and the sizing frame.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    const res::PixelRect size = res::toPixels(res::kMainDialog);
    resize(size.width, size.height);
    setStyleSheet(QStringLiteral("CChatMainDlg { border: 1px solid #0a0a3c; background: #191970; }"));
    // Escape is the dialog's cancel key even while the page has the focus (the browser keeps the key
    // to itself otherwise). Enter is deliberately not the dialog's: operators press it all day in
    // the page, and a stray one must never end the session.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &CChatMainDlg::OnCancel, Qt::WindowShortcut);
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
    return exec();
}

bool CChatMainDlg::OnInitDialog() {
    if (m_siteFactory != nullptr)
        m_browser = m_siteFactory->CreateSite(this)->browser();
    if (m_browser != nullptr)
        connect(m_browser, &CWebBrowser2::DocumentComplete, this, &CChatMainDlg::OnDocumentComplete);

    setWindowIcon(m_hIcon);
    setWindowTitle(QString::fromLatin1(res::kMainWindowTitle));
    CreateSkinControls();
    LayoutSkin();

    m_startPage = QString::fromStdString(ChooseStartPage(*m_settings, m_bSettingMissing, defaultHosts()));
    if (m_browser != nullptr)
        m_browser->Navigate2(m_startPage);

    m_pNotifyDlg = std::make_unique<CChatNotifyDlg>(this);
    connect(m_pNotifyDlg.get(), &CChatNotifyDlg::chatPopupClosed, this, &CChatMainDlg::OnChatPopupClosed,
            Qt::DirectConnection);

    m_timers.set(IDT_INSTALLER_POLL, kInstallerPollMs);
    if (m_browser != nullptr)
        m_browser->setFocus();
    return true;
}

StartPageHosts CChatMainDlg::defaultHosts() {
    return {QUILLO_MAKER_HOST, QUILLO_CHAT_HOST};
}

void CChatMainDlg::setSettingsBackend(std::unique_ptr<SettingsBackend> backend) {
    m_settings = std::move(backend);
}

long CChatMainDlg::WriteSetting(const char* subKey, const char* text, const char* valueName) {
    return quillo::WriteSetting(*m_settings, subKey, text, valueName);
}

void CChatMainDlg::timerEvent(QTimerEvent* event) {
    if (const int id = m_timers.idOf(event); id != 0)
        OnTimer(id);
    QDialog::timerEvent(event);
}

void CChatMainDlg::OnTimer(int id) {
    switch (id) {
    case IDT_INSTALLER_POLL:
        ++s_nInstallerTicks;
        if (m_closeForeignWindow && m_closeForeignWindow(kInstallerClass, kInstallerTitle))
            m_timers.kill(IDT_INSTALLER_POLL);
        if (s_nInstallerTicks > 1)
            m_timers.kill(IDT_INSTALLER_POLL);
        break;
    case IDT_FLASH:
        if (activeWindow() == this) {
            StopFlashing();
            break;
        }
        flashWindow(this);
        break;
    default:
        break;
    }
}

void CChatMainDlg::StartFlashing() {
    m_timers.set(IDT_FLASH, kFlashMs);
}

void CChatMainDlg::StopFlashing() {
    m_timers.kill(IDT_FLASH);
    m_bAttentionMarked = false;
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

int CChatMainDlg::OnChatPopupClosed(int wParam, int) {
    StopFlashing();
    if (wParam == 1) {
        // The operator chose the console: it comes to the front with the focus.
        showNormal();
        raise();
        activateWindow();
        TriggerAccept();
        return 0;
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
        m_bAttentionMarked = true;
    }
    return 0;
}

void CChatMainDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // The mark left by an unclicked popup goes once the operator comes to the window.
    if (event->type() == QEvent::ActivationChange && m_bAttentionMarked && isActiveWindow()) {
        m_bAttentionMarked = false;
        clearWindowFlash(this);
    }
}

bool CChatMainDlg::IsOurCustomBrowser() {
    return true;
}

void CChatMainDlg::CloseActiveWindow() {
    QWidget* active = activeWindow();
    if (active == this) {
        done(0);
        return;
    }
    // Another window of ours ends as a dialog does: hidden, kept in its slot. Not ours: nothing.
    if (auto* dialog = qobject_cast<QDialog*>(active))
        dialog->done(1);
}

void CChatMainDlg::CustomFunction() {
    // Not modal to the application and without a loop of its own: a loop inside the page's call
    // would hold up the browser engine, so the page could not accept a chat until the box closed.
    auto* box = new QMessageBox(QMessageBox::NoIcon, QApplication::applicationName(),
                                QStringLiteral("Do whatever you like here!"), QMessageBox::Ok, this);
    box->setWindowModality(Qt::NonModal);
    connect(box, &QMessageBox::finished, box, &QObject::deleteLater);
    new WindowInputBlock(*this, *box); // owned by the box
    box->show();
}

void CChatMainDlg::CustomFunctionWithParams(std::string text, std::int32_t action) {
    switch (action) {
    case contract::kActionShowNotification:
        if (m_pNotifyDlg)
            m_pNotifyDlg->ShowNotification(std::move(text));
        StartFlashing();
        break;
    case contract::kActionStopFlashing:
        StopFlashing();
        break;
    case contract::kActionFlash:
        StartFlashing();
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

void CChatMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    ShowWindowMenu(event->globalPos());
}

void CChatMainDlg::ShowWindowMenu(const QPoint& globalPos) {
    // A frameless window has no window menu of its own; the frame offers it on right-click.
    QMenu menu(this);
    QAction* restore = menu.addAction(tr("&Restore"), this, &CChatMainDlg::showNormal);
    restore->setEnabled(isMaximized() || isMinimized());
    menu.addAction(tr("Mi&nimize"), this, &CChatMainDlg::MinimizeWindow);
    QAction* maximize = menu.addAction(tr("Ma&ximize"), this, &CChatMainDlg::showMaximized);
    maximize->setEnabled(!isMaximized());
    menu.addAction(tr("&Close"), this, &CChatMainDlg::OnCancel);
    const QString about = QString::fromLatin1(res::kAboutMenuText);
    if (!about.isEmpty()) {
        menu.addSeparator();
        menu.addAction(about, this, &CChatMainDlg::ShowAboutBox);
    }
    menu.exec(globalPos);
}

void CChatMainDlg::ShowAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

CCustomBrowserDlg* CChatMainDlg::poolWindow(int index) const {
    if (index < 0 || index >= kPoolSize)
        return nullptr;
    return m_browserPool[std::size_t(index)].get();
}
