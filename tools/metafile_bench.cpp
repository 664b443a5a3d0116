// Load and paint times of a metafile of a few kilobytes whose bitmap records
// each unpack to millions of pixels: the kind of file that used to freeze
// the window at every repaint. Prints the figures for a few sizes.
#include "tools/BenchTiming.h"
#include "toolkit/widgets/Metafile.h"
#include "tests/support/WmfWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <cstdio>

namespace {

// An 8-bit run-length bitmap of side x side pixels: a few runs on its first
// lines, the rest left to the end-of-bitmap code. `shade` tells the bitmaps apart.
QByteArray RleBitmap(int side, int shade)
{
    QByteArray codes;
    for (int line = 0; line < 8; ++line) {
        for (int run = 0; run < std::min(side / 255, 10); ++run)
            codes.append(char(255)).append(char(run % 2));
        codes.append('\0').append('\0'); // end of line
    }
    codes.append('\0').append('\1'); // end of bitmap
    return WmfWriter::Rle8Dib(side, side, {0x00FFFFFF, quint32(shade) * 0x00010101}, codes);
}

// `records` bitmaps of side x side pixels drawn over a 300 x 200 picture,
// each a bitmap of its own or all the same one.
QByteArray Picture(int records, int side, bool distinct)
{
    WmfWriter w;
    w.WindowOrg(0, 0);
    w.WindowExt(300, 200);
    for (int k = 0; k < records; ++k)
        w.DibStretchBlt(QRect(0, 0, 300, 200), QRect(0, 0, side, side), RleBitmap(side, distinct ? 10 * k : 0));
    return w.Build(0);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    struct Case {
        int records;
        int side;
        bool distinct;
    };
    std::printf("medians of 3 runs\n");
    std::printf("%8s %6s %9s %9s %9s %9s\n", "records", "side", "bitmaps", "file KB", "load s", "paint s");
    for (const Case &c : {Case{10, 4000, true}, Case{10, 4000, false}, Case{10, 2000, true}, Case{1, 16000, true}}) {
        const auto [records, side, distinct] = c;
        const QByteArray file = Picture(records, side, distinct);
        QPicture picture;
        bool loaded = false;
        const Spread load = Runs(3, [&] { loaded = LoadMetafilePicture(file, picture); });
        if (!loaded) {
            std::fprintf(stderr, "the picture did not load\n");
            return 1;
        }
        QImage screen(picture.boundingRect().size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        const Spread paint = Runs(3, [&] {
            QPainter painter(&screen);
            painter.drawPicture(0, 0, picture);
        });
        std::printf("%8d %6d %9s %9.1f %9.3f %9.3f\n", records, side, distinct ? "distinct" : "one", file.size() / 1024.0,
                    load.median, paint.median);
    }
    return 0;
}
