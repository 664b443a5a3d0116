#include "toolkit/widgets/Metafile.h"
#include "toolkit/WholeFile.h"
#include "toolkit/widgets/WidgetViews.h"
#include "toolkit/Win1251.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <tuple>
#include <vector>

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr int PlaceableHeaderSize = 22;
constexpr int MetaHeaderSize = 18;
constexpr int RecordHeaderSize = 6;
constexpr double ScreenDpi = 96.0;
// A picture larger than this on either side is drawn smaller: the file
// alone must not make the window ask for a giant label.
constexpr double MaxPictureSide = 4096.0;
// All the bitmaps of one picture together unpack to at most this many
// pixels: a few bytes of run-length codes may claim gigabytes.
constexpr qint64 MaxBitmapPixels = qint64(4096) * 4096;

enum RecordFunction : quint16 {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_CREATEPALETTE = 0x00F7,
    META_SETBKMODE = 0x0102,
    META_SETPOLYFILLMODE = 0x0106,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_OFFSETWINDOWORG = 0x020F,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_ROUNDRECT = 0x061C,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_EXTTEXTOUT = 0x0A32,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
};

// Text alignment flags.
constexpr quint16 TA_UPDATECP = 0x0001;
constexpr quint16 TA_HORIZONTAL = 0x0006; // TA_LEFT 0, TA_RIGHT 2, TA_CENTER 6
constexpr quint16 TA_RIGHT = 0x0002;
constexpr quint16 TA_CENTER = 0x0006;
constexpr quint16 TA_VERTICAL = 0x0018; // TA_TOP 0, TA_BOTTOM 8, TA_BASELINE 24
constexpr quint16 TA_BOTTOM = 0x0008;
constexpr quint16 TA_BASELINE = 0x0018;
constexpr quint16 ETO_OPAQUE = 0x0002;
constexpr quint16 ETO_CLIPPED = 0x0004;

quint16 U16(const uchar *p) { return qFromLittleEndian<quint16>(p); }
quint32 U32(const uchar *p) { return qFromLittleEndian<quint32>(p); }

// The parameters of one record; reading past their end marks them bad.
class Params {
public:
    Params(const uchar *data, int size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    int remaining() const { return size_ - pos_; }
    qint16 s16() { return qint16(u16()); }
    quint16 u16() { return Take(2) ? U16(data_ + pos_ - 2) : 0; }
    quint32 u32() { return Take(4) ? U32(data_ + pos_ - 4) : 0; }
    QByteArray bytes(int count) { return Take(count) ? QByteArray(reinterpret_cast<const char *>(data_ + pos_ - count), count) : QByteArray(); }
    QColor colour() { return ToQColor(u32() & 0xFFFFFF); }
    QPointF yx()
    {
        const double y = s16();
        return QPointF(s16(), y);
    }
    QPointF xy()
    {
        const double x = s16();
        return QPointF(x, s16());
    }
    // The parameter order of the shape records: bottom, right, top, left.
    QRectF rect()
    {
        const double bottom = s16(), right = s16(), top = s16(), left = s16();
        return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    }
    // A text of count bytes, padded to a whole word.
    QString text(int count)
    {
        const QByteArray raw = bytes(count);
        if (count % 2 != 0)
            Take(1);
        return FromWin1251(raw);
    }

private:
    bool Take(int count)
    {
        if (!ok_ || count < 0 || count > size_ - pos_) {
            ok_ = false;
            return false;
        }
        pos_ += count;
        return true;
    }

    const uchar *data_;
    int size_;
    int pos_ = 0;
    bool ok_ = true;
};

struct GdiObject {
    enum Kind { Free, Pen, Brush, Font, Other } kind = Free;
    QPen pen;
    QBrush brush;
    QFont font;
    double escapement = 0; // degrees, counter-clockwise
};

struct DeviceContext {
    QPen pen{QBrush(Qt::black), 0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
    QBrush brush{Qt::white};
    QFont font;
    double escapement = 0;
    QColor textColour{Qt::black};
    QColor backColour{Qt::white};
    bool opaqueBack = true;
    quint16 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position;
    QPointF windowOrg;
    QSizeF windowExt{0, 0};
};

// The pixels a device-independent bitmap claims in its header; -1 for no header.
qint64 DibPixels(const QByteArray &dib)
{
    const auto *p = reinterpret_cast<const uchar *>(dib.constData());
    if (dib.size() >= 12 && U32(p) == 12)
        return qint64(U16(p + 4)) * U16(p + 6);
    if (dib.size() >= 40 && U32(p) >= 40)
        return qAbs(qint64(qint32(U32(p + 4)))) * qAbs(qint64(qint32(U32(p + 8))));
    return -1;
}

// A device-independent bitmap as a QImage, through the BMP reader.
QImage DibImage(const QByteArray &dib)
{
    if (dib.size() < 12)
        return {};
    const auto *p = reinterpret_cast<const uchar *>(dib.constData());
    const quint32 headerSize = U32(p);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return {};
    qint64 tableSize = 0;
    if (headerSize == 12) {
        const int bits = U16(p + 10);
        tableSize = bits <= 8 ? (qint64(1) << bits) * 3 : 0;
    } else {
        if (headerSize < 40)
            return {};
        const int bits = U16(p + 14);
        const quint32 compression = U32(p + 16);
        const quint32 used = U32(p + 32);
        tableSize = (used != 0 ? qint64(used) : bits <= 8 ? qint64(1) << bits : 0) * 4;
        if (compression == 3 && headerSize == 40) // BI_BITFIELDS: three masks follow the header
            tableSize += 12;
    }
    const qint64 offset = 14 + qint64(headerSize) + tableSize;
    if (offset > 14 + qint64(dib.size()))
        return {};
    QByteArray bmp("BM");
    auto put32 = [&bmp](quint32 v) {
        uchar b[4];
        qToLittleEndian(v, b);
        bmp.append(reinterpret_cast<const char *>(b), 4);
    };
    put32(quint32(14 + dib.size()));
    put32(0);
    put32(quint32(offset));
    bmp.append(dib);
    return QImage::fromData(bmp, "BMP");
}

class Player {
public:
    bool Play(const QByteArray &data, QPicture &out);

private:
    void Record(quint16 function, Params &params);
    void Apply();
    void ApplyTransform();
    void SetTarget(QSizeF size);
    void SetWindow(QPointF org, QSizeF ext);
    void Create(GdiObject object);
    void Select(int index);
    void Arc(quint16 function, Params &params);
    void Text(QPointF at, const QString &text, std::optional<QRectF> opaque);
    void Bitmap(Params &params, bool withColourUsage);
    QImage Decoded(const QByteArray &dib);
    QImage Kept(const QImage &image, QRectF &source, const QRectF &target);
    QPolygonF Points(Params &params, int count);

    QPainter painter_;
    DeviceContext dc_;
    std::vector<DeviceContext> saved_;
    std::vector<GdiObject> objects_;
    std::optional<QSizeF> target_; // the picture's size in pixels, once known
    // Each bitmap is unpacked once, however many records draw it, and so is
    // each part of it that the picture keeps.
    QHash<QByteArray, QImage> decoded_;
    std::map<std::tuple<qint64, int, int, int, int, int, int>, QImage> kept_;
    qint64 bitmapPixelsLeft_ = MaxBitmapPixels;
};

bool Player::Play(const QByteArray &data, QPicture &out)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData());
    const qsizetype size = data.size();
    qsizetype pos = 0;
    std::optional<QRectF> bounds;
    double unitsPerInch = 0;
    if (size >= PlaceableHeaderSize && U32(p) == PlaceableKey) {
        const auto s = [p](int at) { return double(qint16(U16(p + at))); };
        bounds = QRectF(QPointF(s(6), s(8)), QPointF(s(10), s(12)));
        unitsPerInch = U16(p + 14);
        pos = PlaceableHeaderSize;
    }
    if (size - pos < MetaHeaderSize)
        return false;
    const quint16 type = U16(p + pos), headerWords = U16(p + pos + 2), version = U16(p + pos + 4);
    if ((type != 1 && type != 2) || headerWords != MetaHeaderSize / 2 || (version != 0x0100 && version != 0x0300))
        return false;
    objects_.resize(U16(p + pos + 10));
    pos += MetaHeaderSize;

    QPicture picture;
    painter_.begin(&picture);
    if (bounds && bounds->width() != 0 && bounds->height() != 0) {
        if (unitsPerInch <= 0)
            unitsPerInch = 1440;
        SetTarget(QSizeF(std::abs(bounds->width()), std::abs(bounds->height())) * (ScreenDpi / unitsPerInch));
        SetWindow(bounds->topLeft(), bounds->size());
    }
    bool ended = false;
    while (size - pos >= RecordHeaderSize) {
        const quint32 words = U32(p + pos);
        const quint16 function = U16(p + pos + 4);
        if (words < RecordHeaderSize / 2 || words > quint64(size - pos) / 2)
            break;
        Params params(p + pos + RecordHeaderSize, int(words * 2 - RecordHeaderSize));
        pos += qsizetype(words) * 2;
        if (function == META_EOF) {
            ended = true;
            break;
        }
        Record(function, params);
    }
    painter_.end();
    if (!ended)
        return false;
    if (target_)
        picture.setBoundingRect(QRect(0, 0, int(std::ceil(target_->width())), int(std::ceil(target_->height()))));
    out = picture;
    return true;
}

void Player::SetTarget(QSizeF size)
{
    target_ = size * std::min({1.0, MaxPictureSide / size.width(), MaxPictureSide / size.height()});
}

void Player::SetWindow(QPointF org, QSizeF ext)
{
    dc_.windowOrg = org;
    dc_.windowExt = ext;
    if (!target_ && ext.width() != 0 && ext.height() != 0)
        SetTarget(QSizeF(std::abs(ext.width()), std::abs(ext.height())));
    ApplyTransform();
}

// The window is mapped onto the whole picture, as when a metafile is played into a rectangle.
void Player::ApplyTransform()
{
    if (!target_ || dc_.windowExt.width() == 0 || dc_.windowExt.height() == 0) {
        painter_.setTransform(QTransform::fromTranslate(-dc_.windowOrg.x(), -dc_.windowOrg.y()));
        return;
    }
    const double sx = target_->width() / dc_.windowExt.width();
    const double sy = target_->height() / dc_.windowExt.height();
    const double dx = sx < 0 ? target_->width() : 0, dy = sy < 0 ? target_->height() : 0;
    painter_.setTransform(QTransform(sx, 0, 0, sy, dx - dc_.windowOrg.x() * sx, dy - dc_.windowOrg.y() * sy));
}

void Player::Apply()
{
    painter_.setPen(dc_.pen);
    painter_.setBrush(dc_.brush);
}

void Player::Create(GdiObject object)
{
    auto slot = std::find_if(objects_.begin(), objects_.end(), [](const GdiObject &o) { return o.kind == GdiObject::Free; });
    if (slot == objects_.end())
        objects_.push_back(std::move(object));
    else
        *slot = std::move(object);
}

void Player::Select(int index)
{
    if (index < 0 || index >= int(objects_.size()))
        return;
    const GdiObject &o = objects_[std::size_t(index)];
    switch (o.kind) {
    case GdiObject::Pen: dc_.pen = o.pen; break;
    case GdiObject::Brush: dc_.brush = o.brush; break;
    case GdiObject::Font:
        dc_.font = o.font;
        dc_.escapement = o.escapement;
        break;
    default: break;
    }
}

QPolygonF Player::Points(Params &params, int count)
{
    QPolygonF points;
    if (count < 0 || count * 4 > params.remaining())
        return points;
    points.reserve(count);
    for (int i = 0; i < count; ++i)
        points << params.xy();
    return points;
}

// Arc, pie and chord: a part of the ellipse in the rectangle, counter-clockwise
// from the ray through the start point to the ray through the end point.
void Player::Arc(quint16 function, Params &params)
{
    const QPointF end = params.yx();
    const QPointF start = params.yx();
    const QRectF box = params.rect();
    if (!params.ok() || box.width() <= 0 || box.height() <= 0)
        return;
    const QPointF c = box.center();
    const auto angle = [&](QPointF pt) {
        const double a = std::atan2(-(pt.y() - c.y()) / box.height(), (pt.x() - c.x()) / box.width());
        return a * 180.0 / std::numbers::pi;
    };
    const double from = angle(start);
    double span = angle(end) - from;
    if (span <= 0)
        span += 360;
    Apply();
    const int a16 = int(std::lround(from * 16)), s16 = int(std::lround(span * 16));
    switch (function) {
    case META_ARC: painter_.drawArc(box, a16, s16); break;
    case META_PIE: painter_.drawPie(box, a16, s16); break;
    default: painter_.drawChord(box, a16, s16); break;
    }
}

void Player::Text(QPointF at, const QString &text, std::optional<QRectF> opaque)
{
    const bool useCurrent = dc_.textAlign & TA_UPDATECP;
    if (useCurrent)
        at = dc_.position;
    if (opaque)
        painter_.fillRect(*opaque, dc_.backColour);
    if (text.isEmpty())
        return;
    painter_.setFont(dc_.font);
    const QFontMetricsF metrics(dc_.font, painter_.device());
    const double width = metrics.horizontalAdvance(text);
    QPointF offset;
    switch (dc_.textAlign & TA_HORIZONTAL) {
    case TA_RIGHT: offset.setX(-width); break;
    case TA_CENTER: offset.setX(-width / 2); break;
    default: break;
    }
    switch (dc_.textAlign & TA_VERTICAL) {
    case TA_BASELINE: break;
    case TA_BOTTOM: offset.setY(-metrics.descent()); break;
    default: offset.setY(metrics.ascent()); break;
    }
    painter_.save();
    painter_.translate(at);
    painter_.rotate(-dc_.escapement);
    if (dc_.opaqueBack && !opaque)
        painter_.fillRect(QRectF(offset.x(), offset.y() - metrics.ascent(), width, metrics.height()), dc_.backColour);
    painter_.setPen(dc_.textColour);
    painter_.drawText(offset, text);
    painter_.restore();
    if (useCurrent)
        dc_.position.rx() += width;
}

void Player::Bitmap(Params &params, bool withColourUsage)
{
    params.u32(); // raster operation: the picture is copied
    if (withColourUsage)
        params.u16();
    const double sh = params.s16(), sw = params.s16(), sy = params.s16(), sx = params.s16();
    const double dh = params.s16(), dw = params.s16(), dy = params.s16(), dx = params.s16();
    if (!params.ok() || params.remaining() <= 0)
        return;
    const QImage image = Decoded(params.bytes(params.remaining()));
    if (image.isNull())
        return;
    const QRectF target(dx, dy, dw, dh);
    QRectF source(sx, sy, sw, sh);
    const QImage kept = Kept(image, source, target);
    painter_.drawImage(target, kept, source);
}

QImage Player::Decoded(const QByteArray &dib)
{
    const auto found = decoded_.constFind(dib);
    if (found != decoded_.constEnd())
        return *found;
    QImage image;
    const qint64 pixels = DibPixels(dib);
    if (pixels >= 0 && pixels <= bitmapPixelsLeft_) {
        bitmapPixelsLeft_ -= pixels;
        image = DibImage(dib);
    }
    decoded_.insert(dib, image);
    return image;
}

// A picture stores its own copy of every image drawn into it and unpacks
// that copy at every repaint: it is given only the part drawn, at no more
// pixels than that part covers. source becomes the part of the result to draw.
QImage Player::Kept(const QImage &image, QRectF &source, const QRectF &target)
{
    const QRect part = source.toRect();
    if (part.isEmpty() || QRectF(part) != source || !image.rect().contains(part))
        return image;
    const QRectF covered = painter_.transform().mapRect(target);
    const QSize size = QSize(int(std::ceil(std::min(covered.width(), MaxPictureSide))),
                             int(std::ceil(std::min(covered.height(), MaxPictureSide))))
                           .expandedTo(QSize(1, 1))
                           .boundedTo(part.size());
    if (part == image.rect() && size == part.size())
        return image;
    QImage &kept =
        kept_[{image.cacheKey(), part.x(), part.y(), part.width(), part.height(), size.width(), size.height()}];
    if (kept.isNull())
        kept = image.copy(part).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    source = kept.rect();
    return kept;
}

void Player::Record(quint16 function, Params &params)
{
    switch (function) {
    case META_SAVEDC:
        saved_.push_back(dc_);
        break;
    case META_RESTOREDC: {
        const int n = params.s16();
        const int pops = n < 0 ? -n : int(saved_.size()) - n + 1;
        if (params.ok() && pops >= 1 && pops <= int(saved_.size())) {
            dc_ = saved_[saved_.size() - std::size_t(pops)];
            saved_.resize(saved_.size() - std::size_t(pops));
            ApplyTransform();
        }
        break;
    }
    case META_SETBKMODE: dc_.opaqueBack = params.u16() == 2; break;
    case META_SETPOLYFILLMODE: dc_.fillRule = params.u16() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
    case META_SETTEXTALIGN: dc_.textAlign = params.u16(); break;
    case META_SETBKCOLOR: dc_.backColour = params.colour(); break;
    case META_SETTEXTCOLOR: dc_.textColour = params.colour(); break;
    case META_SETWINDOWORG: {
        const QPointF org = params.yx();
        if (params.ok())
            SetWindow(org, dc_.windowExt);
        break;
    }
    case META_SETWINDOWEXT: {
        const QPointF ext = params.yx();
        if (params.ok())
            SetWindow(dc_.windowOrg, QSizeF(ext.x(), ext.y()));
        break;
    }
    case META_OFFSETWINDOWORG: {
        const QPointF by = params.yx();
        if (params.ok())
            SetWindow(dc_.windowOrg + by, dc_.windowExt);
        break;
    }
    case META_SCALEWINDOWEXT: {
        const double yDenom = params.s16(), yNum = params.s16(), xDenom = params.s16(), xNum = params.s16();
        if (params.ok() && xDenom != 0 && yDenom != 0)
            SetWindow(dc_.windowOrg, QSizeF(dc_.windowExt.width() * xNum / xDenom, dc_.windowExt.height() * yNum / yDenom));
        break;
    }
    case META_MOVETO: dc_.position = params.yx(); break;
    case META_LINETO: {
        const QPointF to = params.yx();
        if (!params.ok())
            break;
        Apply();
        painter_.drawLine(dc_.position, to);
        dc_.position = to;
        break;
    }
    case META_CREATEPENINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Pen;
        const quint16 style = params.u16();
        const int width = params.s16();
        params.s16();
        const QColor colour = params.colour();
        static constexpr Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine, Qt::DashDotLine,
                                                  Qt::DashDotDotLine, Qt::NoPen,       Qt::SolidLine};
        o.pen = QPen(QBrush(colour), std::max(0, width), styles[std::min<int>(style & 0x0F, 6)], Qt::RoundCap,
                     Qt::RoundJoin);
        Create(o);
        break;
    }
    case META_CREATEBRUSHINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Brush;
        const quint16 style = params.u16();
        const QColor colour = params.colour();
        const quint16 hatch = params.u16();
        static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        if (style == 1)
            o.brush = Qt::NoBrush;
        else if (style == 2)
            o.brush = QBrush(colour, hatches[std::min<int>(hatch, 5)]);
        else
            o.brush = QBrush(colour);
        Create(o);
        break;
    }
    case META_CREATEFONTINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Font;
        const int height = params.s16();
        params.s16(); // width: the face's own
        o.escapement = params.s16() / 10.0;
        params.s16(); // orientation
        const int weight = params.s16();
        const QByteArray flags = params.bytes(8); // italic, underline, strike-out, charset, precisions, quality, pitch
        QByteArray face = params.bytes(std::min(32, params.remaining()));
        face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
        if (!face.isEmpty())
            o.font.setFamily(FromWin1251(face));
        o.font.setPixelSize(std::max(1, std::abs(height)));
        if (weight > 0)
            o.font.setWeight(QFont::Weight(std::clamp(weight, 100, 900)));
        if (flags.size() == 8) {
            o.font.setItalic(flags[0] != 0);
            o.font.setUnderline(flags[1] != 0);
            o.font.setStrikeOut(flags[2] != 0);
        }
        Create(o);
        break;
    }
    case META_CREATEPALETTE:
    case META_CREATEPATTERNBRUSH:
    case META_DIBCREATEPATTERNBRUSH:
    case META_CREATEREGION: {
        // Not drawn with, but they take their place in the object table.
        GdiObject o;
        o.kind = GdiObject::Other;
        Create(o);
        break;
    }
    case META_SELECTOBJECT: {
        const int index = params.u16();
        if (params.ok())
            Select(index);
        break;
    }
    case META_DELETEOBJECT: {
        const int index = params.u16();
        if (params.ok() && index < int(objects_.size()))
            objects_[std::size_t(index)] = GdiObject();
        break;
    }
    case META_RECTANGLE:
    case META_ELLIPSE: {
        const QRectF box = params.rect();
        if (!params.ok())
            break;
        Apply();
        if (function == META_RECTANGLE)
            painter_.drawRect(box);
        else
            painter_.drawEllipse(box);
        break;
    }
    case META_ROUNDRECT: {
        const double h = params.s16(), w = params.s16();
        const QRectF box = params.rect();
        if (!params.ok())
            break;
        Apply();
        painter_.drawRoundedRect(box, w / 2, h / 2);
        break;
    }
    case META_ARC:
    case META_PIE:
    case META_CHORD:
        Arc(function, params);
        break;
    case META_POLYLINE:
    case META_POLYGON: {
        const QPolygonF points = Points(params, params.s16());
        if (points.isEmpty())
            break;
        Apply();
        if (function == META_POLYLINE)
            painter_.drawPolyline(points);
        else
            painter_.drawPolygon(points, dc_.fillRule);
        break;
    }
    case META_POLYPOLYGON: {
        const int polygons = params.u16();
        std::vector<int> counts;
        for (int i = 0; i < polygons && params.ok(); ++i)
            counts.push_back(params.u16());
        QPainterPath path;
        path.setFillRule(dc_.fillRule);
        for (int count : counts) {
            const QPolygonF points = Points(params, count);
            if (points.isEmpty())
                return;
            path.addPolygon(points);
            path.closeSubpath();
        }
        Apply();
        painter_.drawPath(path);
        break;
    }
    case META_SETPIXEL: {
        const QColor colour = params.colour();
        const QPointF at = params.yx();
        if (!params.ok())
            break;
        painter_.setPen(QPen(colour, 0));
        painter_.drawPoint(at);
        break;
    }
    case META_TEXTOUT: {
        const QString text = params.text(params.s16());
        const QPointF at = params.yx();
        if (params.ok())
            Text(at, text, std::nullopt);
        break;
    }
    case META_EXTTEXTOUT: {
        const QPointF at = params.yx();
        const int count = params.s16();
        const quint16 options = params.u16();
        std::optional<QRectF> box;
        if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
            const double left = params.s16(), top = params.s16(), right = params.s16(), bottom = params.s16();
            if (options & ETO_OPAQUE)
                box = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        }
        const QString text = params.text(count);
        if (params.ok())
            Text(at, text, box);
        break;
    }
    case META_STRETCHDIB: Bitmap(params, true); break;
    case META_DIBSTRETCHBLT: Bitmap(params, false); break;
    default: break; // mapping modes, viewport, clipping, palettes, escapes: the picture does without
    }
}

} // namespace

bool LoadMetafilePicture(const QByteArray &data, QPicture &picture)
{
    Player player;
    return player.Play(data, picture);
}

bool LoadMetafilePicture(const QString &path, QPicture &picture)
{
    const OptionalFile file = ReadOptionalFile(path, MaxMetafileSize);
    return file.status == OptionalFile::Read && LoadMetafilePicture(file.bytes, picture);
}
