#pragma once
// Writes small Windows metafiles for tests: the header, the records given,
// and the end record.
#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QtEndian>

#include <initializer_list>
#include <optional>

class WmfWriter {
public:
    void Record(quint16 function, const QList<qint16> &words)
    {
        QByteArray params;
        for (qint16 w : words)
            Put16(params, quint16(w));
        RecordBytes(function, params);
    }
    void RecordBytes(quint16 function, QByteArray params)
    {
        if (params.size() % 2 != 0)
            params.append('\0');
        QByteArray record;
        Put32(record, quint32(3 + params.size() / 2));
        Put16(record, function);
        record.append(params);
        records_.append(record);
        maxRecord_ = std::max(maxRecord_, quint32(record.size() / 2));
    }

    // Colours as 0x00BBGGRR.
    void WindowOrg(int x, int y) { Record(0x020B, {qint16(y), qint16(x)}); }
    void WindowExt(int w, int h) { Record(0x020C, {qint16(h), qint16(w)}); }
    void Pen(int style, int width, quint32 colour)
    {
        Record(0x02FA, {qint16(style), qint16(width), 0, qint16(colour & 0xFFFF), qint16(colour >> 16)});
    }
    void Brush(int style, quint32 colour, int hatch = 0)
    {
        Record(0x02FC, {qint16(style), qint16(colour & 0xFFFF), qint16(colour >> 16), qint16(hatch)});
    }
    void Font(int height, const QByteArray &face)
    {
        QByteArray params;
        for (int w : {height, 0, 0, 0, 400})
            Put16(params, quint16(w));
        params.append(QByteArray(8, '\0'));
        params.append(face.left(31).leftJustified(32, '\0'));
        RecordBytes(0x02FB, params);
    }
    void Select(int index) { Record(0x012D, {qint16(index)}); }
    void Delete(int index) { Record(0x01F0, {qint16(index)}); }
    void BackMode(int mode) { Record(0x0102, {qint16(mode)}); }
    void TextColour(quint32 colour) { Record(0x0209, {qint16(colour & 0xFFFF), qint16(colour >> 16)}); }
    void MoveTo(int x, int y) { Record(0x0214, {qint16(y), qint16(x)}); }
    void LineTo(int x, int y) { Record(0x0213, {qint16(y), qint16(x)}); }
    void Rectangle(int l, int t, int r, int b) { Record(0x041B, {qint16(b), qint16(r), qint16(t), qint16(l)}); }
    void Ellipse(int l, int t, int r, int b) { Record(0x0418, {qint16(b), qint16(r), qint16(t), qint16(l)}); }
    void Polyline(const QList<QPoint> &points)
    {
        QList<qint16> words{qint16(points.size())};
        for (QPoint p : points)
            words << qint16(p.x()) << qint16(p.y());
        Record(0x0325, words);
    }
    // text: Windows-1251 bytes.
    void TextOut(int x, int y, const QByteArray &text)
    {
        QByteArray params;
        Put16(params, quint16(text.size()));
        params.append(text);
        if (text.size() % 2 != 0)
            params.append('\0');
        Put16(params, quint16(y));
        Put16(params, quint16(x));
        RecordBytes(0x0521, params);
    }

    // Draws the source part of a device-independent bitmap into dest.
    void DibStretchBlt(QRect dest, QRect source, const QByteArray &dib)
    {
        QByteArray params;
        Put32(params, 0x00CC0020); // SRCCOPY
        for (int v : {source.height(), source.width(), source.y(), source.x(), dest.height(), dest.width(), dest.y(),
                      dest.x()})
            Put16(params, quint16(v));
        params.append(dib);
        RecordBytes(0x0B41, params);
    }

    // An 8-bit run-length bitmap: its header, the palette (0x00RRGGBB) and
    // the codes as given.
    static QByteArray Rle8Dib(int width, int height, const QList<quint32> &palette, const QByteArray &codes)
    {
        QByteArray dib;
        for (quint32 v : {40u, quint32(width), quint32(height)})
            Put32(dib, v);
        Put16(dib, 1);
        Put16(dib, 8);
        for (quint32 v : {1u /* BI_RLE8 */, quint32(codes.size()), 2835u, 2835u, quint32(palette.size()), 0u})
            Put32(dib, v);
        for (quint32 colour : palette)
            Put32(dib, colour);
        return dib + codes;
    }

    // placeable: the picture's frame in logical units, with unitsPerInch.
    QByteArray Build(int objects, std::optional<QRect> placeable = std::nullopt, quint16 unitsPerInch = 1440) const
    {
        QByteArray body;
        for (const QByteArray &r : records_)
            body.append(r);
        body.append(QByteArray::fromHex("030000000000")); // end record
        QByteArray file;
        if (placeable) {
            Put32(file, 0x9AC6CDD7);
            Put16(file, 0);
            for (int v : {placeable->left(), placeable->top(), placeable->left() + placeable->width(),
                          placeable->top() + placeable->height()})
                Put16(file, quint16(v));
            Put16(file, unitsPerInch);
            Put32(file, 0);
            Put16(file, 0); // checksum: not looked at
        }
        Put16(file, 1);
        Put16(file, 9);
        Put16(file, 0x0300);
        Put32(file, quint32(9 + body.size() / 2));
        Put16(file, quint16(objects));
        Put32(file, maxRecord_);
        Put16(file, 0);
        file.append(body);
        return file;
    }

private:
    static void Put16(QByteArray &out, quint16 v)
    {
        uchar b[2];
        qToLittleEndian(v, b);
        out.append(reinterpret_cast<const char *>(b), 2);
    }
    static void Put32(QByteArray &out, quint32 v)
    {
        uchar b[4];
        qToLittleEndian(v, b);
        out.append(reinterpret_cast<const char *>(b), 4);
    }

    QList<QByteArray> records_;
    quint32 maxRecord_ = 3;
};
