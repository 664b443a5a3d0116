#pragma once
// Building blocks of the page forms, and the moves of plain check box and
// combo box values between controls and image fields.
#include "FormTexts.h"
#include "ImageFields.h"

#include <QString>
#include <QStringList>
#include <array>
#include <utility>
#include <vector>

class QCheckBox;
class QColor;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QObject;
class QPushButton;
class QWidget;

namespace pagectl {

// Controls carry their objectName; a group box's caption is framed by one
// blank on each side.
QLabel *Label(const QString &name, const QString &caption, QWidget *parent);
QGroupBox *GroupBox(const QString &name, const QString &caption, QWidget *parent);
QCheckBox *CheckBox(const QString &name, const QString &caption, QWidget *parent);
QPushButton *Button(const QString &name, const QString &caption, QWidget *parent);
// A drop-down list.
QComboBox *ComboBox(const QString &name, const QStringList &items, QWidget *parent);

// The scrollable area of a page below its title; returns the widget to lay
// the page's controls out on.
QWidget *ScrollBody(QWidget *page, QLabel *title);

// The control's Tag, as the device handlers read it from the sender.
void SetTag(QObject *control, int tag);
int Tag(const QObject *control);

// A panel's face colour (the label fills its background with it).
void SetFaceColour(QWidget *panel, const QColor &colour);
QColor FaceColour(const QWidget *panel);
// The system's button face, the neutral colour of the panels.
QColor ButtonFace();

// Replaces the items; runs no handler, leaves no selection.
void SetItems(QComboBox *combo, const QStringList &items);
// Deletes the items from index n on until n remain.
void KeepFirstItems(QComboBox *combo, int n);
// A stored index: a value outside the items shows no selection. Runs no handler.
void ShowIndex(QComboBox *combo, qint64 value);

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
ReactionRows ReactionGroup(const QString &boxName, const QString &caption,
                           const std::array<const char *, 7> &labelNames, const QString &comboPrefix,
                           int shownRows, const FormTexts &texts, QWidget *parent);

} // namespace pagectl

// The check boxes and combo boxes of a page that map one-to-one onto bit
// fields of one record.
class FieldBindings {
public:
    void Bind(QCheckBox *box, UField field);
    void Bind(QComboBox *combo, UField field);

    void Store(FieldView view) const;
    // Sets the boxes' states, and the combos' indexes without running their handlers.
    void Show(ConstFieldView view) const;

private:
    std::vector<std::pair<QCheckBox *, UField>> boxes_;
    std::vector<std::pair<QComboBox *, UField>> combos_;
};
