#pragma once
// Building the named controls of a page panel, and moving values between
// them and the configuration's fields by the rules every page follows.
#include "Configuration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

class QVBoxLayout;

namespace pagecontrols {

// A control of the window: objectName = name, parent = parent.
template <class T>
T *Make(QWidget *parent, const QString &name)
{
    auto *control = new T(parent);
    control->setObjectName(name);
    return control;
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption);
QCheckBox *MakeCheckBox(QWidget *parent, const QString &name, const QString &caption);
// Group-box captions carry one blank before and after their text.
QGroupBox *MakeGroupBox(QWidget *parent, const QString &name, const QString &text);
QComboBox *MakeComboBox(QWidget *parent, const QString &name, const QStringList &items = {});
QString Framed(const QString &text);

// The page's layout: the title label on top, then the body, which scrolls
// when the page area is smaller than the page.
QVBoxLayout *PageBody(QWidget *page, QLabel *title);

// Deletes the items from index n on until n remain.
void KeepFirstItems(QComboBox *combo, int n);

// Text without the blanks (and control characters) at either end.
QString TrimBlanks(const QString &text);
QString TrimLeadingBlanks(const QString &text);

// Store: the trimmed text into the field (bounded, NUL-padded, last byte NUL).
void StoreText(FieldView view, TextField field, const QString &text);
// Store of a typed integer: trims the edit's text and writes it back, then
// stores the value, or the field's maximum when it is larger.
void StoreNumber(FieldView view, UField field, QLineEdit *edit);

// The index of a combo box; -1 (no selection) stores the field's all-ones value.
inline int Index(const QComboBox *combo) { return combo->currentIndex(); }
// Selects item `value`, or nothing when the value is no item. Runs no handler.
void ShowIndex(QComboBox *combo, qint64 value);

inline quint32 Bit(const QCheckBox *box) { return box->isChecked() ? 1 : 0; }
// Sets the box without its click handler (callers that need it run it).
void ShowBit(QCheckBox *box, quint32 bit);

} // namespace pagecontrols
