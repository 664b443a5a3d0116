#include "PageLargerModel.h"
#include "PageKit.h"
#include "StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace pagectl;

namespace {

QRadioButton *RadioButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

PageLargerModel::PageLargerModel(PageContext &context, QWidget *parent)
    : ConfigPage(context, QStringLiteral("PanelLargerModel"), parent)
{
    auto *layout = new QVBoxLayout(this);

    GroupBox46 = GroupBox(QStringLiteral("GroupBox46"), QStringLiteral("Управление периметром"), this);
    {
        auto *grid = new QGridLayout(GroupBox46);
        Label164 = Label(QStringLiteral("Label164"), QStringLiteral("Периметр"), GroupBox46);
        RadioButtonPerimPulsAD =
            RadioButton(QStringLiteral("RadioButtonPerimPulsAD"), QStringLiteral("Импульсом"), GroupBox46);
        RadioButtonPerimPulsARM =
            RadioButton(QStringLiteral("RadioButtonPerimPulsARM"), QStringLiteral("Импульсом"), GroupBox46);
        Label192 = Label(QStringLiteral("Label192"), QStringLiteral("Задержка постановки, сек."), GroupBox46);
        Label166 = Label(QStringLiteral("Label166"), QStringLiteral("Ключом TouchMemory"), GroupBox46);
        RadioButtonPerimTouchAD =
            RadioButton(QStringLiteral("RadioButtonPerimTouchAD"), QStringLiteral("Ключом TouchMemory"), GroupBox46);
        Label165 = Label(QStringLiteral("Label165"), QStringLiteral("Ключи периметра"), GroupBox46);
        LabelRedirectToOut = Label(QStringLiteral("LabelRedirectToOut"), QStringLiteral("Перенаправить на выход"),
                                   GroupBox46);
        StringGridPerimTouch = new TStringGrid(GroupBox46);
        StringGridPerimTouch->setObjectName(QStringLiteral("StringGridPerimTouch"));
        StringGridPerimTouch->SetColCount(4);
        StringGridPerimTouch->SetRowCount(TouchKeyRecord::Count + 1);
        StringGridPerimTouch->SetCell(0, 0, QStringLiteral("#"));
        StringGridPerimTouch->SetCell(1, 0, QStringLiteral("L"));
        StringGridPerimTouch->SetCell(2, 0, QStringLiteral("Код ключа TOUCH"));
        StringGridPerimTouch->SetCell(3, 0, QStringLiteral("Имя пользователя"));
        int row = 0;
        for (QWidget *w : std::initializer_list<QWidget *>{Label164, RadioButtonPerimPulsAD, RadioButtonPerimPulsARM,
                                                           Label192, Label166, RadioButtonPerimTouchAD, Label165,
                                                           LabelRedirectToOut, StringGridPerimTouch})
            grid->addWidget(w, row++, 0);
    }
    layout->addWidget(GroupBox46);

    GroupBoxLinkedInsToPers =
        GroupBox(QStringLiteral("GroupBoxLinkedInsToPers"), QStringLiteral("Входы, принадлежащие периметру"), this);
    {
        auto *grid = new QGridLayout(GroupBoxLinkedInsToPers);
        for (int i = 0; i < 16; ++i) {
            const QString number = QString::number(i + 1);
            CheckBoxInputLinkType[i] = CheckBox(QStringLiteral("CheckBoxInput%1LinkType").arg(i + 1),
                                                QStringLiteral("Вх.") + number, GroupBoxLinkedInsToPers);
            grid->addWidget(CheckBoxInputLinkType[i], i / 8, i % 8);
        }
    }
    layout->addWidget(GroupBoxLinkedInsToPers);

    const ReactionRows countdown = ReactionGroup(
        QStringLiteral("GroupBox48"), QStringLiteral("Начат обратный отсчет"),
        {"Label175", "Label174", "Label176", "Label177", "Label178", "Label179", "Label180"},
        QStringLiteral("ComboBoxPCDtoRele"), OutputCount, texts(), this);
    const ReactionRows arm = ReactionGroup(
        QStringLiteral("GroupBox49"), QStringLiteral("Переход в режим ОХРАНА"),
        {"Label182", "Label181", "Label183", "Label184", "Label185", "Label186", "Label187"},
        QStringLiteral("ComboBoxPArmToRele"), OutputCount, texts(), this);
    const ReactionRows disarm = ReactionGroup(
        QStringLiteral("GroupBox47"), QStringLiteral("Переход в режим НАБЛЮДЕНИЕ"),
        {"Label168", "Label167", "Label169", "Label170", "Label171", "Label172", "Label173"},
        QStringLiteral("ComboBoxPDisarmToRele"), OutputCount, texts(), this);
    GroupBox48 = countdown.box;
    GroupBox49 = arm.box;
    GroupBox47 = disarm.box;
    ComboBoxPCDtoRele = countdown.combos;
    ComboBoxPArmToRele = arm.combos;
    ComboBoxPDisarmToRele = disarm.combos;
    for (QGroupBox *box : {GroupBox48, GroupBox49, GroupBox47})
        layout->addWidget(box);

    Label69 = Label(QStringLiteral("Label69"), context.NodeText(13), this);
    layout->addWidget(Label69);
    hide();
}

bool PageLargerModel::HasValues(int) const
{
    return false;
}
