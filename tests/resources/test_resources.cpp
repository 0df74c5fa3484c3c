#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/resource_loader.h"

#include <QFile>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

using namespace quillo;

// The layout and the popup rely on the exact pixel sizes of the art, and the art is meant to be
// the classic bottom-up device-independent bitmap, so the files are checked byte by byte.
class TestResources final : public QObject {
    Q_OBJECT

private slots:
    void bitmaps_data();
    void bitmaps();
    void icon();
    void dialogUnits_data();
    void dialogUnits();
};

void TestResources::bitmaps_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bits");

    const struct {
        int id, width, height, bits;
    } table[] = {{145, 193, 130, 24}, {148, 10, 76, 24}, {151, 223, 76, 24}, {152, 3, 76, 8},
                 {154, 10, 76, 24},   {155, 20, 19, 24}, {157, 20, 19, 8},   {158, 20, 19, 24},
                 {159, 20, 19, 24},   {160, 7, 440, 8},  {161, 25, 34, 8},   {162, 20, 19, 8},
                 {163, 20, 19, 8},    {164, 6, 440, 8},  {166, 25, 34, 8},   {168, 740, 34, 8}};
    for (const auto& row : table)
        QTest::addRow("bitmap %d", row.id) << row.id << row.width << row.height << row.bits;
}

void TestResources::bitmaps() {
    QFETCH(int, id);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bits);

    QFile file(QStringLiteral(":/bitmaps/bmp%1.bmp").arg(id));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY(data.size() > 54);
    const auto u16 = [&](int at) {
        return qFromLittleEndian<quint16>(data.constData() + at);
    };
    const auto s32 = [&](int at) {
        return qFromLittleEndian<qint32>(data.constData() + at);
    };
    QCOMPARE(data.left(2), QByteArray("BM"));
    QCOMPARE(s32(14), 40);     // header size
    QCOMPARE(s32(18), width);  // width
    QCOMPARE(s32(22), height); // positive height: bottom-up
    QCOMPARE(int(u16(28)), bits);
    QCOMPARE(s32(30), 0); // uncompressed
    const int palette = bits == 8 ? 256 * 4 : 0;
    QCOMPARE(s32(10), 14 + 40 + palette);
    const int stride = (width * bits / 8 + 3) & ~3;
    QVERIFY(data.size() >= 14 + 40 + palette + stride * height);

    const QPixmap pixmap = res::loadBitmap(id);
    QCOMPARE(pixmap.size(), QSize(width, height));
}

void TestResources::icon() {
    QImageReader reader(QStringLiteral(":/icons/quillo.ico"));
    const QImage image = reader.read();
    QCOMPARE(image.size(), QSize(64, 64));
    QVERIFY(image.hasAlphaChannel());
    QVERIFY(!res::loadAppIcon().isNull());
}

void TestResources::dialogUnits_data() {
    QTest::addColumn<int>("unitsX");
    QTest::addColumn<int>("unitsY");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("main window 536 x 479") << 536 << 479 << QSize(804, 778);
    QTest::newRow("secondary window 186 x 94") << 186 << 94 << QSize(279, 153);
    QTest::newRow("About box 235 x 55") << 235 << 55 << QSize(353, 89);
    QTest::newRow("secondary browser control 77 x 52") << 77 << 52 << QSize(116, 85);
    QTest::newRow("nothing") << 0 << 0 << QSize(0, 0);
}

void TestResources::dialogUnits() {
    QFETCH(int, unitsX);
    QFETCH(int, unitsY);
    QFETCH(QSize, pixels);
    QCOMPARE(QSize(res::dluToPixelsX(unitsX), res::dluToPixelsY(unitsY)), pixels);
}

QTEST_MAIN(TestResources)
#include "test_resources.moc"
