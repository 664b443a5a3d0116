#include "configurator/pages/PageControls.h"
#include "toolkit/widgets/MaskEdit.h"
#include "toolkit/TextRules.h"
#include "configurator/pages/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace pagectl {

QLabel *Label(QWidget *parent, const QString &name, const QString &caption)
{
    auto *label = Make<QLabel>(parent, name);
    label->setText(caption);
    return label;
}

QLabel *Title(QWidget *page, const QString &name, const QString &caption)
{
    QLabel *title = Label(page, name, caption);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    return title;
}

QCheckBox *CheckBox(QWidget *parent, const QString &name, const QString &caption)
{
    auto *box = Make<QCheckBox>(parent, name);
    box->setText(caption);
    return box;
}

QRadioButton *RadioButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = Make<QRadioButton>(parent, name);
    button->setText(caption);
    return button;
}

QPushButton *Button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = Make<QPushButton>(parent, name);
    button->setText(caption);
    button->setAutoDefault(false);
    return button;
}

QGroupBox *GroupBox(QWidget *parent, const QString &name, const QString &caption)
{
    auto *group = Make<QGroupBox>(parent, name);
    group->setTitle(Framed(caption));
    return group;
}

namespace {

constexpr char WholeItems[] = "WholeItems";

// Wide enough for its longest item where the page has the room; narrower,
// down to a few characters, where it has not (the open list shows the items
// whole).
class ItemsWideComboBox : public QComboBox {
public:
    explicit ItemsWideComboBox(QWidget *parent) : QComboBox(parent)
    {
        setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        setMinimumContentsLength(8);
        QAbstractItemModel *items = model();
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(items, signal, this, &QWidget::updateGeometry);
        connect(items, &QAbstractItemModel::dataChanged, this, &QWidget::updateGeometry);
        connect(items, &QAbstractItemModel::modelReset, this, &QWidget::updateGeometry);
    }

    QSize minimumSizeHint() const override
    {
        return property(WholeItems).toBool() ? sizeHint() : QComboBox::minimumSizeHint();
    }

    QSize sizeHint() const override
    {
        const QSize least = QComboBox::sizeHint();
        int widest = 0;
        const QFontMetrics metrics = fontMetrics();
        for (int i = 0; i < count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
        // A character more than the text: the style's text field is a little narrower than its box.
        widest += metrics.averageCharWidth();
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QSize needed = style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest, least.height()), this);
        return QSize(std::max(least.width(), needed.width()), least.height());
    }
};

} // namespace

QComboBox *ComboBox(QWidget *parent, const QString &name, const QStringList &items)
{
    QComboBox *combo = new ItemsWideComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

void KeepItemsWhole(QComboBox *combo)
{
    combo->setProperty(WholeItems, true);
    combo->updateGeometry();
}

QComboBox *TextComboBox(QWidget *parent, const QString &name, const QStringList &items, int maxLength)
{
    QComboBox *combo = ComboBox(parent, name, items);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->lineEdit()->setMaxLength(maxLength);
    combo->setEditText(QString());
    return combo;
}

QLineEdit *Edit(QWidget *parent, const QString &name, int maxLength)
{
    auto *edit = Make<QLineEdit>(parent, name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

TMaskEdit *MaskEdit(QWidget *parent, const QString &name, const QString &mask, int maxLength)
{
    auto *edit = Make<TMaskEdit>(parent, name);
    if (!mask.isEmpty())
        edit->SetEditMask(mask);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QProgressBar *ProgressBar(QWidget *parent, const QString &name, int min, int max)
{
    auto *bar = Make<QProgressBar>(parent, name);
    bar->setRange(min, max);
    bar->setValue(min);
    bar->setTextVisible(false);
    return bar;
}

QWidget *ScrollBody(QWidget *page, QLabel *title)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (title != nullptr) {
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

QStringList Numbers(int first, int step, int count, const QString &unit)
{
    QStringList items;
    for (int n = 0; n < count; ++n)
        items << QString::number(first + step * n) + unit;
    return items;
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
    // The live-state indicators are set in every poll cycle, mostly to what they show.
    if (panel->autoFillBackground() && FaceColour(panel) == colour)
        return;
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
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

void KeepFirstItems(QComboBox *combo, int n)
{
    const QSignalBlocker block(combo);
    while (combo->count() > n)
        combo->removeItem(combo->count() - 1);
}

void ShowIndex(QComboBox *combo, qint64 value)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(value >= 0 && value < combo->count() ? int(value) : -1);
}

QString ItemTextOrNumber(const QComboBox *combo, quint32 value)
{
    if (combo != nullptr && value < quint32(combo->count()))
        return combo->itemText(int(value));
    return QString::number(value);
}

quint32 Bit(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

void ShowBit(QCheckBox *box, quint32 bit)
{
    box->setChecked(bit != 0);
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

void StoreTypedText(FieldView view, TextField field, const QComboBox *combo)
{
    view.Set(field, combo->currentText());
}

void ShowTypedText(FieldView view, TextField field, QComboBox *combo)
{
    view.Terminate(field);
    combo->setEditText(view.Get(field));
}

void FollowTypedPosition(TUpDown *upDown)
{
    const qint64 typed = TypedInteger(upDown->Associate()->text());
    upDown->SetPosition(int(qBound(qint64(INT_MIN), typed, qint64(INT_MAX))), false);
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
        view.Set(field, Bit(box));
    for (const auto &[combo, field] : combos_)
        view.Set(field, combo->currentIndex());
}

void FieldBindings::Show(ConstFieldView view) const
{
    for (const auto &[box, field] : boxes_)
        ShowBit(box, view.Get(field));
    for (const auto &[combo, field] : combos_)
        ShowIndex(combo, view.Get(field));
}

ReactionRows ReactionGroup(QWidget *parent, const QString &boxName, const QString &caption,
                           const std::array<const char *, 7> &labelNames, const QString &comboPrefix,
                           int shownRows, const FormTexts &texts)
{
    ReactionRows rows;
    rows.box = GroupBox(parent, boxName, caption);
    rows.layout = new QGridLayout(rows.box);
    for (int n = 0; n < 7; ++n) {
        rows.labels[n] = Label(rows.box, QLatin1String(labelNames[n]), texts.OutputNames.value(n));
        rows.combos[n] = ComboBox(rows.box, comboPrefix + QString::number(n + 1), texts.OutputActionNames);
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
