#include "PageKit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pagectl {

QLabel *Label(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QGroupBox *GroupBox(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(QLatin1Char(' ') + caption + QLatin1Char(' '), parent);
    box->setObjectName(name);
    return box;
}

QCheckBox *CheckBox(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QPushButton *Button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QComboBox *ComboBox(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    // Long item texts do not widen the page; the layout gives the width.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

QWidget *ScrollBody(QWidget *page, QLabel *title)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (title != nullptr) {
        QFont font = title->font();
        font.setBold(true);
        title->setFont(font);
        title->setContentsMargins(8, 6, 8, 6);
        layout->addWidget(title);
    }
    auto *scroll = new QScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto *body = new QWidget(scroll);
    scroll->setWidget(body);
    layout->addWidget(scroll, 1);
    return body;
}

void SetTag(QObject *control, int tag)
{
    control->setProperty("Tag", tag);
}

int Tag(const QObject *control)
{
    return control != nullptr ? control->property("Tag").toInt() : 0;
}

void SetFaceColour(QWidget *panel, const QColor &colour)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}

QColor FaceColour(const QWidget *panel)
{
    return panel->palette().color(QPalette::Window);
}

QColor ButtonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

void SetItems(QComboBox *combo, const QStringList &items)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

void KeepFirstItems(QComboBox *combo, int n)
{
    const QSignalBlocker blocker(combo);
    while (combo->count() > n)
        combo->removeItem(combo->count() - 1);
}

void ShowIndex(QComboBox *combo, qint64 value)
{
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(value >= 0 && value < combo->count() ? int(value) : -1);
}

ReactionRows ReactionGroup(const QString &boxName, const QString &caption,
                           const std::array<const char *, 7> &labelNames, const QString &comboPrefix,
                           int shownRows, const FormTexts &texts, QWidget *parent)
{
    ReactionRows rows;
    rows.box = GroupBox(boxName, caption, parent);
    rows.layout = new QGridLayout(rows.box);
    for (int n = 0; n < 7; ++n) {
        rows.labels[n] = Label(QLatin1String(labelNames[n]), texts.OutputNames.value(n), rows.box);
        rows.combos[n] = ComboBox(comboPrefix + QString::number(n + 1), texts.OutputActionNames, rows.box);
        // Two outputs a line.
        rows.layout->addWidget(rows.labels[n], n / 2, 2 * (n % 2));
        rows.layout->addWidget(rows.combos[n], n / 2, 2 * (n % 2) + 1);
        rows.labels[n]->setVisible(n < shownRows);
        rows.combos[n]->setVisible(n < shownRows);
    }
    rows.layout->setColumnStretch(1, 1);
    rows.layout->setColumnStretch(3, 1);
    return rows;
}

} // namespace pagectl

void FieldBindings::Bind(QCheckBox *box, UField field)
{
    boxes_.emplace_back(box, field);
}

void FieldBindings::Bind(QComboBox *combo, UField field)
{
    combos_.emplace_back(combo, field);
}

void FieldBindings::Store(FieldView view) const
{
    for (const auto &[box, field] : boxes_)
        view.Set(field, box->isChecked() ? 1 : 0);
    // No selection (-1) stores the field's all-ones value.
    for (const auto &[combo, field] : combos_)
        view.Set(field, combo->currentIndex());
}

void FieldBindings::Show(ConstFieldView view) const
{
    for (const auto &[box, field] : boxes_)
        box->setChecked(view.Get(field) != 0);
    for (const auto &[combo, field] : combos_)
        pagectl::ShowIndex(combo, view.Get(field));
}
