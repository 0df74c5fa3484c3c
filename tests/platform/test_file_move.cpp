#include "platform/file_move.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The move that puts a finished download in its place, against the real file system.
class TestFileMove : public QObject {
    Q_OBJECT

private slots:
    void init();
    void movesToAFreeName();
    void leavesWhateverIsThereAlone_data();
    void leavesWhateverIsThereAlone();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestFileMove::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeFile(path(u"report.txt.part"_s), "transcript\n"));
}

void TestFileMove::movesToAFreeName() {
    QCOMPARE(quillo::moveFileWithoutReplacing(path(u"report.txt.part"_s), path(u"report.txt"_s)),
             quillo::FileMoveResult::Moved);
    QCOMPARE(readFile(path(u"report.txt"_s)), QByteArray("transcript\n"));
    QVERIFY(!QFileInfo::exists(path(u"report.txt.part"_s)));
}

void TestFileMove::leavesWhateverIsThereAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("an operator's file: kept") << u"file"_s;
    QTest::newRow("a link to a missing file: neither replaced nor written through") << u"dangling"_s;
    QTest::newRow("a link to an operator's file: neither replaced nor written through") << u"link"_s;
}

void TestFileMove::leavesWhateverIsThereAlone() {
    QFETCH(QString, kind);
    const QString target = path(u"report.txt"_s);
    const QString elsewhere = path(u"elsewhere.txt"_s);
    if (kind == u"file")
        QVERIFY(writeFile(target, "operator's notes\n"));
    else
        QVERIFY(QFile::link(elsewhere, target));
    if (kind == u"link")
        QVERIFY(writeFile(elsewhere, "operator's notes\n"));

    QCOMPARE(quillo::moveFileWithoutReplacing(path(u"report.txt.part"_s), target),
             quillo::FileMoveResult::Taken);
    QCOMPARE(readFile(path(u"report.txt.part"_s)), QByteArray("transcript\n"));
    if (kind == u"file") {
        QCOMPARE(readFile(target), QByteArray("operator's notes\n"));
        return;
    }
    QCOMPARE(QFileInfo(target).symLinkTarget(), elsewhere);
    QCOMPARE(readFile(elsewhere), kind == u"link" ? QByteArray("operator's notes\n") : QByteArray());
    QCOMPARE(QFileInfo::exists(elsewhere), kind == u"link");
}

QTEST_GUILESS_MAIN(TestFileMove)
#include "test_file_move.moc"
