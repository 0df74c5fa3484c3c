#pragma once

#include "recovery/recovery_policy.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>

class QWebEngineLoadingInfo;
class QWebEngineView;

Q_DECLARE_LOGGING_CATEGORY(lcRecovery)

namespace quillo {

class RecoveryPanel;
struct RecoveryTexts;

// Keeps one browser's page alive through a shift: a renderer that died or stopped answering, or a
// service that could not be reached or was restarting, is loaded again by itself, with growing
// waits, while the client's own waiting page tells the operator what happened and when the next
// try comes.
class RendererRecovery final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RendererRecovery)

public:
    // How often a shown page is asked for a sign of life, and how long it may stay silent.
    static constexpr int kPingMs = 3000;
    static constexpr int kHangMs = 15000;

    // Whether the engine runs no page's work now, because the client waits inside one of its
    // callbacks: no page can answer then, so silence is no sign of a hang.
    using PagesHeld = std::function<bool()>;

    // Lives as long as the browser, which owns it.
    RendererRecovery(QWebEngineView& browser, PagesHeld pagesHeld);
    ~RendererRecovery() override;

    // Whether the waiting page is up, and what it says (title, sentence, countdown, button).
    bool isWaiting() const { return m_reason.has_value(); }
    QStringList waitingTexts() const;
    // The wait before the scheduled try, as it was set.
    int scheduledWaitMs() const { return m_scheduledMs; }

    // "Reload now" / "Try now".
    void tryNow();
    // Asks the page for a sign of life now rather than at the next ping.
    void checkNow() { checkAlive(); }
    // Loads the page again: the address it waits to try when it is waiting, else the one it shows.
    void reloadNow();
    // The client refused the way to address (its certificate, a cancelled sign-in): the waiting
    // page says so with text and tries nothing until the operator presses its button.
    void showRefusal(const RecoveryTexts& texts, const QUrl& address);

signals:
    // Each finished load of the page, as judged here, once the recovery has acted on it.
    void loadJudged(quillo::LoadVerdict verdict);

private:
    void onRendererEnded(int status, int exitCode);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void actOn(LoadVerdict verdict, const QWebEngineLoadingInfo& info);
    void onOnline();
    void checkAlive();
    void schedule(RecoveryReason reason, std::int64_t waitMs);
    void showCountdown();
    void endWaiting();
    bool windowShown() const;
    std::int64_t now() const { return m_clock.elapsed(); }

    QWebEngineView& m_browser;
    PagesHeld m_pagesHeld;
    Backoff m_rendererBackoff{kRendererBackoff};
    Backoff m_unreachableBackoff{kUnreachableBackoff};
    std::optional<RecoveryReason> m_reason;
    QUrl m_address;
    QTimer m_retry;
    QTimer m_countdown;
    QTimer m_ping;
    QElapsedTimer m_clock;
    std::int64_t m_lastAnswerMs = 0;
    std::int64_t m_retryAtMs = 0;
    int m_scheduledMs = 0;
    bool m_endedForHang = false;
    RecoveryPanel* m_panel = nullptr;
};

} // namespace quillo
