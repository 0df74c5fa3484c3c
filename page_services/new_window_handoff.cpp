#include "page_services/new_window_handoff.h"

#include "page_services/page_services.h"
#include "page_services/web_log.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>

namespace quillo::page_services {

namespace {

const char* refusalText(NewWindowRefusal refusal) {
    switch (refusal) {
    case NewWindowRefusal::Scheme:
        return "not a web or mail address";
    case NewWindowRefusal::NoGesture:
        return "the page's script asked, not the operator";
    case NewWindowRefusal::TooMany:
        return "more than the operator could ask for in a second";
    }
    return "refused";
}

} // namespace

NewWindowHandoff::NewWindowHandoff(TrustRule trusted, QObject* parent)
    : QObject(parent)
    , m_trusted(std::move(trusted)) {
    m_clock.start();
    m_bursts.setSingleShot(true);
    m_bursts.setInterval(int(NewWindowGate::kSecondMs));
    connect(&m_bursts, &QTimer::timeout, this, &NewWindowHandoff::logQuietBursts);
}

NewWindowHandoff::~NewWindowHandoff() = default;

void NewWindowHandoff::attachPage(QWebEnginePage& page) {
    connect(
        &page, &QWebEnginePage::newWindowRequested, this,
        [this, page = &page](QWebEngineNewWindowRequest& request) { onNewWindowRequested(*page, request); });
    // A page that goes in the middle of a burst still has its burst counted.
    connect(&page, &QObject::destroyed, this, [this, key = &page] {
        const auto gone = m_pages.find(key);
        if (gone == m_pages.end())
            return;
        logBurst(gone->second, gone->second.gate.takeQuietRefusals(now() + NewWindowGate::kSecondMs));
        m_pages.erase(gone);
    });
}

void NewWindowHandoff::onNewWindowRequested(const QWebEnginePage& page, QWebEngineNewWindowRequest& request) {
    const QUrl url = request.requestedUrl();
    if (m_clientWindows) {
        const bool blank = url.isEmpty() || url.toString() == u"about:blank";
        if (routeNewWindow(m_trusted(page.url()), m_trusted(url), blank) == NewWindowRoute::ClientWindow) {
            m_clientWindows(page, request);
            return;
        }
    }
    PageGate& gate = m_pages[&page];
    const NewWindowGate::Decision decision =
        gate.gate.decide(url.scheme().toStdString(), request.isUserInitiated(), now());
    switch (decision.action) {
    case NewWindowAction::OpenInDefaultBrowser:
        openInDefaultBrowser(url);
        return;
    case NewWindowAction::Ignore:
        break;
    }
    gate.origin = PageServices::originText(page.url());
    if (decision.logNow) {
        qCInfo(lcWeb).noquote() << "new window for" << url.toDisplayString() << "from" << gate.origin
                                << "refused:"
                                << refusalText(decision.refusal.value_or(NewWindowRefusal::Scheme));
    } else if (!m_bursts.isActive()) {
        m_bursts.start();
    }
}

void NewWindowHandoff::openInDefaultBrowser(const QUrl& url) {
    const bool opened = QDesktopServices::openUrl(url);
    qCInfo(lcWeb) << "new window opened in the default browser:" << url.toDisplayString()
                  << (opened ? "" : "(no browser could be started)");
}

void NewWindowHandoff::logQuietBursts() {
    bool goingOn = false;
    for (auto& [page, gate] : m_pages) {
        logBurst(gate, gate.gate.takeQuietRefusals(now()));
        goingOn = goingOn || gate.gate.hasUnloggedRefusals();
    }
    if (goingOn)
        m_bursts.start();
}

void NewWindowHandoff::logBurst(const PageGate& page, int refusals) const {
    if (refusals > 0)
        qCInfo(lcWeb).noquote() << refusals << "further new windows from" << page.origin << "refused";
}

} // namespace quillo::page_services
