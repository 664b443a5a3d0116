#include "configurator/pages/WiringPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int TerminalWidth = 56;
constexpr int TerminalHeight = 44;
constexpr int BlockLeft = 40;
constexpr int BlockTop = 70;

// What hangs below a terminal.
enum class Load { None, Contact, Lamp, RelayContact };

struct Terminal {
    const char *name;
    Load load;
};

int TerminalCentre(int index)
{
    return BlockLeft + index * TerminalWidth + TerminalWidth / 2;
}

void DrawContact(QPainter &p, int x, int top, int bottom)
{
    const int mid = (top + bottom) / 2;
    p.drawLine(x, top, x, mid - 10);
    p.drawLine(x, mid - 10, x + 10, mid + 8); // the open switch blade
    p.drawLine(x, mid + 10, x, bottom);
}

void DrawLamp(QPainter &p, int x, int top, int bottom)
{
    const int mid = (top + bottom) / 2;
    p.drawLine(x, top, x, mid - 12);
    p.drawEllipse(QPoint(x, mid), 12, 12);
    p.drawLine(x - 8, mid - 8, x + 8, mid + 8);
    p.drawLine(x - 8, mid + 8, x + 8, mid - 8);
    p.drawLine(x, mid + 12, x, bottom);
}

// A controller body with a row of screw terminals, each labelled, and the
// external wiring drawn from each terminal down to a common rail.
QPicture DrawTerminals(const QString &title, const Terminal *terminals, int count, const QString &railName,
                       int railTerminal)
{
    QPicture picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const int width = count * TerminalWidth;
    QFont font = p.font();
    font.setPointSize(9);
    p.setFont(font);

    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(230, 230, 230));
    p.drawRoundedRect(BlockLeft - 20, 10, width + 40, BlockTop + TerminalHeight - 10 + 10, 6, 6);
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(BlockLeft - 20, 14, width + 40, 24), Qt::AlignCenter, title);
    p.setFont(font);

    const int rail = BlockTop + TerminalHeight + 110;
    for (int i = 0; i < count; ++i) {
        const QRect box(BlockLeft + i * TerminalWidth, BlockTop, TerminalWidth, TerminalHeight);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(60, 140, 60));
        p.drawRect(box);
        p.setBrush(QColor(200, 200, 200));
        p.drawEllipse(box.center() + QPoint(1, 6), 9, 9);
        p.drawLine(box.center() + QPoint(-5, 1), box.center() + QPoint(7, 11));
        p.drawText(QRect(box.left(), BlockTop - 22, TerminalWidth, 20), Qt::AlignCenter,
                   QString::fromLatin1(terminals[i].name));

        const int x = TerminalCentre(i);
        const int top = BlockTop + TerminalHeight;
        p.setPen(QPen(QColor(0, 0, 160), 2));
        p.setBrush(Qt::NoBrush);
        switch (terminals[i].load) {
        case Load::Contact:
        case Load::RelayContact: DrawContact(p, x, top, rail); break;
        case Load::Lamp: DrawLamp(p, x, top, rail); break;
        case Load::None:
            if (i == railTerminal)
                p.drawLine(x, top, x, rail);
            break;
        }
    }
    // The common rail joins every load to the rail terminal.
    int first = railTerminal, last = railTerminal;
    for (int i = 0; i < count; ++i) {
        if (terminals[i].load != Load::None) {
            first = qMin(first, i);
            last = qMax(last, i);
        }
    }
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.drawLine(TerminalCentre(first), rail, TerminalCentre(last), rail);
    p.setPen(Qt::black);
    p.drawText(QRect(TerminalCentre(first), rail + 4, TerminalCentre(last) - TerminalCentre(first), 20),
               Qt::AlignCenter, railName);
    p.end();
    return picture;
}

} // namespace

QPicture InputWiringPicture()
{
    static constexpr Terminal terminals[] = {
        {"IN1", Load::Contact}, {"IN2", Load::Contact}, {"IN3", Load::Contact},
        {"IN4", Load::Contact}, {"GND", Load::None},    {"+12V", Load::None},
    };
    return DrawTerminals(QStringLiteral("QRV240: входы"), terminals, int(std::size(terminals)),
                         QStringLiteral("датчики: IN - GND"), 4);
}

QPicture OutputWiringPicture()
{
    static constexpr Terminal terminals[] = {
        {"R1", Load::RelayContact}, {"R2", Load::RelayContact}, {"OUT1", Load::Lamp},
        {"OUT2", Load::Lamp},       {"GND", Load::None},        {"+12V", Load::None},
    };
    return DrawTerminals(QStringLiteral("QRV240: реле и выходы"), terminals, int(std::size(terminals)),
                         QStringLiteral("нагрузки: +12V"), 5);
}
