#include "toolkit/widgets/MaskEdit.h"

#include <QMouseEvent>

#include <algorithm>

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

namespace {

// Which positions of the shown text the user fills; the others hold literals.
QList<bool> EditablePositions(const QString &qtMask)
{
    static const QString maskCharacters = QStringLiteral("AaNnXx90Dd#HhBb");
    QList<bool> editable;
    const QString m = qtMask.chopped(2); // ";" and the blank
    for (qsizetype i = 0; i < m.size(); ++i) {
        const QChar c = m[i];
        if (c == QLatin1Char('\\')) {
            if (++i < m.size())
                editable << false;
        } else if (c != QLatin1Char('>') && c != QLatin1Char('<') && c != QLatin1Char('!')) {
            editable << maskCharacters.contains(c);
        }
    }
    return editable;
}

} // namespace

TMaskEdit::TMaskEdit(QWidget *parent) : QLineEdit(parent)
{
    // textEdited comes before textChanged: a reader of the text on either
    // signal already gets the user's text.
    connect(this, &QLineEdit::textEdited, this, [this] { given_.reset(); });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!settingText_)
            given_.reset();
    });
}

void TMaskEdit::SetEditMask(const QString &mask)
{
    maskText_ = mask;
    mask_ = ParseEditMask(mask);
    setInputMask(mask_.qtMask);
}

void TMaskEdit::SetText(const QString &text)
{
    settingText_ = true;
    setText(text);
    settingText_ = false;
    given_ = text;
}

QString TMaskEdit::Text() const
{
    if (given_)
        return *given_;
    if (mask_.qtMask.isEmpty() || !mask_.saveLiterals)
        return text();
    QString shown = displayText();
    if (mask_.blank != QLatin1Char(' '))
        shown.replace(mask_.blank, QLatin1Char(' '));
    return shown;
}

int TMaskEdit::TypingPosition() const
{
    const QList<bool> editable = EditablePositions(mask_.qtMask);
    const QString shown = displayText();
    for (qsizetype i = std::min(shown.size(), editable.size()); i > 0; --i) {
        if (editable[i - 1] && shown[i - 1] != mask_.blank)
            return int(i);
    }
    return 0;
}

// A click past what has been typed puts the cursor where typing goes on,
// not at the end of the mask, where nothing more can be typed.
void TMaskEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (mask_.qtMask.isEmpty() || event->button() != Qt::LeftButton || hasSelectedText())
        return;
    const int typing = TypingPosition();
    if (cursorPosition() > typing)
        setCursorPosition(typing);
}
