#include "MaskEdit.h"

EditMask ParseEditMask(const QString &mask)
{
    EditMask result;
    if (mask.isEmpty())
        return result;
    const QStringList parts = mask.split(QLatin1Char(';'));
    if (parts.size() > 1)
        result.saveLiterals = parts[1] != QLatin1String("0");
    if (parts.size() > 2 && !parts[2].isEmpty())
        result.blank = parts[2].at(0);

    QString qt;
    const QString &m = parts[0];
    for (int i = 0; i < m.size(); ++i) {
        const QChar c = m[i];
        switch (c.unicode()) {
        case '!': break; // leading-blank layout: no equivalent, no effect on the text
        case '>': qt += QLatin1Char('>'); break;
        case '<':
            if (i + 1 < m.size() && m[i + 1] == QLatin1Char('>')) {
                qt += QLatin1Char('!');
                ++i;
            } else {
                qt += QLatin1Char('<');
            }
            break;
        case 'L': qt += QLatin1Char('A'); break;
        case 'l': qt += QLatin1Char('a'); break;
        case 'A': qt += QLatin1Char('N'); break;
        case 'a': qt += QLatin1Char('n'); break;
        case 'C': qt += QLatin1Char('X'); break;
        case 'c': qt += QLatin1Char('x'); break;
        case '0': qt += QLatin1Char('9'); break;
        case '9': qt += QLatin1Char('0'); break;
        case '#': qt += QLatin1Char('#'); break;
        case '/': qt += QLatin1Char('.'); break; // the date separator of the programs' "dd.mm.yy"
        case '\\':
            if (i + 1 < m.size()) {
                qt += QLatin1Char('\\');
                qt += m[++i];
            }
            break;
        default:
            // Literal; escape the characters Qt reads as mask characters.
            if (QStringLiteral("AaNnXx90Dd#HhBb><!\\").contains(c))
                qt += QLatin1Char('\\');
            qt += c;
        }
    }
    result.qtMask = qt + QLatin1Char(';') + result.blank;
    return result;
}

QString MaskedText(const QLineEdit &edit, const EditMask &mask)
{
    if (mask.qtMask.isEmpty())
        return edit.text();
    if (!mask.saveLiterals)
        return edit.text();
    QString shown = edit.displayText();
    if (mask.blank != QLatin1Char(' '))
        shown.replace(mask.blank, QLatin1Char(' '));
    return shown;
}

TMaskEdit::TMaskEdit(QWidget *parent) : QLineEdit(parent) {}

void TMaskEdit::SetEditMask(const QString &mask)
{
    maskText_ = mask;
    mask_ = ParseEditMask(mask);
    setInputMask(mask_.qtMask);
}

QString TMaskEdit::Text() const
{
    return MaskedText(*this, mask_);
}
