// Load and paint times of a metafile of a few kilobytes whose bitmap records
// each unpack to millions of pixels: the kind of file that used to freeze
// the window at every repaint. Prints the figures for a few sizes.
#include "Metafile.h"
#include "WmfWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

double SecondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of several runs, so that a busy machine shows less.
double BestOf(int runs, const std::function<void()> &work)
{
    double best = 1e9;
    for (int k = 0; k < runs; ++k)
        best = std::min(best, SecondsOf(work));
    return best;
}

void Put16(QByteArray &out, quint16 v)
{
    uchar b[2];
    qToLittleEndian(v, b);
    out.append(reinterpret_cast<const char *>(b), 2);
}

void Put32(QByteArray &out, quint32 v)
{
    uchar b[4];
    qToLittleEndian(v, b);
    out.append(reinterpret_cast<const char *>(b), 4);
}

// An 8-bit run-length bitmap of side x side pixels: a few runs on its first
// lines, the rest left to the end-of-bitmap code. `shade` tells the bitmaps apart.
QByteArray RleBitmap(int side, int shade)
{
    QByteArray dib;
    for (quint32 v : {40u, quint32(side), quint32(side)})
        Put32(dib, v);
    Put16(dib, 1);
    Put16(dib, 8);
    for (quint32 v : {1u /* BI_RLE8 */, 0u, 2835u, 2835u, 2u, 0u})
        Put32(dib, v);
    Put32(dib, 0x00FFFFFF);
    Put32(dib, quint32(shade) * 0x00010101);
    for (int line = 0; line < 8; ++line) {
        for (int run = 0; run < std::min(side / 255, 10); ++run)
            dib.append(char(255)).append(char(run % 2));
        dib.append('\0').append('\0'); // end of line
    }
    dib.append('\0').append('\1'); // end of bitmap
    return dib;
}

// `records` bitmaps of side x side pixels drawn over a 300 x 200 picture,
// each a bitmap of its own or all the same one.
QByteArray Picture(int records, int side, bool distinct)
{
    WmfWriter w;
    w.WindowOrg(0, 0);
    w.WindowExt(300, 200);
    for (int k = 0; k < records; ++k) {
        QByteArray params;
        Put32(params, 0x00CC0020); // SRCCOPY
        for (int v : {side, side, 0, 0, 200, 300, 0, 0})
            Put16(params, quint16(v));
        params.append(RleBitmap(side, distinct ? 10 * k : 0));
        w.RecordBytes(0x0B41, params); // META_DIBSTRETCHBLT
    }
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
    std::printf("%8s %6s %9s %9s %9s %9s\n", "records", "side", "bitmaps", "file KB", "load s", "paint s");
    for (const Case &c : {Case{10, 4000, true}, Case{10, 4000, false}, Case{10, 2000, true}, Case{1, 16000, true}}) {
        const auto [records, side, distinct] = c;
        const QByteArray file = Picture(records, side, distinct);
        QPicture picture;
        bool loaded = false;
        const double load = BestOf(3, [&] { loaded = LoadMetafilePicture(file, picture); });
        if (!loaded) {
            std::fprintf(stderr, "the picture did not load\n");
            return 1;
        }
        QImage screen(picture.boundingRect().size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        const double paint = BestOf(3, [&] {
            QPainter painter(&screen);
            painter.drawPicture(0, 0, picture);
        });
        std::printf("%8d %6d %9s %9.1f %9.3f %9.3f\n", records, side, distinct ? "distinct" : "one", file.size() / 1024.0,
                    load, paint);
    }
    return 0;
}
