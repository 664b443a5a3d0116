#include "configurator/pages/PageLargerModel.h"
#include "configurator/pages/PageControls.h"
#include "toolkit/widgets/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace pagectl;

PageLargerModel::PageLargerModel(PageContext &context, QWidget *parent)
    : ConfigPage(context, QStringLiteral("PanelLargerModel"), parent)
{
    auto *layout = new QVBoxLayout(this);

    GroupBox46 = GroupBox(this, QStringLiteral("GroupBox46"), QStringLiteral("Управление периметром"));
    {
        auto *grid = new QGridLayout(GroupBox46);
        Label164 = Label(GroupBox46, QStringLiteral("Label164"), QStringLiteral("Периметр"));
        RadioButtonPerimPulsAD =
            RadioButton(GroupBox46, QStringLiteral("RadioButtonPerimPulsAD"), QStringLiteral("Импульсом"));
        RadioButtonPerimPulsARM =
            RadioButton(GroupBox46, QStringLiteral("RadioButtonPerimPulsARM"), QStringLiteral("Импульсом"));
        Label192 = Label(GroupBox46, QStringLiteral("Label192"), QStringLiteral("Задержка постановки, сек."));
        Label166 = Label(GroupBox46, QStringLiteral("Label166"), QStringLiteral("Ключом TouchMemory"));
        RadioButtonPerimTouchAD =
            RadioButton(GroupBox46, QStringLiteral("RadioButtonPerimTouchAD"), QStringLiteral("Ключом TouchMemory"));
        Label165 = Label(GroupBox46, QStringLiteral("Label165"), QStringLiteral("Ключи периметра"));
        LabelRedirectToOut =
            Label(GroupBox46, QStringLiteral("LabelRedirectToOut"), QStringLiteral("Перенаправить на выход"));
        StringGridPerimTouch = Make<TStringGrid>(GroupBox46, QStringLiteral("StringGridPerimTouch"));
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
        GroupBox(this, QStringLiteral("GroupBoxLinkedInsToPers"), QStringLiteral("Входы, принадлежащие периметру"));
    {
        auto *grid = new QGridLayout(GroupBoxLinkedInsToPers);
        for (int i = 0; i < 16; ++i) {
            const QString number = QString::number(i + 1);
            CheckBoxInputLinkType[i] =
                CheckBox(GroupBoxLinkedInsToPers, QStringLiteral("CheckBoxInput%1LinkType").arg(i + 1),
                         QStringLiteral("Вх.") + number);
            grid->addWidget(CheckBoxInputLinkType[i], i / 8, i % 8);
        }
    }
    layout->addWidget(GroupBoxLinkedInsToPers);

    const ReactionRows countdown =
        ReactionGroup(this, QStringLiteral("GroupBox48"), QStringLiteral("Начат обратный отсчет"),
                      {"Label175", "Label174", "Label176", "Label177", "Label178", "Label179", "Label180"},
                      QStringLiteral("ComboBoxPCDtoRele"), OutputCount, texts());
    const ReactionRows arm =
        ReactionGroup(this, QStringLiteral("GroupBox49"), QStringLiteral("Переход в режим ОХРАНА"),
                      {"Label182", "Label181", "Label183", "Label184", "Label185", "Label186", "Label187"},
                      QStringLiteral("ComboBoxPArmToRele"), OutputCount, texts());
    const ReactionRows disarm =
        ReactionGroup(this, QStringLiteral("GroupBox47"), QStringLiteral("Переход в режим НАБЛЮДЕНИЕ"),
                      {"Label168", "Label167", "Label169", "Label170", "Label171", "Label172", "Label173"},
                      QStringLiteral("ComboBoxPDisarmToRele"), OutputCount, texts());
    GroupBox48 = countdown.box;
    GroupBox49 = arm.box;
    GroupBox47 = disarm.box;
    ComboBoxPCDtoRele = countdown.combos;
    ComboBoxPArmToRele = arm.combos;
    ComboBoxPDisarmToRele = disarm.combos;
    for (QGroupBox *box : {GroupBox48, GroupBox49, GroupBox47})
        layout->addWidget(box);

    Label69 = Label(this, QStringLiteral("Label69"), context.NodeText(Pages::Inputs));
    layout->addWidget(Label69);
    hide();
}

bool PageLargerModel::HasValues(int) const
{
    return false;
}
