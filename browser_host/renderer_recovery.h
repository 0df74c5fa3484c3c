#pragma once

#include "browser_host/recovery_policy.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <optional>

class CWebBrowser2;
class QLabel;
class QPushButton;
class QWebEngineLoadingInfo;

Q_DECLARE_LOGGING_CATEGORY(lcRecovery)

namespace quillo {

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

    // Lives as long as the browser, which owns it.
    explicit RendererRecovery(CWebBrowser2& browser);
    ~RendererRecovery() override;

    // Whether the waiting page is up, and what it says (title, sentence, countdown, button).
    bool isWaiting() const { return m_reason.has_value(); }
    QStringList waitingTexts() const;
    // The wait before the scheduled try, as it was set.
    int scheduledWaitMs() const { return m_scheduledMs; }

    // "Reload now" / "Try now".
    void tryNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onRendererEnded(int status, int exitCode);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onOnline();
    void checkAlive();
    void schedule(RecoveryReason reason, std::int64_t waitMs);
    void showCountdown();
    void endWaiting();
    bool windowShown() const;
    std::int64_t now() const { return m_clock.elapsed(); }

    CWebBrowser2& m_browser;
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

    QWidget* m_panel = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_what = nullptr;
    QLabel* m_countdownLabel = nullptr;
    QPushButton* m_button = nullptr;
};

} // namespace quillo
