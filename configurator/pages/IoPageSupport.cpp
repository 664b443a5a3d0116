#include "IoPageSupport.h"
#include "TextRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

namespace iopage {

QString Framed(const QString &text)
{
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

QLabel *NewLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel *NewTitleLabel(QWidget *parent, const QString &name)
{
    QLabel *label = NewLabel(parent, name, QString());
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QCheckBox *NewCheckBox(QWidget *parent, const QString &name, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QGroupBox *NewGroupBox(QWidget *parent, const QString &name, const QString &text)
{
    auto *box = new QGroupBox(Framed(text), parent);
    box->setObjectName(name);
    return box;
}

QComboBox *NewComboBox(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

QComboBox *NewTextComboBox(QWidget *parent, const QString &name, const QStringList &items, int maxLength)
{
    QComboBox *box = NewComboBox(parent, name, items);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->lineEdit()->setMaxLength(maxLength);
    box->setEditText(QString());
    return box;
}

void ShowIndex(QComboBox *box, quint32 value)
{
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(value < quint32(box->count()) ? int(value) : -1);
}

QString ItemTextOrNumber(const QComboBox *box, quint32 value)
{
    if (box != nullptr && value < quint32(box->count()))
        return box->itemText(int(value));
    return QString::number(value);
}

QString General(double value, int precision)
{
    return FormatGeneral(value, precision, 2, QLocale::system().decimalPoint());
}

TypingLimit::TypingLimit(QLineEdit *edit, int maxLength) : QValidator(edit), maxLength_(maxLength)
{
    lastLength_ = int(edit->text().size());
    QObject::connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { lastLength_ = int(text.size()); });
}

QValidator::State TypingLimit::validate(QString &input, int &) const
{
    const int length = int(input.size());
    return length <= maxLength_ || length < lastLength_ ? Acceptable : Invalid;
}

} // namespace iopage
