#include "app/engine_flags.h"

#include <QTest>

class TestEngineFlags final : public QObject {
    Q_OBJECT

private slots:
    void flags_data();
    void flags();
};

void TestEngineFlags::flags_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("expected");

    const QString limit = QStringLiteral("--renderer-process-limit=8");
    QTest::newRow("nothing set: the shared renderers") << QString() << limit;
    QTest::newRow("other flags are kept, ours follow")
        << QStringLiteral("--disable-gpu") << QStringLiteral("--disable-gpu ") + limit;
    QTest::newRow("operator's own limit wins")
        << QStringLiteral("--renderer-process-limit=2") << QStringLiteral("--renderer-process-limit=2");
    QTest::newRow("process per site is a choice of process model")
        << QStringLiteral("--disable-gpu --process-per-site")
        << QStringLiteral("--disable-gpu --process-per-site");
    QTest::newRow("single process is a choice of process model")
        << QStringLiteral("--single-process") << QStringLiteral("--single-process");
    QTest::newRow("a longer flag that merely starts alike is not the same flag")
        << QStringLiteral("--process-per-site-x") << QStringLiteral("--process-per-site-x ") + limit;
    QTest::newRow("a quoted flag counts")
        << QStringLiteral("\"--process-per-site\"") << QStringLiteral("\"--process-per-site\"");
}

void TestEngineFlags::flags() {
    QFETCH(QString, user);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(quillo::engineFlags(user.toStdString())), expected);
}

QTEST_GUILESS_MAIN(TestEngineFlags)
#include "test_engine_flags.moc"
