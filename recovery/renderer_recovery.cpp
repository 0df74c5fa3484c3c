#include "recovery/renderer_recovery.h"

#include "platform/process_end.h"
#include "recovery/recovery_panel.h"

#include <QNetworkInformation>
#include <QRandomGenerator>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

Q_LOGGING_CATEGORY(lcRecovery, "quillo.recovery", QtInfoMsg)

namespace quillo {
namespace {

// Loaded once per process: the engine's own backend tells when the machine is online again.
QNetworkInformation* networkInformation() {
    static const bool loaded =
        QNetworkInformation::instance() != nullptr ||
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    return loaded ? QNetworkInformation::instance() : nullptr;
}

RecoveryReason reasonOf(QWebEnginePage::RenderProcessTerminationStatus status) {
    switch (status) {
    case QWebEnginePage::CrashedTerminationStatus:
        return RecoveryReason::RendererCrashed;
    case QWebEnginePage::KilledTerminationStatus:
        return RecoveryReason::RendererKilled;
    default:
        return RecoveryReason::RendererEnded;
    }
}

// Why a load failed, for the log. The engine's text for an HTTP answer is its error page's
// template, not words.
QString failureText(const QWebEngineLoadingInfo& info) {
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return QStringLiteral("HTTP %1").arg(info.errorCode());
    return QStringLiteral("%1 %2").arg(info.errorCode()).arg(info.errorString());
}

} // namespace

RendererRecovery::RendererRecovery(QWebEngineView& browser, PagesHeld pagesHeld)
    : QObject(&browser)
    , m_browser(browser)
    , m_pagesHeld(std::move(pagesHeld)) {
    m_clock.start();
    QWebEnginePage* page = browser.page();
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                onRendererEnded(int(status), exitCode);
            });
    connect(page, &QWebEnginePage::loadingChanged, this, &RendererRecovery::onLoadingChanged);
    // A new renderer starts its own clock of silence.
    connect(page, &QWebEnginePage::renderProcessPidChanged, this, [this] { m_lastAnswerMs = now(); });

    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &RendererRecovery::tryNow);
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &RendererRecovery::showCountdown);
    m_ping.setInterval(kPingMs);
    connect(&m_ping, &QTimer::timeout, this, &RendererRecovery::checkAlive);
    m_ping.start();

    if (QNetworkInformation* network = networkInformation()) {
        connect(network, &QNetworkInformation::reachabilityChanged, this,
                [this](QNetworkInformation::Reachability reachability) {
                    if (reachability == QNetworkInformation::Reachability::Online)
                        onOnline();
                });
    }

    m_panel = new RecoveryPanel(browser);
    connect(m_panel, &RecoveryPanel::tryNowClicked, this, &RendererRecovery::tryNow);
}

RendererRecovery::~RendererRecovery() = default;

bool RendererRecovery::windowShown() const {
    return !m_browser.window()->isHidden();
}

void RendererRecovery::onRendererEnded(int status, int exitCode) {
    const RecoveryReason reason = m_endedForHang
                                      ? RecoveryReason::PageHung
                                      : reasonOf(QWebEnginePage::RenderProcessTerminationStatus(status));
    m_endedForHang = false;
    const QUrl address = m_browser.url();
    // An ended window shows nothing; it loads its page anew when it is opened again.
    if (!windowShown() || address.isEmpty() || address == QUrl(QStringLiteral("about:blank"))) {
        qCInfo(lcRecovery).noquote() << "renderer of a hidden or empty browser ended (" << reasonName(reason)
                                     << ", exit code" << exitCode << "); nothing to reload";
        endWaiting();
        return;
    }
    m_address = address;
    const std::int64_t wait = m_rendererBackoff.failed(now());
    qCInfo(lcRecovery).noquote() << reasonName(reason) << "(exit code" << exitCode << ") at"
                                 << address.toDisplayString() << "- reloading in" << wait << "ms";
    schedule(reason, wait);
}

void RendererRecovery::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    m_lastAnswerMs = now();
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus ||
        info.status() == QWebEngineLoadingInfo::LoadStoppedStatus)
        return;
    const LoadVerdict verdict =
        judgeLoad(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus, info.errorCode(),
                  info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain);
    actOn(verdict, info);
    // Told once the waiting page and its timers say what comes next, so a listener that loads the
    // page again goes through them rather than round them.
    emit loadJudged(verdict);
}

void RendererRecovery::actOn(LoadVerdict verdict, const QWebEngineLoadingInfo& info) {
    switch (verdict) {
    case LoadVerdict::Replaced:
        return;
    case LoadVerdict::Loaded:
        m_rendererBackoff.succeeded(now());
        m_unreachableBackoff.succeeded(now());
        if (m_reason)
            qCInfo(lcRecovery).noquote() << "page is back:" << info.url().toDisplayString();
        endWaiting();
        return;
    case LoadVerdict::Failed:
        // What the client refused stays said over the engine's page, until the operator acts.
        if (m_reason == RecoveryReason::Refused)
            return;
        // The server's answer or the engine's refusal is the operator's to see.
        if (m_reason)
            qCInfo(lcRecovery).noquote() << "load of" << info.url().toDisplayString() << "failed for good ("
                                         << failureText(info) << ")";
        endWaiting();
        return;
    case LoadVerdict::Unreachable:
    case LoadVerdict::Unavailable:
        break;
    }
    const bool unavailable = verdict == LoadVerdict::Unavailable;
    m_address = info.url();
    const std::int64_t wait =
        m_unreachableBackoff.failed(now(), QRandomGenerator::global()->generateDouble());
    qCInfo(lcRecovery).noquote() << (unavailable ? "service not available at" : "cannot reach")
                                 << m_address.toDisplayString() << "(" << failureText(info)
                                 << ") - trying again in" << wait << "ms";
    schedule(unavailable ? RecoveryReason::Unavailable : RecoveryReason::Unreachable, wait);
}

void RendererRecovery::onOnline() {
    if (m_reason != RecoveryReason::Unreachable && m_reason != RecoveryReason::Unavailable)
        return;
    qCInfo(lcRecovery).noquote() << "network is online again - trying" << m_address.toDisplayString()
                                 << "now";
    tryNow();
}

void RendererRecovery::schedule(RecoveryReason reason, std::int64_t waitMs) {
    m_reason = reason;
    m_scheduledMs = int(waitMs);
    m_retryAtMs = now() + waitMs;
    m_retry.start(int(waitMs));
    m_countdown.start();
    m_panel->showOver();
    showCountdown();
}

void RendererRecovery::showCountdown() {
    if (!m_reason || m_reason == RecoveryReason::Refused)
        return;
    const std::int64_t left = m_retry.isActive() ? std::max<std::int64_t>(0, m_retryAtMs - now()) : 0;
    m_panel->setTexts(
        RecoveryPanel::textsFor(recoveryNotice(*m_reason, m_address.toDisplayString().toStdString(), left)));
}

void RendererRecovery::tryNow() {
    if (!m_reason)
        return;
    // A window ended while it waited loads its page anew when it is opened again.
    if (!windowShown()) {
        endWaiting();
        return;
    }
    m_retry.stop();
    // A refusal is asked again from the start: the sign-in question or the certificate's panel.
    if (m_reason == RecoveryReason::Refused)
        endWaiting();
    else
        showCountdown();
    // Reloading the entry that failed or died keeps the history as it was: no entry per try, and
    // Refresh and Back still act on the page's own address.
    if (m_address.isEmpty() || m_browser.url() == m_address)
        m_browser.reload();
    else
        m_browser.load(m_address);
}

void RendererRecovery::showRefusal(const RecoveryTexts& texts, const QUrl& address) {
    m_reason = RecoveryReason::Refused;
    m_address = address;
    m_retry.stop();
    m_countdown.stop();
    m_panel->setTexts(texts);
    m_panel->showOver();
    qCInfo(lcRecovery).noquote() << "waiting page:" << texts.title << "-" << texts.what;
}

void RendererRecovery::reloadNow() {
    if (m_reason) {
        tryNow();
        return;
    }
    if (windowShown())
        m_browser.reload();
}

void RendererRecovery::endWaiting() {
    m_reason.reset();
    m_retry.stop();
    m_countdown.stop();
    m_panel->hide();
}

void RendererRecovery::checkAlive() {
    QWebEnginePage* page = m_browser.page();
    // A hidden or recovering page is not asked. While the client waits inside one of the engine's
    // callbacks (the console's script box) the engine runs no page's work, so no page can answer.
    if (m_reason || !windowShown() || page->renderProcessPid() <= 0 || (m_pagesHeld && m_pagesHeld())) {
        m_lastAnswerMs = now();
        return;
    }
    if (now() - m_lastAnswerMs >= kHangMs) {
        qCWarning(lcRecovery).noquote()
            << "page" << m_browser.url().toDisplayString() << "has not answered for"
            << (now() - m_lastAnswerMs) << "ms - ending its renderer";
        m_endedForHang = endProcess(page->renderProcessPid());
        m_lastAnswerMs = now();
        return;
    }
    QPointer<RendererRecovery> self(this);
    page->runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld, [self](const QVariant&) {
        if (self)
            self->m_lastAnswerMs = self->now();
    });
}

QStringList RendererRecovery::waitingTexts() const {
    if (!m_reason)
        return {};
    return m_panel->texts();
}

} // namespace quillo
