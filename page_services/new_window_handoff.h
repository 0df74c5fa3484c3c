#pragma once

#include "page_services/web_policy.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

class QUrl;
class QWebEngineNewWindowRequest;
class QWebEnginePage;

namespace quillo::page_services {

// Hands the operator's desktop the new windows pages ask for, each page under its own gate, and
// logs what it refuses without letting a flooding page flood the log too. The chat service's
// pages open their own windows in the client instead, through the opener it is given.
class NewWindowHandoff final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NewWindowHandoff)

public:
    // Whether a page's address is one of the chat service's.
    using TrustRule = std::function<bool(const QUrl& url)>;
    // Opens (or refuses) the request in a window of the client, as a new page of the run's profile.
    using ClientWindowOpener = std::function<void(QWebEnginePage& opener, QWebEngineNewWindowRequest&)>;

    NewWindowHandoff(TrustRule trusted, QObject* parent);
    ~NewWindowHandoff() override;

    // Hooks the page's new-window requests; its gate goes when the page does.
    void attachPage(QWebEnginePage& page);
    // Until one is set, every new window goes to the desktop.
    void setClientWindowOpener(ClientWindowOpener opener) { m_clientWindows = std::move(opener); }

    // What the operator's click hands the desktop; with one log line.
    static void openInDefaultBrowser(const QUrl& url);

private:
    class PageGate;

    void onNewWindowRequested(QWebEnginePage& page, PageGate& gate, QWebEngineNewWindowRequest& request);
    void logQuietBursts();
    void logBurst(const PageGate& page, int refusals) const;
    std::int64_t now() const { return m_clock.elapsed(); }

    TrustRule m_trusted;
    ClientWindowOpener m_clientWindows;
    // The gates of the pages that have refusals to count; each page owns its own.
    std::vector<QPointer<PageGate>> m_counting;
    QElapsedTimer m_clock;
    QTimer m_bursts;
};

} // namespace quillo::page_services
