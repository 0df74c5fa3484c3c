#include "browser_windows/client_window.h"

#include "browser_host/custom_control_site.h"
#include "browser_host/custom_occ_manager.h"
#include "browser_host/web_browser2.h"
#include "browser_windows/window_features.h"
#include "browser_windows/window_frame.h"
#include "page_services/page_services.h"
#include "page_services/web_log.h"
#include "resources/resource_loader.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <vector>

using quillo::page_services::lcWeb;
using quillo::page_services::PageServices;

namespace {

// How long after showing a window a late frame still corrects its placement; later moves are the
// operator's.
constexpr int kPlacementSettleMs = 2000;

quillo::Rect toRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

} // namespace

ClientWindow::ClientWindow(CCustomOccManager& siteFactory, QWidget* owner)
    : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(quillo::res::loadAppIcon());
    m_browser = siteFactory.CreateSite(this)->browser();
    m_browser->setGeometry(rect());
    // Named after its page, as a browser names its windows, so the operator can tell them apart.
    connect(m_browser, &QWebEngineView::titleChanged, this, &QWidget::setWindowTitle);
    // window.close() from its page ends it, as it would end a popup in a browser.
    connect(m_browser->page(), &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
}

ClientWindow::~ClientWindow() = default;

QMargins ClientWindow::knownFrameMargins() {
    return quillo::windows::knownFrameMargins();
}

void ClientWindow::setOuterGeometry(const QRect& outer) {
    const QMargins frame = knownFrameMargins();
    // move() places the frame's corner; resize() sizes the page.
    move(outer.topLeft());
    resize(quillo::windows::contentSizeFor(outer, frame));
    // With no frame known yet, the rectangle was worked out for the page alone, which keeps its
    // size; the window manager's frame only adds to it.
    if (frame.isNull())
        return;
    m_pendingOuter = outer;
    QTimer::singleShot(kPlacementSettleMs, this, [this] { m_pendingOuter.reset(); });
}

void ClientWindow::correctOuterGeometry() {
    if (!m_pendingOuter || !isVisible())
        return;
    const QMargins frame = quillo::windows::frameMarginsOf(*this);
    if (frame.isNull())
        return;
    quillo::windows::noteFrameMargins(frame);
    const QRect outer = *m_pendingOuter;
    m_pendingOuter.reset();
    if (frameGeometry() == outer)
        return;
    resize(quillo::windows::contentSizeFor(outer, frame));
    move(outer.topLeft());
}

void ClientWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Back from the window manager's move, resize or maximise, or from another window.
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        quillo::windows::keyboardBackToPage(*this, m_browser);
}

void ClientWindow::keyPressEvent(QKeyEvent* event) {
    if (CWebBrowser2::hasFocusWithin(*this)) {
        event->ignore();
        return;
    }
    if (!quillo::windows::holdEndKey(*event, *this, m_browser))
        QWidget::keyPressEvent(event);
}

void ClientWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_browser->setGeometry(rect());
    noteFrame();
}

void ClientWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    noteFrame();
}

void ClientWindow::noteFrame() {
    if (m_pendingOuter) {
        correctOuterGeometry();
        return;
    }
    if (isVisible())
        quillo::windows::noteFrameMargins(quillo::windows::frameMarginsOf(*this));
}

ClientWindows::ClientWindows(CCustomOccManager& siteFactory, Owner owner, QObject* parent)
    : QObject(parent)
    , m_siteFactory(siteFactory)
    , m_owner(std::move(owner)) {}

ClientWindows::~ClientWindows() = default;

int ClientWindows::openedBy(const QWebEnginePage* opener) const {
    return int(std::count_if(m_open.begin(), m_open.end(),
                             [opener](const Open& open) { return open.window && open.opener == opener; }));
}

void ClientWindows::open(const QWebEnginePage& opener, QWebEngineNewWindowRequest& request) {
    const QString address = request.requestedUrl().toDisplayString();
    const QString from = PageServices::originText(opener.url());
    QWidget* owner = m_owner ? m_owner() : nullptr;
    if (owner == nullptr) {
        qCInfo(lcWeb).noquote() << "new window for" << address << "from" << from
                                << "refused: the main window is gone";
        return;
    }
    switch (m_cap.request()) {
    case quillo::ClientWindowCap::Answer::Open:
        break;
    case quillo::ClientWindowCap::Answer::Refuse:
        qCInfo(lcWeb).noquote() << "new window for" << address << "from" << from
                                << "refused:" << quillo::ClientWindowCap::kMaxOpen
                                << "windows of the chat service are open; further refusals go unlogged"
                                << "until one closes";
        return;
    case quillo::ClientWindowCap::Answer::RefuseUnlogged:
        return;
    }

    auto* window = new ClientWindow(m_siteFactory, owner);
    window->setWindowTitle(address);
    connect(window, &QObject::destroyed, this, [this, window] {
        m_cap.closed();
        std::erase_if(m_open,
                      [window](const Open& open) { return open.window.isNull() || open.window == window; });
    });

    // As a browser places a popup: on the opener's screen, at the size the page asked for.
    const QWebEngineView* openerView = QWebEngineView::forPage(&opener);
    const QWidget* openerWindow = openerView != nullptr ? openerView->window() : owner;
    const QScreen* screen = openerWindow->screen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect asked = request.requestedGeometry();
    const QMargins frame = ClientWindow::knownFrameMargins();
    const quillo::Rect outer = quillo::popupWindowGeometry(
        quillo::featuresFromEngineGeometry(asked.x(), asked.y(), asked.width(), asked.height()),
        toRect(openerWindow->frameGeometry()), toRect(area),
        {frame.left(), frame.top(), frame.right(), frame.bottom()}, openedBy(&opener));
    m_open.push_back({window, &opener});
    window->setOuterGeometry({outer.x, outer.y, outer.width, outer.height});

    // The new page is the opener's window.open() result, so the two can talk (window.opener).
    request.openIn(window->browser()->page());
    window->show();
    if (request.destination() != QWebEngineNewWindowRequest::InNewBackgroundTab) {
        window->raise();
        window->activateWindow();
    }
    qCInfo(lcWeb).noquote() << "new window for" << address << "from" << from << "opened in the client";
}
