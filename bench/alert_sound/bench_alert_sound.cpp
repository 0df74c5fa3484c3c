// Plays the client's alert sound through its real player, every period, on a null sink that is
// being recorded, and counts how many plays were heard: sound energy on the recording within
// kHeardWithinMs of the call. Prints each play, then heard/played and the latency of what was
// heard (to the end of the first loud 100 ms window of the recording).
//
//   bench_alert_sound [plays = 200] [period in seconds = 9]

#include "alerts/alert_sound_player.h"
#include "tests/support/alert_fixtures.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {
constexpr qint64 kHeardWithinMs = 300;
// Far above the quietest tail of the sound (about 0.012 RMS over its last 100 ms): a window that
// holds the previous play's tail, completed by silence, is not taken for a new sound.
constexpr double kHeardRms = 0.05;
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int plays = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int periodMs = argc > 2 ? std::max(1, std::atoi(argv[2])) * 1000 : 9000;

    PulseServer pulse;
    if (!pulse.start()) {
        std::fprintf(stderr, "no audio server: %s\n", qPrintable(pulse.errorString()));
        return 1;
    }
    SinkRecorder recorder(pulse);
    if (!recorder.start() || !primeSink(pulse, recorder, QStringLiteral(QUILLO_ALERT_SOUND_PATH))) {
        std::fprintf(stderr, "the sink's recording does not work\n");
        return 1;
    }
    // The player's sound service finds the server as the client would.
    qputenv("PULSE_SERVER", pulse.serverAddress().toUtf8());
    quillo::alerts::AlertSoundPlayer player;
    int reportedFailed = 0;
    QObject::connect(&player, &quillo::alerts::AlertSoundPlayer::played, &app,
                     [&reportedFailed](bool ok) { reportedFailed += ok ? 0 : 1; });

    std::vector<qint64> latencies;
    for (int i = 1; i <= plays; ++i) {
        const qint64 called = recorder.now();
        player.play();
        std::optional<qint64> heard;
        waitListening(
            recorder,
            [&] {
                heard = recorder.firstSound(called, kHeardRms);
                return heard.has_value();
            },
            int(kHeardWithinMs));
        if (heard && *heard - called <= kHeardWithinMs) {
            latencies.push_back(*heard - called);
            std::printf("play %d: heard after %lld ms\n", i, *heard - called);
        } else {
            std::printf("play %d: not heard within %lld ms\n", i, kHeardWithinMs);
        }
        std::fflush(stdout);
        if (i < plays)
            listen(recorder, int(std::max<qint64>(0, called + periodMs - recorder.now())));
    }
    // The last play's outcome.
    listen(recorder, quillo::alerts::AlertSoundPlayer::kPlayTimeoutMs);

    std::printf("heard/played: %zu/%d; the player reported %d failed\n", latencies.size(), plays,
                reportedFailed);
    if (!latencies.empty()) {
        std::sort(latencies.begin(), latencies.end());
        std::printf("latency ms: min %lld, median %lld, max %lld\n", latencies.front(),
                    latencies[latencies.size() / 2], latencies.back());
    }
    return latencies.size() == std::size_t(plays) ? 0 : 2;
}
