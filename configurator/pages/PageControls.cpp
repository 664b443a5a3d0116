#include "PageControls.h"
#include "TextRules.h"

#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pagecontrols {

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption)
{
    auto *label = Make<QLabel>(parent, name);
    label->setText(caption);
    return label;
}

QCheckBox *MakeCheckBox(QWidget *parent, const QString &name, const QString &caption)
{
    auto *box = Make<QCheckBox>(parent, name);
    box->setText(caption);
    return box;
}

QString Framed(const QString &text)
{
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

QGroupBox *MakeGroupBox(QWidget *parent, const QString &name, const QString &text)
{
    auto *group = Make<QGroupBox>(parent, name);
    group->setTitle(Framed(text));
    return group;
}

QComboBox *MakeComboBox(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *combo = Make<QComboBox>(parent, name);
    // Long items are read in the open list; the box takes the width the page gives it.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

QVBoxLayout *PageBody(QWidget *page, QLabel *title)
{
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(6, 6, 6, 6);
    if (title != nullptr) {
        QFont font = title->font();
        font.setBold(true);
        title->setFont(font);
        outer->addWidget(title);
    }
    auto *scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *body = new QWidget(scroll);
    scroll->setWidget(body);
    outer->addWidget(scroll, 1);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

void KeepFirstItems(QComboBox *combo, int n)
{
    const QSignalBlocker block(combo);
    while (combo->count() > n)
        combo->removeItem(combo->count() - 1);
}

namespace {

bool IsBlank(QChar c)
{
    return c.unicode() <= u' ';
}

} // namespace

QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimLeadingBlanks(const QString &text)
{
    qsizetype begin = 0;
    while (begin < text.size() && IsBlank(text[begin]))
        ++begin;
    return text.mid(begin);
}

void StoreText(FieldView view, TextField field, const QString &text)
{
    view.Set(field, TrimBlanks(text));
}

void StoreNumber(FieldView view, UField field, QLineEdit *edit)
{
    const QString trimmed = TrimBlanks(edit->text());
    edit->setText(trimmed);
    view.SetNumber(field, TypedInteger(trimmed));
}

void ShowIndex(QComboBox *combo, qint64 value)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(value >= 0 && value < combo->count() ? int(value) : -1);
}

void ShowBit(QCheckBox *box, quint32 bit)
{
    box->setChecked(bit != 0);
}

} // namespace pagecontrols
