#include "common/ProgramIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Both are drawn on a 64 x 64 grid.
constexpr qreal Grid = 64;

template <class Draw>
QIcon PaintedIcon(const QColor &light, const QColor &dark, Draw draw)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / Grid, size / Grid);
        QLinearGradient face(0, 0, 0, Grid);
        face.setColorAt(0, light);
        face.setColorAt(1, dark);
        painter.setPen(Qt::NoPen);
        painter.setBrush(face);
        painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen WhiteLine(qreal width)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

QIcon ConfiguratorIcon()
{
    return PaintedIcon(QColor(0x3A, 0x7B, 0xC8), QColor(0x1B, 0x3F, 0x73), [](QPainter &p) {
        struct Slider {
            qreal y, knob;
        };
        for (const Slider s : {Slider{19, 23}, Slider{32, 41}, Slider{45, 29}}) {
            p.setPen(WhiteLine(5));
            p.drawLine(QPointF(13, s.y), QPointF(51, s.y));
            p.setPen(QPen(Qt::white, 2.5));
            p.setBrush(QColor(0xF5, 0xB7, 0x00));
            p.drawEllipse(QPointF(s.knob, s.y), 6.5, 6.5);
        }
    });
}

QIcon VoiceProgrammerIcon()
{
    return PaintedIcon(QColor(0x3C, 0xB3, 0x6E), QColor(0x17, 0x66, 0x38), [](QPainter &p) {
        QPainterPath speaker;
        speaker.moveTo(10, 25);
        speaker.lineTo(19, 25);
        speaker.lineTo(32, 13);
        speaker.lineTo(32, 51);
        speaker.lineTo(19, 39);
        speaker.lineTo(10, 39);
        speaker.closeSubpath();
        p.setPen(WhiteLine(2));
        p.setBrush(Qt::white);
        p.drawPath(speaker);
        p.setPen(WhiteLine(4.5));
        p.setBrush(Qt::NoBrush);
        for (qreal radius : {9.0, 17.0}) {
            const QRectF around(31 - radius, 32 - radius, 2 * radius, 2 * radius);
            p.drawArc(around, -45 * 16, 90 * 16);
        }
    });
}
