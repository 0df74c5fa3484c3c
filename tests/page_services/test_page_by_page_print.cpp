#include "page_services/page_by_page_print.h"

#include <QPageRanges>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace quillo::page_services;
using namespace Qt::StringLiterals;

// A printer gets the pages the operator chose, drawn one at a time, and nothing past the end.
class TestPageByPagePrint : public QObject {
    Q_OBJECT

private slots:
    void theChosenPagesReachThePrinter_data();
    void theChosenPagesReachThePrinter();
};

void TestPageByPagePrint::theChosenPagesReachThePrinter_data() {
    QTest::addColumn<QString>("ranges");
    QTest::addColumn<int>("pages");
    QTest::newRow("no range: all five") << QString() << 5;
    QTest::newRow("2-3 and 5: three") << u"2-3,5"_s << 3;
    QTest::newRow("4-9 of five: the last two") << u"4-9"_s << 2;
}

void TestPageByPagePrint::theChosenPagesReachThePrinter() {
    QFETCH(QString, ranges);
    QFETCH(int, pages);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(u"source.pdf"_s);
    {
        QPdfWriter writer(source);
        QPainter painter(&writer);
        for (int page = 1; page <= 5; ++page) {
            if (page > 1)
                writer.newPage();
            painter.drawText(QPointF(500, 500), u"Page %1"_s.arg(page));
        }
    }
    QPdfDocument document;
    QCOMPARE(document.load(source), QPdfDocument::Error::None);

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"printed.pdf"_s));
    printer.setPageRanges(QPageRanges::fromString(ranges));
    std::optional<bool> completed;
    PageByPagePrint job(
        document, printer, [&completed](bool done) { completed = done; }, nullptr);
    QVERIFY(job.start());
    QTRY_VERIFY_WITH_TIMEOUT(completed.has_value(), 20000);
    QVERIFY(*completed);
    QCOMPARE(job.printed(), std::size_t(pages));

    QPdfDocument printed;
    QCOMPARE(printed.load(printer.outputFileName()), QPdfDocument::Error::None);
    QCOMPARE(printed.pageCount(), pages);
}

QTEST_MAIN(TestPageByPagePrint)
#include "test_page_by_page_print.moc"
