#include "main_window/chat_main_dlg.h"

#include "browser_windows/custom_browser_dlg.h"
#include "browser_windows/url_policy.h"
#include "browser_windows/window_placement.h"
#include "page_contract/log_text.h"

#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <vector>

// The pool of secondary browser windows that pages open.

namespace {

constexpr int kReleaseFreedMemoryMs = 3000;
// A page's address in the log: enough to tell it, on one line, never a page's whole text.
QString loggedAddress(const std::string& url) {
    return QString::fromStdString(quillo::logText(url));
}

// The outer rectangle the window gets: not smaller than a frame can hold, and on some screen.
QRect placeOuterRect(int x, int y, int width, int height) {
    const QMargins frame = CCustomBrowserDlg::knownFrameMargins();
    const quillo::WindowSize minimum{
        std::max(quillo::kMinimumWindowSize.width, frame.left() + frame.right() + 1),
        std::max(quillo::kMinimumWindowSize.height, frame.top() + frame.bottom() + 1)};
    std::vector<quillo::Rect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    const quillo::Rect placed = quillo::placeWindow({x, y, width, height}, minimum, screens);
    return {placed.x, placed.y, placed.width, placed.height};
}

} // namespace

void CChatMainDlg::OpenWindow(std::string url, std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height, std::int32_t) {
    // A page may open web pages, never local files or script addresses.
    if (!quillo::isOpenableAddress(url)) {
        qCInfo(lcMainWindow).noquote()
            << "CB_OpenWindow for" << loggedAddress(url) << "refused: not an absolute http or https address";
        return;
    }
    const QString address = QString::fromStdString(url);
    if (!QUrl(address, QUrl::StrictMode).isValid()) {
        qCInfo(lcMainWindow).noquote()
            << "CB_OpenWindow for" << loggedAddress(url) << "refused: not a valid address";
        return;
    }

    const std::optional<int> slot = m_poolSlots.open();
    if (!slot) {
        // A page that keeps asking gets one line until a window is free again.
        if (!m_poolFullLogged)
            qCInfo(lcMainWindow).noquote() << "CB_OpenWindow for" << loggedAddress(url) << "refused: all"
                                           << kPoolSize << "windows are open; further refusals go unlogged"
                                           << "until one ends";
        m_poolFullLogged = true;
        return;
    }
    std::unique_ptr<CCustomBrowserDlg>& window = m_browserPool[std::size_t(*slot)];
    if (!window) {
        // Owned by the main window as its dialogs are, so the main window's modal run does not
        // block it; the pool still decides when it goes.
        window = std::make_unique<CCustomBrowserDlg>(m_siteFactory, this);
        connect(window.get(), &CCustomBrowserDlg::ended, this, [this, index = *slot] {
            m_poolSlots.end(index);
            m_poolFullLogged = false;
            // Once for a burst of ends, after the engine has torn their pages down.
            m_releaseFreedMemory.start(kReleaseFreedMemoryMs);
        });
    }
    window->Create();
    window->setOuterGeometry(placeOuterRect(x, y, width, height));
    window->setUrl(address);
    window->show();
    window->activateWindow();
    m_nBrowserCount = m_poolSlots.count();
}
