#include "recovery/console_sleep_watch.h"

#include "platform/sleep_notices.h"
#include "recovery/renderer_recovery.h"

#include <QNetworkInformation>
#include <QStringList>
#include <QWebEngineView>

namespace quillo {
namespace {

alerts::NetworkState networkState(QNetworkInformation::Reachability reachability) {
    switch (reachability) {
    case QNetworkInformation::Reachability::Online:
        return alerts::NetworkState::Up;
    case QNetworkInformation::Reachability::Disconnected:
        return alerts::NetworkState::Down;
    default:
        // A local or site network may still reach the service; a reload that fails is retried.
        return alerts::NetworkState::Unknown;
    }
}

} // namespace

ConsoleSleepWatch::ConsoleSleepWatch(QWebEngineView& console, RendererRecovery& recovery,
                                     std::unique_ptr<SleepNotices> notices, alerts::TimeMs longSleepMs)
    : QObject(&console)
    , m_recovery(recovery)
    , m_notices(std::move(notices))
    , m_logic(longSleepMs) {
    connect(m_notices.get(), &SleepNotices::ready, this, [](bool listening, const QString& detail) {
        qCInfo(lcRecovery).noquote() << (listening ? "watching for sleeps of the machine:"
                                                   : "not watching for sleeps of the machine:")
                                     << detail;
    });
    connect(m_notices.get(), &SleepNotices::goingToSleep, this, [this] {
        qCInfo(lcRecovery) << "the machine goes to sleep";
        m_logic.onSleep(SleepNotices::clockMs());
    });
    connect(m_notices.get(), &SleepNotices::wokeUp, this,
            [this] { apply(m_logic.onWake(SleepNotices::clockMs()), "the machine woke up"); });

    // Loaded by the browser's recovery before this; loading again keeps the one backend.
    if (QNetworkInformation::instance() != nullptr ||
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        QNetworkInformation* network = QNetworkInformation::instance();
        m_logic.onNetwork(networkState(network->reachability()));
        connect(network, &QNetworkInformation::reachabilityChanged, this,
                [this](QNetworkInformation::Reachability reachability) {
                    apply(m_logic.onNetwork(networkState(reachability)), "the network changed");
                });
    }
    // The console's recovery judges each load; the watch goes by its verdict.
    connect(&recovery, &RendererRecovery::loadJudged, this, [this](LoadVerdict verdict) {
        if (const std::optional<alerts::LoadResult> result = sleepLoadResult(verdict))
            m_logic.onLoadFinished(*result);
    });
}

ConsoleSleepWatch::~ConsoleSleepWatch() = default;

void ConsoleSleepWatch::setPopupShowing(bool showing) {
    apply(m_logic.onPopupVisible(showing), "the chat popup closed");
}

void ConsoleSleepWatch::apply(const alerts::SleepActions& actions, const char* when) {
    if (!actions.ping && !actions.reload)
        return;
    QStringList what;
    if (actions.ping)
        what << QStringLiteral("checking the console");
    if (actions.reload)
        what << QStringLiteral("reloading it");
    if (m_logic.reloadWaiting())
        what << QStringLiteral("a reload waits for the network and the chat popup");
    qCInfo(lcRecovery).noquote() << when << "-" << what.join(QStringLiteral(", "));
    if (actions.ping)
        m_recovery.checkNow();
    if (actions.reload)
        m_recovery.reloadNow();
}

} // namespace quillo
