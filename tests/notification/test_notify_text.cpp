#include "browser_host/utf8_text.h"
#include "notification/notify_text.h"

#include <QTest>

using namespace quillo;
using namespace quillo::notify;

class TestNotifyText : public QObject {
    Q_OBJECT

private slots:
    void compose_data();
    void compose();
    void spans_data();
    void spans();
    void cutAtBoundary_data();
    void cutAtBoundary();
    void textAreaPosition_data();
    void textAreaPosition();
};

namespace {
QByteArray bytes(const std::string& s) {
    return QByteArray::fromStdString(s);
}
const QByteArray name100(100, 'N');
const QByteArray name110(110, 'N');
const QByteArray name111(111, 'N');
} // namespace

void TestNotifyText::compose_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("all four fields") << QByteArray("Ann|Hi there|2 min|Sales")
                                     << QByteArray("Ann : Hi there\r\nWaiting 2 min for Sales");
    QTest::newRow("empty record") << QByteArray("") << QByteArray(" : \r\nWaiting ");
    QTest::newRow("no last field: no for")
        << QByteArray("Ann|Hi|2 min") << QByteArray("Ann : Hi\r\nWaiting 2 min");
    QTest::newRow("empty last field: no for")
        << QByteArray("Ann|Hi|2 min|") << QByteArray("Ann : Hi\r\nWaiting 2 min");
    QTest::newRow("last field 0: ends in for")
        << QByteArray("Ann|Hi|10 min|0") << QByteArray("Ann : Hi\r\nWaiting 10 min for ");
    QTest::newRow("escaped delimiter in message")
        << QByteArray("Ann|a\\|b|1 min|Sales") << QByteArray("Ann : a|b\r\nWaiting 1 min for Sales");
    QTest::newRow("name 100 + message 20: message cut to 10 and ...")
        << name100 + "|ABCDEFGHIJKLMNOPQRST|1 min" << name100 + " : ABCDEFGHIJ...\r\nWaiting 1 min";
    QTest::newRow("name 100 + message 10: exactly 110 not cut")
        << name100 + "|ABCDEFGHIJ|1 min" << name100 + " : ABCDEFGHIJ\r\nWaiting 1 min";
    QTest::newRow("name 100 + message 11: cut to 10")
        << name100 + "|ABCDEFGHIJK|1 min" << name100 + " : ABCDEFGHIJ...\r\nWaiting 1 min";
    QTest::newRow("name of 110: message becomes ...")
        << name110 + "|Hello|1 min" << name110 + " : ...\r\nWaiting 1 min";
    QTest::newRow("name of 110, empty message: not cut")
        << name110 + "||1 min" << name110 + " : \r\nWaiting 1 min";
    QTest::newRow("name of 111: message keeps one byte")
        << name111 + "|Hello|1 min" << name111 + " : H...\r\nWaiting 1 min";
    QTest::newRow("name of 111, empty message: ... alone")
        << name111 + "||1 min" << name111 + " : ...\r\nWaiting 1 min";
    QTest::newRow("marker in message: prompted") << QByteArray("Ann|<B><FONT color=red>Hi</FONT></B>|1 min")
                                                 << QByteArray("Ann : (Prompted for Chat)\r\nWaiting 1 min");
    QTest::newRow("marker inside the message: prompted")
        << QByteArray("Ann|say <B><FONT>x|1 min") << QByteArray("Ann : (Prompted for Chat)\r\nWaiting 1 min");
    QTest::newRow("marker beyond the cut: kept")
        << name100 + "|0123456789<B><FONT>|1 min" << name100 + " : 0123456789...\r\nWaiting 1 min";
    QTest::newRow("marker split by the cut: kept")
        << name100 + "|012345<B><FONT>|1 min" << name100 + " : 012345<B><...\r\nWaiting 1 min";
    QTest::newRow("lower-case marker not recognised")
        << QByteArray("Ann|<b><font>Hi|1 min") << QByteArray("Ann : <b><font>Hi\r\nWaiting 1 min");
    QTest::newRow("marker in the name: not replaced")
        << QByteArray("<B><FONT>Ann|Hi|1 min") << QByteArray("<B><FONT>Ann : Hi\r\nWaiting 1 min");
    // Two-byte characters: 100 + 20 bytes keeps 10 bytes, five whole characters.
    QTest::newRow("multi-byte message cut on a boundary")
        << name100 + "|\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9|1 min"
        << name100 + " : \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9...\r\nWaiting 1 min";
    // 101 + 20 keeps 9 bytes: the fifth character would be split, so four remain.
    QTest::newRow("multi-byte message: split character dropped")
        << QByteArray(101, 'N') +
               "|\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9|1 min"
        << QByteArray(101, 'N') + " : \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9...\r\nWaiting 1 min";
    QTest::newRow("name of 111, message starting with a 3-byte character")
        << name111 + "|\xE2\x82\xAC rest|1 min" << name111 + " : ...\r\nWaiting 1 min";
}

void TestNotifyText::compose() {
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, text);
    QCOMPARE(bytes(ComposeNotifyText(record.toStdString()).text), text);
}

void TestNotifyText::spans_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("greyStart");
    QTest::addColumn<QByteArray>("grey");
    QTest::addColumn<int>("orangeStart");
    QTest::addColumn<QByteArray>("orange");

    // Starts are byte offsets into the composed text; -1 when nothing is coloured.
    QTest::newRow("all four fields") << QByteArray("Ann|Hi there|2 min|Sales") << 16
                                     << QByteArray("Waiting 2 min for ") << 34 << QByteArray("Sales");
    QTest::newRow("empty record: waiting alone, no orange")
        << QByteArray("") << 5 << QByteArray("Waiting ") << -1 << QByteArray();
    QTest::newRow("last field 0: grey includes for, orange is the first 0")
        << QByteArray("Ann|Hi|10 min|0") << 10 << QByteArray("Waiting 10 min for ") << 19 << QByteArray("0");
    QTest::newRow("last field 0 inside the name") << QByteArray("Agent 007|Hi|1 min|0") << 16
                                                  << QByteArray("Waiting 1 min for ") << 6 << QByteArray("0");
    QTest::newRow("last field in the name: name coloured")
        << QByteArray("Sales Sam|Hi|1 min|Sales") << 16 << QByteArray("Waiting 1 min for ") << 0
        << QByteArray("Sales");
    QTest::newRow("waiting line in the message: message coloured")
        << QByteArray("Ann|Waiting 1 min for you|1 min|Sales") << 6 << QByteArray("Waiting 1 min for ") << 47
        << QByteArray("Sales");
    QTest::newRow("last field is case-sensitive")
        << QByteArray("sales Sam|Hi|1 min|Sales") << 16 << QByteArray("Waiting 1 min for ") << 34
        << QByteArray("Sales");
}

void TestNotifyText::spans() {
    QFETCH(QByteArray, record);
    QFETCH(int, greyStart);
    QFETCH(QByteArray, grey);
    QFETCH(int, orangeStart);
    QFETCH(QByteArray, orange);

    const NotifyText composed = ComposeNotifyText(record.toStdString());
    QVERIFY(composed.waitingSpan.has_value());
    QCOMPARE(int(composed.waitingSpan->byteStart), greyStart);
    QCOMPARE(bytes(composed.text.substr(composed.waitingSpan->byteStart, composed.waitingSpan->byteLength)),
             grey);
    QCOMPARE(composed.waitingSpan->colour, kWaitingColour);
    if (orangeStart < 0) {
        QVERIFY(!composed.lastFieldSpan.has_value());
        return;
    }
    QVERIFY(composed.lastFieldSpan.has_value());
    QCOMPARE(int(composed.lastFieldSpan->byteStart), orangeStart);
    QCOMPARE(
        bytes(composed.text.substr(composed.lastFieldSpan->byteStart, composed.lastFieldSpan->byteLength)),
        orange);
    QCOMPARE(composed.lastFieldSpan->colour, kLastFieldColour);
}

void TestNotifyText::cutAtBoundary_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("keep");
    QTest::addColumn<QByteArray>("cut");

    QTest::newRow("ascii") << QByteArray("abcdef") << 3 << QByteArray("abc");
    QTest::newRow("keep beyond the end") << QByteArray("abc") << 10 << QByteArray("abc");
    QTest::newRow("keep 0") << QByteArray("abc") << 0 << QByteArray("");
    QTest::newRow("inside a two-byte character") << QByteArray("a\xC3\xA9z") << 2 << QByteArray("a");
    QTest::newRow("after a two-byte character") << QByteArray("a\xC3\xA9z") << 3 << QByteArray("a\xC3\xA9");
    QTest::newRow("inside a four-byte character") << QByteArray("\xF0\x9F\x98\x80!") << 3 << QByteArray("");
    QTest::newRow("keep 1 on a three-byte character") << QByteArray("\xE2\x82\xAC") << 1 << QByteArray("");
}

void TestNotifyText::cutAtBoundary() {
    QFETCH(QByteArray, text);
    QFETCH(int, keep);
    QFETCH(QByteArray, cut);
    QCOMPARE(bytes(CutAtCharacterBoundary(text.toStdString(), std::size_t(keep))), cut);
}

void TestNotifyText::textAreaPosition_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("byteOffset");
    QTest::addColumn<int>("position");

    QTest::newRow("ascii") << QByteArray("abc") << 2 << 2;
    QTest::newRow("CR LF is one position") << QByteArray("ab\r\ncd") << 5 << 4;
    QTest::newRow("two-byte character is one position") << QByteArray("\xC3\xA9x") << 2 << 1;
    QTest::newRow("character beyond the basic plane is two") << QByteArray("\xF0\x9F\x98\x80x") << 4 << 2;
    QTest::newRow("offset past the end") << QByteArray("ab") << 9 << 2;
}

void TestNotifyText::textAreaPosition() {
    QFETCH(QByteArray, text);
    QFETCH(int, byteOffset);
    QFETCH(int, position);
    QCOMPARE(TextAreaPosition(text.toStdString(), std::size_t(byteOffset)), position);
}

QTEST_APPLESS_MAIN(TestNotifyText)
#include "test_notify_text.moc"
