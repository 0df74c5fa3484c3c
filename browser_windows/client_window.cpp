#include "browser_windows/client_window.h"

#include "browser_host/custom_control_site.h"
#include "browser_host/custom_occ_manager.h"
#include "browser_host/web_browser2.h"
#include "browser_windows/window_features.h"
#include "browser_windows/window_frame.h"
#include "page_services/new_window_handoff.h"
#include "page_services/page_origin.h"
#include "page_services/page_services.h"
#include "page_services/web_log.h"
#include "page_services/web_policy.h"
#include "resources/resource_loader.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWebEngineNavigationRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>
#include <utility>
#include <vector>

using quillo::page_services::lcWeb;
using quillo::page_services::logged;
using quillo::page_services::PageServices;

namespace {

// How long after showing a window a late frame still corrects its placement; later moves are the
// operator's.
constexpr int kPlacementSettleMs = 2000;
// How long a page is given to say its document's origin; one that is going may never answer.
constexpr int kOriginAnswerMs = 5000;

quillo::Rect toRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// The client windows that one page has opened, owned by that page: a page that comes later at
// the same address starts with none. Each new one is placed a step further from its opener.
class OpenedWindows final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpenedWindows)

public:
    static OpenedWindows& of(QWebEnginePage& page) {
        auto* found = page.findChild<OpenedWindows*>(QString(), Qt::FindDirectChildrenOnly);
        return found != nullptr ? *found : *new OpenedWindows(page);
    }
    int stillOpen() {
        std::erase_if(m_windows, [](const QPointer<ClientWindow>& window) { return window.isNull(); });
        return int(m_windows.size());
    }
    void add(ClientWindow& window) { m_windows.emplace_back(&window); }

private:
    explicit OpenedWindows(QWebEnginePage& page)
        : QObject(&page) {}

    std::vector<QPointer<ClientWindow>> m_windows;
};

} // namespace

ClientWindow::ClientWindow(CCustomOccManager& siteFactory, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , m_trust(siteFactory.services().trust) {
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

void ClientWindow::guard(bool openedByClick, const QString& opener) {
    m_clickPending = openedByClick;
    m_opener = opener;
    connect(m_browser->page(), &QWebEnginePage::navigationRequested, this,
            &ClientWindow::onNavigationRequested);
}

void ClientWindow::onNavigationRequested(QWebEngineNavigationRequest& request) {
    if (!request.isMainFrame())
        return;
    if (m_leaving) {
        request.reject();
        return;
    }
    const QUrl target = request.url();
    if (target.scheme() == u"about")
        return;
    // The click that opened the window asked for what its opener first loads in it.
    const bool clicked = std::exchange(m_clickPending, false) ||
                         request.navigationType() == QWebEngineNavigationRequest::LinkClickedNavigation;
    // A blob: address holds a document of the origin written inside it.
    const bool blob = target.scheme() == u"blob";
    const QUrl judged = blob ? QUrl(target.path()) : target;
    switch (quillo::page_services::decideClientNavigation(judged.scheme().toStdString(),
                                                          quillo::isTrustedPage(m_trust, judged), clicked)) {
    case quillo::page_services::ClientNavigation::Load:
        return;
    case quillo::page_services::ClientNavigation::HandToDesktop:
        request.reject();
        leave(target, !blob);
        return;
    case quillo::page_services::ClientNavigation::Close:
        request.reject();
        leave(target, false);
        return;
    }
}

void ClientWindow::askDocumentOrigin(std::function<void(const QString& origin)> answer) {
    // Whichever comes first, the page's answer or the time it is given, is the one heard.
    auto once = std::make_shared<std::function<void(const QString&)>>(std::move(answer));
    const auto tell = [once](const QString& origin) {
        if (*once)
            std::exchange(*once, {})(origin);
    };
    m_browser->page()->runJavaScript(quillo::res::loadText(QStringLiteral(":/js/document_origin.js")),
                                     QWebEngineScript::ApplicationWorld,
                                     [self = QPointer<ClientWindow>(this), tell](const QVariant& origin) {
                                         if (self)
                                             tell(origin.toString());
                                     });
    QTimer::singleShot(kOriginAnswerMs, this, [tell] { tell(QString()); });
}

void ClientWindow::judgeBlankDocument(const QString& address, bool askedAgain) {
    askDocumentOrigin([this, address, askedAgain](const QString& origin) {
        if (m_leaving)
            return; // the line about its leaving says who opened it
        // Asked while the page was between two documents: once more, when it has settled.
        if (origin.isEmpty() && !askedAgain) {
            QTimer::singleShot(kOriginAnswerMs / 5, this,
                               [this, address] { judgeBlankDocument(address, true); });
            return;
        }
        if (m_trust.grants(quillo::askingFrame(origin))) {
            m_opener = origin;
            qCInfo(lcWeb).noquote() << "new window for" << address << "from" << origin
                                    << "opened in the client";
            return;
        }
        qCInfo(lcWeb).noquote() << "new window for" << address << "from"
                                << (origin.isEmpty() ? QStringLiteral("a frame the engine does not name")
                                                     : logged(origin))
                                << "refused: its opener is not trusted";
        m_leaving = true;
        close();
    });
}

void ClientWindow::leave(const QUrl& target, bool handToDesktop) {
    m_leaving = true;
    // Gone for the operator at once; the page is asked who it belongs to before the window ends.
    hide();
    if (handToDesktop)
        quillo::page_services::NewWindowHandoff::openInDefaultBrowser(target);
    askDocumentOrigin([this, target, handToDesktop](const QString& origin) {
        qCInfo(lcWeb).noquote() << "window of the chat service opened by"
                                << (origin.isEmpty() ? m_opener : logged(origin)) << "left for"
                                << logged(target)
                                << (handToDesktop
                                        ? "- handed to the default browser, window closed"
                                        : "refused: the operator did not ask for it; window closed");
        close();
    });
}

ClientWindows::ClientWindows(CCustomOccManager& siteFactory, Owner owner, QObject* parent)
    : QObject(parent)
    , m_siteFactory(siteFactory)
    , m_owner(std::move(owner)) {}

ClientWindows::~ClientWindows() = default;

void ClientWindows::open(QWebEnginePage& opener, QWebEngineNewWindowRequest& request) {
    const QUrl requested = request.requestedUrl();
    const bool blank = requested.isEmpty() || requested.scheme() == u"about";
    // window.open() with no address opens the blank page.
    const QString address = requested.isEmpty() ? QStringLiteral("about:blank") : logged(requested);
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
    connect(window, &QObject::destroyed, this, [this] { m_cap.closed(); });

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
        {frame.left(), frame.top(), frame.right(), frame.bottom()}, OpenedWindows::of(opener).stillOpen());
    OpenedWindows::of(opener).add(*window);
    window->setOuterGeometry({outer.x, outer.y, outer.width, outer.height});

    // The engine does not say which frame of the opener asked: the window itself keeps to the chat
    // service's pages, and a blank one to the frame that opened it, whose origin its document has.
    window->guard(request.isUserInitiated(), from);
    // The new page is the opener's window.open() result, so the two can talk (window.opener).
    request.openIn(window->browser()->page());
    window->show();
    if (request.destination() != QWebEngineNewWindowRequest::InNewBackgroundTab) {
        window->raise();
        window->activateWindow();
    }
    if (blank)
        window->judgeBlankDocument(address);
    else
        qCInfo(lcWeb).noquote() << "new window for" << address << "from a page of" << from
                                << "opened in the client";
}

#include "client_window.moc"
