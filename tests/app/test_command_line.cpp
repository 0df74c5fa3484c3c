#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The installed client's first contact with a user who runs it from a terminal or over ssh.
class TestCommandLine final : public QObject {
    Q_OBJECT

private slots:
    void answersWithoutDisplay_data();
    void answersWithoutDisplay();

private:
    QTemporaryDir m_runtimeDir;
};

void TestCommandLine::answersWithoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stdoutHas");
    QTest::addColumn<QString>("stderrHas");

    QTest::newRow("--help: usage and the setup command")
        << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("quillo-setup") << QString();
    QTest::newRow("-h is help too") << QStringList{QStringLiteral("-h")} << 0 << QStringLiteral("--version")
                                    << QString();
    QTest::newRow("--version: name and version")
        << QStringList{QStringLiteral("--version")} << 0 << QStringLiteral("quillo 1.0.0.4") << QString();
    QTest::newRow("no arguments: one line about the graphical session, no abort")
        << QStringList{} << 1 << QString()
        << QStringLiteral("quillo: needs a graphical session (X11 or Wayland), and none was found\n");
    QTest::newRow("a choice of xcb does not help without X")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb")} << 1 << QString()
        << QStringLiteral("needs a graphical session");
}

void TestCommandLine::answersWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, stdoutHas);
    QFETCH(QString, stderrHas);
    QVERIFY(m_runtimeDir.isValid());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"})
        environment.remove(QString::fromLatin1(name));
    // An empty runtime directory: no compositor's socket to find either.
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
    QProcess quillo;
    quillo.setProcessEnvironment(environment);
    quillo.start(QStringLiteral(QUILLO_BINARY_PATH), arguments);
    QVERIFY2(quillo.waitForFinished(20000), "quillo did not end by itself");
    const QString out = QString::fromLocal8Bit(quillo.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(quillo.readAllStandardError());
    QCOMPARE(quillo.exitStatus(), QProcess::NormalExit);
    QVERIFY2(quillo.exitCode() == status, qPrintable(out + err));
    if (!stdoutHas.isEmpty())
        QVERIFY2(out.contains(stdoutHas), qPrintable(out));
    if (!stderrHas.isEmpty())
        QVERIFY2(err.contains(stderrHas), qPrintable(err));
    // The no-display answer is the client's own single line, not the toolkit's advice.
    if (status != 0)
        QCOMPARE(err.count(QLatin1Char('\n')), 1);
}

QTEST_GUILESS_MAIN(TestCommandLine)

#include "test_command_line.moc"
