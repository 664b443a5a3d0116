#pragma once
// Building the named controls of the page panels, and moving values between
// them and the configuration's fields by the rules every page follows.
#include "common/Framed.h"
#include "configurator/core/Configuration.h"
#include "configurator/FormTexts.h"

#include <QString>
#include <QStringList>
#include <QValidator>

#include <array>
#include <utility>
#include <vector>

class QCheckBox;
class QColor;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;
class TMaskEdit;
class TUpDown;

namespace pagectl {

// A control of the window: objectName = name, parent = parent.
template <class T>
T *Make(QWidget *parent, const QString &name)
{
    auto *control = new T(parent);
    control->setObjectName(name);
    return control;
}

QLabel *Label(QWidget *parent, const QString &name, const QString &caption);
// A page's title label, in bold; entering the page sets its caption.
QLabel *Title(QWidget *page, const QString &name, const QString &caption = {});
QCheckBox *CheckBox(QWidget *parent, const QString &name, const QString &caption);
QRadioButton *RadioButton(QWidget *parent, const QString &name, const QString &caption);
QPushButton *Button(QWidget *parent, const QString &name, const QString &caption);
QGroupBox *GroupBox(QWidget *parent, const QString &name, const QString &caption);
// A drop-down list; no item is selected.
QComboBox *ComboBox(QWidget *parent, const QString &name, const QStringList &items = {});
// Makes a combo box from ComboBox never narrower than its longest item; a
// form layout that wraps long rows then puts it under its label where the
// page is narrow.
void KeepItemsWhole(QComboBox *combo);
// An editable combo box: typed text with suggestion items, at most maxLength characters.
QComboBox *TextComboBox(QWidget *parent, const QString &name, const QStringList &items, int maxLength);
// maxLength 0: the edit's own limit.
QLineEdit *Edit(QWidget *parent, const QString &name, int maxLength = 0);
TMaskEdit *MaskEdit(QWidget *parent, const QString &name, const QString &mask, int maxLength = 0);
// A bar at `min`, without its text.
QProgressBar *ProgressBar(QWidget *parent, const QString &name, int min, int max);

// The page's layout: the title on top, below it the body, which scrolls
// when the page area is smaller than the page. Returns the body to lay the
// page's controls out on.
QWidget *ScrollBody(QWidget *page, QLabel *title);

// "first", "first + step", ... `count` numbers, each followed by unit.
QStringList Numbers(int first, int step, int count, const QString &unit = {});

// The control's Tag, as the handlers read it from the sender.
void SetTag(QObject *control, int tag);
int Tag(const QObject *control);

// A panel's face colour (the panel fills its background with it).
void SetFaceColour(QWidget *panel, const QColor &colour);
QColor FaceColour(const QWidget *panel);
// The system's button face, the neutral colour of the panels.
QColor ButtonFace();

// Replaces the items; runs no handler, leaves no selection.
void SetItems(QComboBox *combo, const QStringList &items);
// Deletes the items from index n on until n remain.
void KeepFirstItems(QComboBox *combo, int n);
// Selects item `value`, or nothing when the value is no item. Runs no handler.
void ShowIndex(QComboBox *combo, qint64 value);
// The text of item `value`, or the number itself when the box (or the item) is missing.
QString ItemTextOrNumber(const QComboBox *combo, quint32 value);

quint32 Bit(const QCheckBox *box);
// Sets the box without its click handler (callers that need it run it).
void ShowBit(QCheckBox *box, quint32 bit);

// Text without the blanks (and control characters) at either end.
QString TrimBlanks(const QString &text);
QString TrimLeadingBlanks(const QString &text);

// Store: the trimmed text into the field (bounded, NUL-padded, last byte NUL).
void StoreText(FieldView view, TextField field, const QString &text);
// Store of a typed integer: trims the edit's text and writes it back, then
// stores the value, or the field's maximum when it is larger.
void StoreNumber(FieldView view, UField field, QLineEdit *edit);

// The text of an editable combo box as typed, blanks included.
void StoreTypedText(FieldView view, TextField field, const QComboBox *combo);
// Shows the field's text; the field's last byte is made NUL first.
void ShowTypedText(FieldView view, TextField field, QComboBox *combo);

// The up-down takes the integer typed into its edit, within its range; the
// edit keeps what was typed.
void FollowTypedPosition(TUpDown *upDown);

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

// The check boxes and combo boxes of a page that map one-to-one onto bit
// fields of one record.
class FieldBindings {
public:
    void Bind(QCheckBox *box, UField field);
    void Bind(QComboBox *combo, UField field);

    // A box stores 1 when checked; a combo its index, and no selection the
    // field's all-ones value.
    void Store(FieldView view) const;
    // Sets the boxes' states, and the combos' indexes without running their handlers.
    void Show(ConstFieldView view) const;

private:
    std::vector<std::pair<QCheckBox *, UField>> boxes_;
    std::vector<std::pair<QComboBox *, UField>> combos_;
};

// A group box with one row per relay and output: the output's name
// (OutputNames) and a combo box of its reaction (OutputActionNames) named
// comboPrefix + "1".."7", two outputs a line in `layout` (lines 0..3).
// Rows from `shownRows` on are hidden.
struct ReactionRows {
    QGroupBox *box;
    QGridLayout *layout;
    std::array<QLabel *, 7> labels;
    std::array<QComboBox *, 7> combos;
};
ReactionRows ReactionGroup(QWidget *parent, const QString &boxName, const QString &caption,
                           const std::array<const char *, 7> &labelNames, const QString &comboPrefix,
                           int shownRows, const FormTexts &texts);

} // namespace pagectl
