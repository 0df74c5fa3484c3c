#include "notification/delimited_field.h"

#include <QTest>
#include <cstdlib>
#include <new>

namespace {
// Lets a test refuse the next allocations and count them, to see the routine's own storage use.
bool s_failAllocations = false;
int s_allocations = 0;
} // namespace

void* operator new(std::size_t size) {
    ++s_allocations;
    if (s_failAllocations)
        throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

class TestDelimitedField : public QObject {
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void lengthLimitsTheRecord();
    void noStorageForTheField();
    void sizesTheOutputOnce();
};

void TestDelimitedField::fields_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("n");
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<char>("escape");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("out");

    const char bar = '|';
    const char bs = '\\';
    // Every call starts with out holding "stale", to see what each failure leaves there.
    QTest::newRow("pq|r\\|s|t: field 0 is pq")
        << QByteArray("pq|r\\|s|t") << 0 << bar << bs << 1 << QByteArray("pq");
    QTest::newRow("pq|r\\|s|t: escaped delimiter is text")
        << QByteArray("pq|r\\|s|t") << 1 << bar << bs << 1 << QByteArray("r|s");
    QTest::newRow("pq|r\\|s|t: field 2 is t")
        << QByteArray("pq|r\\|s|t") << 2 << bar << bs << 1 << QByteArray("t");
    QTest::newRow("pq|r\\|s|t: field 3 missing, out emptied")
        << QByteArray("pq|r\\|s|t") << 3 << bar << bs << 0 << QByteArray("");
    QTest::newRow("|x: separator at position 0 gives empty field 0")
        << QByteArray("|x") << 0 << bar << bs << 1 << QByteArray("");
    QTest::newRow("|x: field 1 is x") << QByteArray("|x") << 1 << bar << bs << 1 << QByteArray("x");
    QTest::newRow("a|: last byte delimiter gives empty last field")
        << QByteArray("a|") << 1 << bar << bs << 1 << QByteArray("");
    QTest::newRow("a|: field 2 missing") << QByteArray("a|") << 2 << bar << bs << 0 << QByteArray("");
    QTest::newRow("x||y: adjacent separators give empty field")
        << QByteArray("x||y") << 1 << bar << bs << 1 << QByteArray("");
    QTest::newRow("x||y: field 2 is y") << QByteArray("x||y") << 2 << bar << bs << 1 << QByteArray("y");
    QTest::newRow("a\\\\|b: two escapes still hide the delimiter")
        << QByteArray("a\\\\|b") << 0 << bar << bs << 1 << QByteArray("a|b");
    QTest::newRow("a\\\\|b: so there is no field 1")
        << QByteArray("a\\\\|b") << 1 << bar << bs << 0 << QByteArray("");
    QTest::newRow("a\\b\\: escape before a byte and at the end dropped")
        << QByteArray("a\\b\\") << 0 << bar << bs << 1 << QByteArray("ab");
    QTest::newRow("no delimiter: whole record minus escapes")
        << QByteArray("he\\llo world") << 0 << bar << bs << 1 << QByteArray("hello world");
    QTest::newRow("no delimiter: field 1 missing")
        << QByteArray("hello") << 1 << bar << bs << 0 << QByteArray("");
    QTest::newRow("empty record, field 0: out unchanged")
        << QByteArray("") << 0 << bar << bs << 0 << QByteArray("stale");
    QTest::newRow("empty record, field 3: out unchanged")
        << QByteArray("") << 3 << bar << bs << 0 << QByteArray("stale");
    QTest::newRow("negative n is field 0") << QByteArray("a|b") << -5 << bar << bs << 1 << QByteArray("a");
    QTest::newRow("field of escapes only is empty, result 1")
        << QByteArray("a|\\\\\\") << 1 << bar << bs << 1 << QByteArray("");
    QTest::newRow("record of one escape byte") << QByteArray("\\") << 0 << bar << bs << 1 << QByteArray("");
    QTest::newRow("escaped delimiter at the start of a field")
        << QByteArray("a|\\|b|c") << 1 << bar << bs << 1 << QByteArray("|b");
    QTest::newRow("other delimiter and escape")
        << QByteArray("a^,b,c") << 0 << ',' << '^' << 1 << QByteArray("a,b");
    QTest::newRow("other delimiter: bar is text")
        << QByteArray("a|b,c") << 1 << ',' << '^' << 1 << QByteArray("c");
    QTest::newRow("high byte as delimiter compared as 8 bits")
        << QByteArray("x\xFFy") << 1 << '\xFF' << bs << 1 << QByteArray("y");
    QTest::newRow("high bytes of UTF-8 text copied unchanged")
        << QByteArray("J\xC3\xBCrgen|hi") << 0 << bar << bs << 1 << QByteArray("J\xC3\xBCrgen");
    QTest::newRow("far field of a short record")
        << QByteArray("a|b") << 1000 << bar << bs << 0 << QByteArray("");
}

void TestDelimitedField::fields() {
    QFETCH(QByteArray, record);
    QFETCH(int, n);
    QFETCH(char, delimiter);
    QFETCH(char, escape);
    QFETCH(int, result);
    QFETCH(QByteArray, out);

    std::string field = "stale";
    // An exact-size copy, so reading past the record is caught by sanitizer builds.
    const std::unique_ptr<char[]> bytes(new char[std::max<qsizetype>(record.size(), 1)]);
    std::copy(record.cbegin(), record.cend(), bytes.get());
    QCOMPARE(
        GetDelimitedField(field, bytes.get(), static_cast<std::int32_t>(record.size()), n, delimiter, escape),
        result);
    QCOMPARE(QByteArray::fromStdString(field), out);
}

void TestDelimitedField::lengthLimitsTheRecord() {
    // Only the counted bytes are the record: no terminator is needed and nothing after is read.
    const char buffer[] = "ab|cd|ef";
    std::string field = "stale";
    QCOMPARE(GetDelimitedField(field, buffer, 3, 1, '|', '\\'), 1);
    QCOMPARE(field, std::string());
    QCOMPARE(GetDelimitedField(field, buffer, 4, 1, '|', '\\'), 1);
    QCOMPARE(field, std::string("c"));
    QCOMPARE(GetDelimitedField(field, buffer, 4, 2, '|', '\\'), 0);

    field = "stale";
    QCOMPARE(GetDelimitedField(field, nullptr, 10, 0, '|', '\\'), 0);
    QCOMPARE(field, std::string("stale"));
    QCOMPARE(GetDelimitedField(field, buffer, -1, 0, '|', '\\'), 0);
    QCOMPARE(field, std::string("stale"));
}

void TestDelimitedField::noStorageForTheField() {
    const std::string record = "name|" + std::string(200, 'm') + "|2 min";
    std::string field;
    s_failAllocations = true;
    const int result =
        GetDelimitedField(field, record.data(), static_cast<std::int32_t>(record.size()), 1, '|', '\\');
    s_failAllocations = false;
    QCOMPARE(result, 0);
    QVERIFY(field.size() <= 200);
}

void TestDelimitedField::sizesTheOutputOnce() {
    const std::string record = "name|" + std::string(300, 'm') + "\\|" + std::string(300, 'n') + "|2 min";
    std::string field;
    s_allocations = 0;
    QCOMPARE(GetDelimitedField(field, record.data(), static_cast<std::int32_t>(record.size()), 1, '|', '\\'),
             1);
    const int allocations = s_allocations;
    QCOMPARE(allocations, 1);
    QCOMPARE(field.size(), std::size_t(601));
    QCOMPARE(field[300], '|');

    // Storage that is large enough already is reused.
    s_allocations = 0;
    QCOMPARE(GetDelimitedField(field, record.data(), static_cast<std::int32_t>(record.size()), 0, '|', '\\'),
             1);
    const int reused = s_allocations;
    QCOMPARE(reused, 0);
    QCOMPARE(field, std::string("name"));
}

QTEST_APPLESS_MAIN(TestDelimitedField)
#include "test_delimited_field.moc"
