#include "Metafile.h"
#include "WmfWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr quint32 Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00, Magenta = 0xFF00FF;

QImage Render(const QPicture &picture, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPicture(0, 0, picture);
    painter.end();
    return image;
}

QColor Colour(quint32 colourRef)
{
    return QColor(int(colourRef & 0xFF), int((colourRef >> 8) & 0xFF), int((colourRef >> 16) & 0xFF));
}

// Whether a pixel within one pixel of (x, y) has the colour: lines may fall
// on either side of a whole coordinate.
bool ColourNear(const QImage &image, int x, int y, quint32 colourRef)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.rect().contains(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == Colour(colourRef))
                return true;
    return false;
}

int DarkPixels(const QImage &image, QRect area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return count;
}

// A 200 x 100 picture: a red rectangle framed in blue, a green line and
// polyline, a red ellipse framed in green, a text, and a pen made in the slot
// of a deleted one.
QByteArray Drawing()
{
    WmfWriter w;
    w.WindowOrg(0, 0);
    w.WindowExt(200, 100);
    w.Pen(0, 0, Blue);   // slot 0
    w.Brush(0, Red);     // slot 1
    w.Select(0);
    w.Select(1);
    w.Rectangle(10, 10, 50, 40);
    w.Pen(0, 0, Green);  // slot 2
    w.Select(2);
    w.MoveTo(60, 10);
    w.LineTo(60, 90);
    w.Polyline({{80, 10}, {120, 10}, {120, 50}});
    w.Ellipse(130, 10, 190, 70);
    w.Delete(0);
    w.Pen(0, 0, Magenta); // takes the freed slot 0
    w.Select(0);
    w.MoveTo(70, 95);
    w.LineTo(190, 95);
    w.Font(-20, "DejaVu Sans");
    w.Select(3);
    w.BackMode(1);
    w.TextColour(0x000000);
    w.TextOut(10, 60, QByteArray("\xC2\xF5\xEE\xE4 1")); // "Вход 1" in Windows-1251
    return w.Build(4);
}

} // namespace

class TstMetafile : public QObject {
    Q_OBJECT
private slots:
    void drawsTheCommonRecords();
    void placeableHeaderSetsTheSize();
    void refusesWhatItCannotRead_data();
    void refusesWhatItCannotRead();
    void readsAFile();
    void refusesFilesThatAreNoPicture_data();
    void refusesFilesThatAreNoPicture();
};

void TstMetafile::drawsTheCommonRecords()
{
    QPicture picture;
    QVERIFY(LoadMetafilePicture(Drawing(), picture));
    QCOMPARE(picture.boundingRect(), QRect(0, 0, 200, 100));
    const QImage image = Render(picture, QSize(200, 100));

    QVERIFY(ColourNear(image, 30, 25, Red));   // rectangle filled with the selected brush
    QVERIFY(ColourNear(image, 10, 25, Blue));  // framed with the selected pen
    QVERIFY(ColourNear(image, 50, 25, Blue));
    QVERIFY(ColourNear(image, 60, 50, Green)); // MoveTo / LineTo with the new pen
    QVERIFY(ColourNear(image, 100, 10, Green)); // polyline, both segments
    QVERIFY(ColourNear(image, 120, 30, Green));
    QVERIFY(ColourNear(image, 160, 40, Red));  // ellipse inside
    QVERIFY(ColourNear(image, 130, 40, Green)); // and its frame
    QCOMPARE(image.pixelColor(135, 12), QColor(Qt::white)); // outside the ellipse, inside its box
    QVERIFY(ColourNear(image, 130, 95, Magenta)); // the pen in the reused slot
    QVERIFY(DarkPixels(image, QRect(10, 60, 60, 24)) > 20); // the text, top-aligned at (10, 60)
    QCOMPARE(DarkPixels(image, QRect(10, 43, 45, 15)), 0);  // nothing above it
}

void TstMetafile::placeableHeaderSetsTheSize()
{
    // 1440 units per inch: a frame of 1440 x 720 units is 96 x 48 pixels.
    WmfWriter w;
    w.Brush(0, Red);
    w.Select(0);
    w.Rectangle(720, 0, 1440, 720);
    QPicture picture;
    QVERIFY(LoadMetafilePicture(w.Build(1, QRect(0, 0, 1440, 720)), picture));
    QCOMPARE(picture.boundingRect(), QRect(0, 0, 96, 48));
    const QImage image = Render(picture, QSize(96, 48));
    QVERIFY(ColourNear(image, 72, 24, Red));
    QCOMPARE(image.pixelColor(24, 24), QColor(Qt::white));
}

void TstMetafile::refusesWhatItCannotRead_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray good = Drawing();
    QByteArray noise(300, '\0');
    quint32 seed = 12345;
    for (char &c : noise) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 24);
    }
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("noise") << noise;
    QTest::newRow("text") << QByteArray("This is not a picture.\r\n").repeated(10);
    QTest::newRow("header only") << good.left(18);
    QTest::newRow("cut in a record") << good.left(good.size() / 2);
    QTest::newRow("no end record") << good.left(good.size() - 6);
    QByteArray wrongHeaderSize = good;
    wrongHeaderSize[2] = 8;
    QTest::newRow("header size") << wrongHeaderSize;
    QByteArray recordTooLong = good;
    recordTooLong[18] = char(0xFF); // first record claims more words than the file holds
    QTest::newRow("record too long") << recordTooLong;
    QByteArray recordTooShort = good;
    recordTooShort[18] = 2; // a record smaller than its own header
    QTest::newRow("record too short") << recordTooShort;
    WmfWriter placeable;
    QTest::newRow("placeable header cut") << placeable.Build(0, QRect(0, 0, 100, 100)).left(30);
}

void TstMetafile::refusesWhatItCannotRead()
{
    QFETCH(QByteArray, data);
    QPicture picture;
    QPainter painter(&picture);
    painter.drawLine(0, 0, 5, 5);
    painter.end();
    const QRect before = picture.boundingRect();
    QVERIFY(!LoadMetafilePicture(data, picture));
    QCOMPARE(picture.boundingRect(), before);
}

void TstMetafile::readsAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wiring.wmf"));
    QPicture picture;
    QVERIFY(!LoadMetafilePicture(path, picture)); // missing
    QVERIFY(!LoadMetafilePicture(dir.path(), picture)); // a directory
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Drawing());
    file.close();
    QVERIFY(LoadMetafilePicture(path, picture));
    QCOMPARE(picture.boundingRect(), QRect(0, 0, 200, 100));
}

void TstMetafile::refusesFilesThatAreNoPicture_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("larger than a picture can be") << "large";
}

void TstMetafile::refusesFilesThatAreNoPicture()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wiring.wmf"));
    if (kind == "zero") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (kind == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0666) == 0);
    } else {
        // A good picture, whatever follows its end record.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Drawing());
        QVERIFY(file.resize(MaxMetafileSize + 1));
    }
    QPicture picture;
    QVERIFY(!LoadMetafilePicture(path, picture));
    QVERIFY(picture.isNull());
}

QTEST_MAIN(TstMetafile)
#include "tst_metafile.moc"
