#include "page_services/new_window_handoff.h"

#include "page_services/page_services.h"
#include "page_services/web_log.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <algorithm>

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

// One page's gate, owned by the page: it goes with the page, and a later page never finds it.
class NewWindowHandoff::PageGate final : public QObject {
public:
    PageGate(NewWindowHandoff& handoff, QWebEnginePage& page)
        : QObject(&page)
        , m_handoff(&handoff) {}
    Q_DISABLE_COPY_MOVE(PageGate)
    // A page that goes in the middle of a burst still has its burst counted.
    ~PageGate() override {
        if (m_handoff)
            m_handoff->logBurst(*this, gate.takeQuietRefusals(m_handoff->now() + NewWindowGate::kSecondMs));
    }

    NewWindowGate gate;
    // The page's origin at its last refusal, for the line that counts the burst.
    QString origin;

private:
    QPointer<NewWindowHandoff> m_handoff;
};

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
    auto* gate = new PageGate(*this, page);
    connect(&page, &QWebEnginePage::newWindowRequested, gate,
            [this, page = &page, gate](QWebEngineNewWindowRequest& request) {
                onNewWindowRequested(*page, *gate, request);
            });
}

void NewWindowHandoff::onNewWindowRequested(QWebEnginePage& page, PageGate& gate,
                                            QWebEngineNewWindowRequest& request) {
    const QUrl url = request.requestedUrl();
    if (m_clientWindows) {
        const bool blank = url.isEmpty() || url.toString() == u"about:blank";
        if (routeNewWindow(m_trusted(page.url()), m_trusted(url), blank) == NewWindowRoute::ClientWindow) {
            m_clientWindows(page, request);
            return;
        }
    }
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
        qCInfo(lcWeb).noquote() << "new window for" << logged(url) << "from" << gate.origin << "refused:"
                                << refusalText(decision.refusal.value_or(NewWindowRefusal::Scheme));
        return;
    }
    if (std::find(m_counting.begin(), m_counting.end(), &gate) == m_counting.end())
        m_counting.emplace_back(&gate);
    if (!m_bursts.isActive())
        m_bursts.start();
}

void NewWindowHandoff::openInDefaultBrowser(const QUrl& url) {
    const bool opened = QDesktopServices::openUrl(url);
    qCInfo(lcWeb).noquote() << "new window opened in the default browser:" << logged(url)
                            << (opened ? "" : "(no browser could be started)");
}

void NewWindowHandoff::logQuietBursts() {
    std::erase_if(m_counting, [this](const QPointer<PageGate>& gate) {
        if (gate.isNull())
            return true;
        logBurst(*gate, gate->gate.takeQuietRefusals(now()));
        return !gate->gate.hasUnloggedRefusals();
    });
    if (!m_counting.empty())
        m_bursts.start();
}

void NewWindowHandoff::logBurst(const PageGate& page, int refusals) const {
    if (refusals > 0)
        qCInfo(lcWeb).noquote() << refusals << "further new windows from" << page.origin << "refused";
}

} // namespace quillo::page_services
