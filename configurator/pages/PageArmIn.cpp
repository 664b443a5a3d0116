#include "configurator/pages/PageArmIn.h"
#include "toolkit/widgets/StringGrid.h"
#include "configurator/pages/UpDown.h"
#include "configurator/pages/WrapLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using namespace pagectl;

const QString FreeKeyCode = QString(16, QLatin1Char(' '));

namespace {

constexpr int KeyRows = TouchKeyRecord::Count;
constexpr int DelayMax = 240;
// Arm-input modes and profiles this controller offers, of the form's lists.
constexpr int ArmInModes = 3;
constexpr int Profiles = 5;
// The form shows relays 1, 2 and outputs 1..3; entering the page hides output 3.
constexpr int FormReactionRows = 5;

struct ReactionKind {
    const char *group;
    const char *caption;
    std::array<const char *, 7> labels;
    const char *combos;
    const char *profile;
    UField (*reaction)(int output);
    UField profileField;
    QGroupBox *PageArmIn::*box;
    std::array<QLabel *, 7> PageArmIn::*labelMembers;
    std::array<QComboBox *, 7> PageArmIn::*comboMembers;
    QComboBox *PageArmIn::*profileMember;
};

// In the order the page stores them.
const ReactionKind ReactionKinds[] = {
    {"GroupBox4", "Начат обратный отсчет",
     {"Label29", "Label9", "Label53", "Label58", "Label59", "Label60", "Label61"}, "ComboBoxCDtoRele",
     "ComboBoxCDtoProfile", PerimeterRecord::CDtoRele, PerimeterRecord::CDtoProfile, &PageArmIn::GroupBox4,
     &PageArmIn::CDtoLabels, &PageArmIn::ComboBoxCDtoRele, &PageArmIn::ComboBoxCDtoProfile},
    {"GroupBox5", "Переход в режим ОХРАНА",
     {"Label13", "Label11", "Label43", "Label44", "Label45", "Label46", "Label47"}, "ComboBoxArmToRele",
     "ComboBoxArmToProfile", PerimeterRecord::ArmToRele, PerimeterRecord::ArmToProfile, &PageArmIn::GroupBox5,
     &PageArmIn::ArmToLabels, &PageArmIn::ComboBoxArmToRele, &PageArmIn::ComboBoxArmToProfile},
    {"GroupBox7", "Переход в режим НАБЛЮДЕНИЕ",
     {"Label20", "Label18", "Label62", "Label63", "Label64", "Label65", "Label71"}, "ComboBoxDisarmToRele",
     "ComboBoxDisarmToProfile", PerimeterRecord::DisarmToRele, PerimeterRecord::DisarmToProfile,
     &PageArmIn::GroupBox7, &PageArmIn::DisarmToLabels, &PageArmIn::ComboBoxDisarmToRele,
     &PageArmIn::ComboBoxDisarmToProfile},
    {"GroupBox43", "Переход в режим ЗАЩИТА",
     {"Label154", "Label153", "Label155", "Label156", "Label158", "Label159", "Label160"}, "ComboBoxRAtoRele",
     "ComboBoxRAtoProfile", PerimeterRecord::RAtoRele, PerimeterRecord::RAtoProfile, &PageArmIn::GroupBox43,
     &PageArmIn::RAtoLabels, &PageArmIn::ComboBoxRAtoRele, &PageArmIn::ComboBoxRAtoProfile},
};

QStringList ProfileItems()
{
    QStringList items = {QStringLiteral("Не применять профиль")};
    for (int n = 1; n <= 8; ++n)
        items << QStringLiteral("Применить профиль ") + QString::number(n);
    return items;
}

bool IsHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

// The code typed into column 1; anything but 1..16 hex digits (blanks
// around them allowed) is no code.
quint64 KeyCode(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 16 || !std::all_of(digits.begin(), digits.end(), IsHexDigit))
        return 0;
    return digits.toULongLong(nullptr, 16);
}

QString KeyCodeText(quint64 code)
{
    return QStringLiteral("%1").arg(code, 16, 16, QLatin1Char('0')).toUpper();
}

} // namespace

PageArmIn::PageArmIn(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("PanelArmIn"), parent)
{
    Label21 = Title(this, QStringLiteral("Label21"), context.NodeText(Pages::ArmIn));
    QWidget *body = ScrollBody(this, Label21);

    GroupBox11 = GroupBox(body, QStringLiteral("GroupBox11"), QStringLiteral("Вход Arm In"));
    {
        auto *layout = new QGridLayout(GroupBox11);
        ComboBoxArmInMode = ComboBox(GroupBox11, QStringLiteral("ComboBoxArmInMode"),
                                     {QStringLiteral("Смена режима ОХРАНА/НАБЛЮДЕНИЕ импульсом"),
                                      QStringLiteral("Замыкание входа - ОХРАНА, размыкание - НАБЛЮДЕНИЕ"),
                                      QStringLiteral("Смена режима ОХРАНА/НАБЛЮДЕНИЕ - TouchMemory"),
                                      QStringLiteral("ОХРАНА/НАБЛЮД. - TM, ЗАЩИТА/НАБЛЮД. - импульс"),
                                      QStringLiteral("ОХРАНА/НАБЛЮДЕНИЕ - TM, ОХРАНА - импульс")});
        Label25 = Label(GroupBox11, QStringLiteral("Label25"), QStringLiteral("Задержка постановки на охрану, сек."));
        EditDelayARM = Edit(GroupBox11, QStringLiteral("EditDelayARM"), 3);
        EditDelayARM->setFixedWidth(EditDelayARM->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        UpDownDelayARM = Make<TUpDown>(GroupBox11, QStringLiteral("UpDownDelayARM"));
        UpDownDelayARM->SetRange(0, DelayMax);
        UpDownDelayARM->SetAssociate(EditDelayARM);
        auto *delay = new QHBoxLayout;
        delay->setSpacing(0);
        delay->addWidget(EditDelayARM);
        delay->addWidget(UpDownDelayARM);
        delay->addStretch(1);
        layout->addWidget(ComboBoxArmInMode, 0, 0, 1, 2);
        layout->addWidget(Label25, 1, 0);
        layout->addLayout(delay, 1, 1);
        layout->setColumnStretch(1, 1);
    }
    connect(EditDelayARM, &QLineEdit::textChanged, this, &PageArmIn::EditDelayARMChange);

    auto *left = new QVBoxLayout;
    left->addWidget(GroupBox11);
    const QStringList profiles = ProfileItems();
    for (const ReactionKind &kind : ReactionKinds) {
        ReactionRows rows = ReactionGroup(body, QLatin1String(kind.group), QString::fromUtf8(kind.caption), kind.labels,
                                          QLatin1String(kind.combos), FormReactionRows, texts());
        QComboBox *profile = ComboBox(rows.box, QLatin1String(kind.profile), profiles);
        rows.layout->addWidget(new QLabel(QStringLiteral("Профиль"), rows.box), 4, 0);
        rows.layout->addWidget(profile, 4, 1, 1, 3);
        this->*kind.box = rows.box;
        this->*kind.labelMembers = rows.labels;
        this->*kind.comboMembers = rows.combos;
        this->*kind.profileMember = profile;
        for (int n = 0; n < OutputCount; ++n)
            perimeter_.Bind(rows.combos[n], kind.reaction(n));
        perimeter_.Bind(profile, kind.profileField);
        left->addWidget(rows.box);
    }
    perimeter_.Bind(ComboBoxArmInMode, PerimeterRecord::ArmInMode);
    GroupBox43->hide();

    GroupBoxProtectModeLink = GroupBox(body, QStringLiteral("GroupBoxProtectModeLink"),
                                       QStringLiteral("Входы, контролируемые в режиме ЗАЩИТА"));
    {
        auto *layout = new QGridLayout(GroupBoxProtectModeLink);
        for (int i = 0; i < 16; ++i) {
            const QString number = QString::number(i + 1);
            CheckBoxRestrArmMode[i] = CheckBox(GroupBoxProtectModeLink, QStringLiteral("CheckBoxRestrArmMode") + number,
                                               QStringLiteral("Вх.") + number);
            layout->addWidget(CheckBoxRestrArmMode[i], i / 8, i % 8);
        }
    }
    GroupBoxProtectModeLink->hide();
    left->addWidget(GroupBoxProtectModeLink);
    left->addStretch(1);

    BuildKeyTable(body);
    auto *right = new QVBoxLayout;
    right->addWidget(StringGrid1, 1);
    right->addWidget(LabelTouchActionDiscription);
    right->addWidget(Label163);

    auto *columns = new WrapLayout(body);
    columns->addLayout(left);
    columns->addViewFillingLayout(right);
}

void PageArmIn::BuildKeyTable(QWidget *body)
{
    StringGrid1 = Make<TStringGrid>(body, QStringLiteral("StringGrid1"));
    StringGrid1->SetColCount(3);
    StringGrid1->SetRowCount(KeyRows + 1);
    StringGrid1->SetCell(0, 0, QStringLiteral("№"));
    StringGrid1->SetCell(1, 0, QStringLiteral("Код ключа TOUCH"));
    StringGrid1->SetCell(2, 0, QStringLiteral("Имя пользователя"));
    for (int row = 1; row <= KeyRows; ++row) {
        StringGrid1->SetCell(0, row, QStringLiteral(" ") + QString::number(row));
        StringGrid1->SetCell(1, row, FreeKeyCode);
    }
    // The two text columns share the width.
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid1->SetColWidth(0, StringGrid1->fontMetrics().horizontalAdvance(QStringLiteral(" 000")) + 8);
    StringGrid1->SetRowMoving(true);
    StringGrid1->setMinimumWidth(320);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 6);
    StringGrid1->OnGetEditMask = [this](int col, int row) { return StringGrid1GetEditMask(col, row); };
    StringGrid1->OnSelectCell = [this](int col, int row) { StringGrid1SelectCell(col, row); };
    StringGrid1->OnRowMoved = [this](int from, int to) { StringGrid1RowMoved(from, to); };
    StringGrid1->OnTopLeftChanged = [this] { StringGrid1TopLeftChanged(); };

    LabelTouchActionDiscription = Label(body, QStringLiteral("LabelTouchActionDiscription"), QString());
    LabelTouchActionDiscription->setWordWrap(true);
    Label163 = Label(body, QStringLiteral("Label163"),
                     QStringLiteral("Для внесения ключа в таблицу приложите его к считывателю"));
    Label163->setWordWrap(true);
}

void PageArmIn::Enter(int page)
{
    ConfigPage::Enter(page);
    KeepFirstItems(ComboBoxArmInMode, ArmInModes);
    for (QComboBox *profile : {ComboBoxCDtoProfile, ComboBoxArmToProfile, ComboBoxDisarmToProfile})
        KeepFirstItems(profile, Profiles);
    // Output 3 is not on this controller; the layout closes the gap.
    for (auto *rows : {&ComboBoxCDtoRele, &ComboBoxArmToRele, &ComboBoxDisarmToRele})
        (*rows)[4]->hide();
    for (auto *rows : {&CDtoLabels, &ArmToLabels, &DisarmToLabels})
        (*rows)[4]->hide();
    LabelTouchActionDiscription->clear();
}

void PageArmIn::AfterShow(int)
{
    StringGrid1TopLeftChanged();
}

void PageArmIn::StorePage(int, ControllerConfig &config)
{
    ConfigImage &image = config.ConfigImage;
    const FieldView perimeter = RecordView<PerimeterRecord>(image, 0);
    perimeter.Set(PerimeterRecord::DelayARM, UpDownDelayARM->Position());
    perimeter_.Store(perimeter);
    for (int i = 0; i < 8; ++i)
        RecordView<InputRecord>(image, i).Set(InputRecord::RestrArmMode, CheckBoxRestrArmMode[i]->isChecked());
    for (int row = 1; row <= KeyRows; ++row) {
        const FieldView key = RecordView<TouchKeyRecord>(image, row - 1);
        key.Set(TouchKeyRecord::Code, KeyCode(StringGrid1->Cell(1, row)));
        key.Set(TouchKeyRecord::Name, StringGrid1->Cell(2, row));
    }
}

void PageArmIn::ShowPage(int, ControllerConfig &config)
{
    ConfigImage &image = config.ConfigImage;
    const ConstFieldView perimeter = RecordView<PerimeterRecord>(std::as_const(image), 0);
    UpDownDelayARM->SetPosition(int(perimeter.Get(PerimeterRecord::DelayARM)));
    perimeter_.Show(perimeter);
    for (int i = 0; i < 8; ++i)
        CheckBoxRestrArmMode[i]->setChecked(RecordView<InputRecord>(std::as_const(image), i).Get(InputRecord::RestrArmMode));
    for (int row = 1; row <= KeyRows; ++row) {
        const FieldView key = RecordView<TouchKeyRecord>(image, row - 1);
        const quint64 code = key.Get(TouchKeyRecord::Code);
        if (code != 0) {
            key.Terminate(TouchKeyRecord::Name);
            StringGrid1->SetCell(1, row, KeyCodeText(code));
            StringGrid1->SetCell(2, row, key.Get(TouchKeyRecord::Name));
        } else {
            StringGrid1->SetCell(1, row, FreeKeyCode);
            StringGrid1->SetCell(2, row, QString());
        }
    }
}

QString PageArmIn::StringGrid1GetEditMask(int col, int) const
{
    if (col == 1)
        return QStringLiteral("!>aaaaaaaaaaaaaaaa;1; ");
    if (col == 2)
        return QStringLiteral("aaaaaaaaaaaaaaaa;0; ");
    return {};
}

void PageArmIn::StringGrid1SelectCell(int col, int)
{
    StringGrid1->SetEditing(col == 1 || col == 2);
}

void PageArmIn::StringGrid1RowMoved(int, int)
{
    for (int row = 1; row <= KeyRows; ++row)
        StringGrid1->SetCell(0, row, QString::number(row));
    StringGrid1TopLeftChanged();
}

void PageArmIn::StringGrid1TopLeftChanged() {}

void PageArmIn::EditDelayARMChange()
{
    FollowTypedPosition(UpDownDelayARM);
}

void PageArmIn::LearnTouchKey(const QString &code)
{
    const FormTexts &t = texts();
    for (int row = 1; row <= KeyRows; ++row) {
        if (StringGrid1->Cell(1, row) == code) {
            LabelTouchActionDiscription->setText(t.KeyKnownPrefix + code + t.KeyKnownSuffix);
            return;
        }
    }
    for (int row = 1; row <= KeyRows; ++row) {
        if (StringGrid1->Cell(1, row) == FreeKeyCode) {
            StringGrid1->SetCell(1, row, code);
            StringGrid1->SetCell(2, row, QStringLiteral("KEY") + QString::number(row));
            LabelTouchActionDiscription->clear();
            return;
        }
    }
    LabelTouchActionDiscription->setText(t.KeyTableFullText);
}

void PageArmIn::MarkKeyRead(bool read)
{
    for (QLabel *label : {Label21, Label163}) {
        if (read) {
            SetFaceColour(label, QColor(255, 0, 0));
        } else {
            label->setPalette(QPalette());
            label->setAutoFillBackground(false);
        }
    }
}
