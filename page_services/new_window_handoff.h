#pragma once

#include "page_services/web_policy.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>

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
    using ClientWindowOpener = std::function<void(const QWebEnginePage& opener, QWebEngineNewWindowRequest&)>;

    NewWindowHandoff(TrustRule trusted, QObject* parent);
    ~NewWindowHandoff() override;

    // Hooks the page's new-window requests; its gate goes when the page does.
    void attachPage(QWebEnginePage& page);
    // Until one is set, every new window goes to the desktop.
    void setClientWindowOpener(ClientWindowOpener opener) { m_clientWindows = std::move(opener); }

private:
    struct PageGate {
        NewWindowGate gate;
        // The page's origin at its last refusal, for the line that counts the burst.
        QString origin;
    };

    void onNewWindowRequested(const QWebEnginePage& page, QWebEngineNewWindowRequest& request);
    void openInDefaultBrowser(const QUrl& url);
    void logQuietBursts();
    void logBurst(const PageGate& page, int refusals) const;
    std::int64_t now() const { return m_clock.elapsed(); }

    TrustRule m_trusted;
    ClientWindowOpener m_clientWindows;
    std::map<const QWebEnginePage*, PageGate> m_pages;
    QElapsedTimer m_clock;
    QTimer m_bursts;
};

} // namespace quillo::page_services
