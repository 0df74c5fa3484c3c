#include "browser_host/recovery_policy.h"

#include <QTest>

using namespace quillo;

Q_DECLARE_METATYPE(quillo::LoadFailureAction)

// One step of a browser's life: a failure at a time (with the jitter draw), or a page that came up.
struct Step {
    std::int64_t atMs;
    bool up;
    double jitter = 0.0;
};
Q_DECLARE_METATYPE(std::vector<Step>)
Q_DECLARE_METATYPE(std::vector<std::int64_t>)
Q_DECLARE_METATYPE(quillo::BackoffPolicy)

class TestRecoveryPolicy : public QObject {
    Q_OBJECT

private slots:
    void backoff_data();
    void backoff();
    void classify_data();
    void classify();
};

void TestRecoveryPolicy::backoff_data() {
    QTest::addColumn<BackoffPolicy>("policy");
    QTest::addColumn<std::vector<Step>>("steps");
    QTest::addColumn<std::vector<std::int64_t>>("waits"); // one per failure, in order

    QTest::newRow("renderer dying again and again: doubling from half a second")
        << kRendererBackoff << std::vector<Step>{{0, false}, {600, false}, {1700, false}, {3800, false}}
        << std::vector<std::int64_t>{500, 1000, 2000, 4000};
    QTest::newRow("renderer: waits stop growing at a minute")
        << kRendererBackoff << std::vector<Step>{{0, false}, {1, false}, {2, false}, {3, false}, {4, false},
                                                 {5, false}, {6, false}, {7, false}, {8, false}, {9, false}}
        << std::vector<std::int64_t>{500, 1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000};
    QTest::newRow("renderer: up for a minute starts again from the first wait")
        << kRendererBackoff << std::vector<Step>{{0, false}, {500, false}, {2000, true}, {62000, false}}
        << std::vector<std::int64_t>{500, 1000, 500};
    QTest::newRow("renderer: up for less than a minute keeps growing")
        << kRendererBackoff << std::vector<Step>{{0, false}, {500, false}, {2000, true}, {61000, false}}
        << std::vector<std::int64_t>{500, 1000, 2000};
    QTest::newRow("renderer: later loads do not restart the minute")
        << kRendererBackoff << std::vector<Step>{{0, false}, {1000, true}, {50000, true}, {61000, false}}
        << std::vector<std::int64_t>{500, 500};
    QTest::newRow("unreachable: 2, 4, 8 s; the highest jitter stretches by a tenth")
        << kUnreachableBackoff << std::vector<Step>{{0, false}, {0, false, 0.999999}, {0, false, 0.5}}
        << std::vector<std::int64_t>{2000, 4400, 8400};
    QTest::newRow("unreachable: any success starts again from 2 s")
        << kUnreachableBackoff << std::vector<Step>{{0, false}, {3000, false}, {9000, true}, {9001, false}}
        << std::vector<std::int64_t>{2000, 4000, 2000};
    QTest::newRow("unreachable: forever, at most a minute and its jitter")
        << kUnreachableBackoff << std::vector<Step>{{0, false}, {0, false}, {0, false},     {0, false},
                                                    {0, false}, {0, false}, {0, false, 1.0}}
        << std::vector<std::int64_t>{2000, 4000, 8000, 16000, 32000, 60000, 66000};
}

void TestRecoveryPolicy::backoff() {
    QFETCH(BackoffPolicy, policy);
    QFETCH(std::vector<Step>, steps);
    QFETCH(std::vector<std::int64_t>, waits);
    Backoff backoff(policy);
    std::vector<std::int64_t> seen;
    for (const Step& step : steps) {
        if (step.up)
            backoff.succeeded(step.atMs);
        else
            seen.push_back(backoff.failed(step.atMs, step.jitter));
    }
    QCOMPARE(seen, waits);
}

void TestRecoveryPolicy::classify_data() {
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<bool>("httpStatus");
    QTest::addColumn<LoadFailureAction>("action");

    QTest::newRow("connection refused: retried") << -102 << false << LoadFailureAction::Retry;
    QTest::newRow("connection reset: retried") << -101 << false << LoadFailureAction::Retry;
    QTest::newRow("name not resolved: retried") << -105 << false << LoadFailureAction::Retry;
    QTest::newRow("connection timed out: retried") << -118 << false << LoadFailureAction::Retry;
    QTest::newRow("network changed: retried") << -21 << false << LoadFailureAction::Retry;
    QTest::newRow("address unreachable: retried") << -109 << false << LoadFailureAction::Retry;
    QTest::newRow("TLS handshake failed: retried") << -107 << false << LoadFailureAction::Retry;
    QTest::newRow("HTTP 503 from the service: its own answer") << 503 << true << LoadFailureAction::ShowAsIs;
    QTest::newRow("HTTP 404 from the service: its own answer") << 404 << true << LoadFailureAction::ShowAsIs;
    QTest::newRow("certificate authority invalid: never retried")
        << -202 << false << LoadFailureAction::ShowAsIs;
    QTest::newRow("certificate name mismatch: never retried") << -200 << false << LoadFailureAction::ShowAsIs;
    QTest::newRow("certificate revoked: never retried") << -201 << false << LoadFailureAction::ShowAsIs;
    QTest::newRow("load replaced by another: nothing to do") << -3 << false << LoadFailureAction::Ignore;
    QTest::newRow("unknown scheme: retrying cannot mend it") << -301 << false << LoadFailureAction::ShowAsIs;
    QTest::newRow("blocked by the client: not a network failure")
        << -20 << false << LoadFailureAction::ShowAsIs;
}

void TestRecoveryPolicy::classify() {
    QFETCH(int, errorCode);
    QFETCH(bool, httpStatus);
    QFETCH(LoadFailureAction, action);
    QCOMPARE(classifyLoadFailure(errorCode, httpStatus), action);
}

QTEST_APPLESS_MAIN(TestRecoveryPolicy)
#include "test_recovery_policy.moc"
