#pragma once
// Small pieces the input, output and scenario pages share: building their
// controls and moving values between controls and image fields.
#include <QString>
#include <QStringList>
#include <QValidator>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace iopage {

// A group-box caption as the form writes it: one blank before and after.
QString Framed(const QString &text);

QLabel *NewLabel(QWidget *parent, const QString &name, const QString &text);
// The page's title label; its caption is the tree node's text.
QLabel *NewTitleLabel(QWidget *parent, const QString &name);
QCheckBox *NewCheckBox(QWidget *parent, const QString &name, const QString &text);
QGroupBox *NewGroupBox(QWidget *parent, const QString &name, const QString &text);
// A drop-down list.
QComboBox *NewComboBox(QWidget *parent, const QString &name, const QStringList &items = {});
// An editable combo box: typed text with suggestion items, at most maxLength characters.
QComboBox *NewTextComboBox(QWidget *parent, const QString &name, const QStringList &items, int maxLength);

// Selects item `value` without running the box's change handler; a value
// beyond the items leaves no selection.
void ShowIndex(QComboBox *box, quint32 value);

// The text of item `value`, or the number itself when the box has no such item.
QString ItemTextOrNumber(const QComboBox *box, quint32 value);

// The general number format with the user's decimal separator.
QString General(double value, int precision);

// Limits what the user types to `maxLength` characters but, unlike
// QLineEdit::setMaxLength, lets a longer text set by the program stand (it
// can only be shortened by typing).
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit *edit, int maxLength);
    State validate(QString &input, int &pos) const override;

private:
    int maxLength_;
    int lastLength_ = 0;
};

} // namespace iopage
