#include "toolkit/widgets/Metafile.h"
#include "tests/support/WmfWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
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

constexpr quint32 RgbRed = 0xFF0000, RgbBlue = 0x0000FF, RgbGreen = 0x00FF00;

// Run-length codes of side x side pixels: every line starts with 2 pixels of
// colour 1, the rest is colour 0 (what an end-of-bitmap code leaves).
QByteArray SparseRle(int side)
{
    QByteArray codes;
    for (int line = 0; line < side; ++line)
        codes.append("\x02\x01\x00\x00", 4); // a run, end of line
    codes.append("\x00\x01", 2);               // end of bitmap
    return WmfWriter::Rle8Dib(side, side, {RgbGreen, RgbRed}, codes);
}

// Sees the images a picture draws when it is played.
class ImageSpy : public QPaintDevice {
public:
    QList<QSize> images;

    QPaintEngine *paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return 1000;
        case PdmHeight: return 1000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 1;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(ImageSpy *spy) : QPaintEngine(AllFeatures), spy_(spy) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &pixmap, const QRectF &) override { spy_->images << pixmap.size(); }
        void drawImage(const QRectF &, const QImage &image, const QRectF &, Qt::ImageConversionFlags) override
        {
            spy_->images << image.size();
        }
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        Type type() const override { return User; }

    private:
        ImageSpy *spy_;
    };
    mutable Engine engine_{this};
};

QList<QSize> ImagesDrawn(const QPicture &picture)
{
    ImageSpy spy;
    QPainter painter(&spy);
    painter.drawPicture(0, 0, picture);
    painter.end();
    return spy.images;
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
    void drawsBitmaps();
    void keepsBitmapsAtTheSizeTheyCover();
    void bitmapsUnpackWithinALimit_data();
    void bitmapsUnpackWithinALimit();
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

void TstMetafile::drawsBitmaps()
{
    // Two red pixels, two blue ones on each of two lines, stretched over the picture.
    const QByteArray codes("\x02\x00\x02\x01\x00\x00\x02\x00\x02\x01\x00\x00\x00\x01", 14);
    WmfWriter w;
    w.WindowOrg(0, 0);
    w.WindowExt(200, 100);
    w.DibStretchBlt(QRect(0, 0, 200, 100), QRect(0, 0, 4, 2), WmfWriter::Rle8Dib(4, 2, {RgbRed, RgbBlue}, codes));
    QPicture picture;
    QVERIFY(LoadMetafilePicture(w.Build(0), picture));
    const QImage image = Render(picture, QSize(200, 100));
    QCOMPARE(image.pixelColor(50, 50), QColor(Qt::red));
    QCOMPARE(image.pixelColor(150, 50), QColor(Qt::blue));
}

// A picture keeps a copy of each image drawn into it and unpacks it at every
// repaint: what it keeps of a bitmap is no larger than what the bitmap covers.
void TstMetafile::keepsBitmapsAtTheSizeTheyCover()
{
    WmfWriter w;
    w.WindowOrg(0, 0);
    w.WindowExt(300, 200);
    const QByteArray dib = SparseRle(4000);
    for (int k = 0; k < 3; ++k)
        w.DibStretchBlt(QRect(0, 0, 300, 200), QRect(0, 0, 4000, 4000), dib);
    w.DibStretchBlt(QRect(0, 0, 30, 20), QRect(2000, 2000, 1000, 1000), dib);
    QPicture picture;
    QVERIFY(LoadMetafilePicture(w.Build(0), picture));
    QCOMPARE(ImagesDrawn(picture), QList<QSize>({{300, 200}, {300, 200}, {300, 200}, {30, 20}}));
    const QImage image = Render(picture, QSize(300, 200));
    QCOMPARE(image.pixelColor(150, 100), QColor(Qt::green));
}

void TstMetafile::bitmapsUnpackWithinALimit_data()
{
    QTest::addColumn<QList<int>>("sides"); // one bitmap record each; equal sides are the same bitmap
    QTest::addColumn<int>("drawn");
    QTest::newRow("one of 4096 x 4096") << QList<int>{4096} << 1;
    QTest::newRow("one of 4097 x 4096") << QList<int>{-4097} << 0;
    QTest::newRow("one claiming 30000 x 30000") << QList<int>{30000} << 0;
    QTest::newRow("the same bitmap twice") << QList<int>{3000, 3000} << 2;
    QTest::newRow("two bitmaps beyond the limit together") << QList<int>{3000, 2999} << 1;
}

// A bitmap past the limit is passed over; the rest of the picture is drawn.
void TstMetafile::bitmapsUnpackWithinALimit()
{
    QFETCH(QList<int>, sides);
    QFETCH(int, drawn);
    WmfWriter w;
    w.WindowOrg(0, 0);
    w.WindowExt(100, 100);
    for (int side : sides) {
        // A negative side: one pixel wider than high.
        const int width = side < 0 ? -side : side, height = side < 0 ? -side - 1 : side;
        QByteArray dib = SparseRle(1);
        dib.replace(4, 8, QByteArray::fromRawData(reinterpret_cast<const char *>(&width), 4) +
                              QByteArray::fromRawData(reinterpret_cast<const char *>(&height), 4));
        w.DibStretchBlt(QRect(0, 0, 50, 100), QRect(0, 0, width, height), dib);
    }
    w.Brush(0, Blue);
    w.Select(0);
    w.Rectangle(60, 10, 90, 90);
    QPicture picture;
    QVERIFY(LoadMetafilePicture(w.Build(1), picture));
    QCOMPARE(ImagesDrawn(picture).size(), drawn);
    QVERIFY(ColourNear(Render(picture, QSize(100, 100)), 75, 50, Blue));
}

QTEST_MAIN(TstMetafile)
#include "tst_metafile.moc"
