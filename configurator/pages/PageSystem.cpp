#include "configurator/pages/PageSystem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

using namespace pagectl;

PageSystem::PageSystem(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel11"), parent)
{
    Label86 = Title(this, QStringLiteral("Label86"), context.NodeText(Pages::SystemParameters));
    QWidget *body = ScrollBody(this, Label86);

    // The parameter controls, and the overlay over them in the same cell.
    auto *parameters = new QWidget(body);
    auto *stack = new QGridLayout;
    stack->addWidget(parameters, 0, 0);

    GroupBox24 = GroupBox(parameters, QStringLiteral("GroupBox24"), QStringLiteral("Коррекция хода часов"));
    {
        auto *layout = new QGridLayout(GroupBox24);
        Label106 = Label(GroupBox24, QStringLiteral("Label106"), QStringLiteral("Значение коррекции"));
        EditCALVAL = Edit(GroupBox24, QStringLiteral("EditCALVAL"));
        Label107 = Label(GroupBox24, QStringLiteral("Label107"), QStringLiteral("Направление коррекции"));
        ComboBoxCALDIR = ComboBox(GroupBox24, QStringLiteral("ComboBoxCALDIR"),
                                  {QStringLiteral("добавить 1 секунду"), QStringLiteral("вычесть 1 секунду")});
        layout->addWidget(Label106, 0, 0);
        layout->addWidget(EditCALVAL, 0, 1);
        layout->addWidget(Label107, 1, 0);
        layout->addWidget(ComboBoxCALDIR, 1, 1);
        layout->setColumnStretch(1, 1);
    }
    GroupBox41 = GroupBox(parameters, QStringLiteral("GroupBox41"), QStringLiteral("Тип аккумулятора"));
    {
        auto *layout = new QVBoxLayout(GroupBox41);
        ComboBoxBatteryType = ComboBox(GroupBox41, QStringLiteral("ComboBoxBatteryType"),
                                       {QStringLiteral("Литий-фосфатная LiFePO4 - (12В; 1,3 А/ч)"),
                                        QStringLiteral("Свинцово-кислотная Pb (12В; от 3,5 А/ч)")});
        layout->addWidget(ComboBoxBatteryType);
    }
    CheckBoxFWUpdateEnable = CheckBox(parameters, QStringLiteral("CheckBoxFWUpdateEnable"),
                                      QStringLiteral("Разрешить вход в режим обновления микропрограммы GSM модуля"));
    CheckBoxCRCCheckDisable =
        CheckBox(parameters, QStringLiteral("CheckBoxCRCCheckDisable"), QStringLiteral("Отключить проверку CRC"));
    {
        auto *layout = new QVBoxLayout(parameters);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(GroupBox24);
        layout->addWidget(GroupBox41);
        layout->addWidget(CheckBoxFWUpdateEnable);
        layout->addWidget(CheckBoxCRCCheckDisable);
        layout->addStretch(1);
    }

    Panel13 = Make<QFrame>(body, QStringLiteral("Panel13"));
    Panel13->setFrameShape(QFrame::StyledPanel);
    Panel13->setAutoFillBackground(true);
    {
        auto *layout = new QVBoxLayout(Panel13);
        Label108 = Label(Panel13, QStringLiteral("Label108"), QStringLiteral("Внимание!"));
        Label110 = Label(Panel13, QStringLiteral("Label110"),
                         QStringLiteral("Системные параметры определяют работу контроллера на низком уровне. "
                                        "Неверные значения могут нарушить его работу."));
        Label109 = Label(Panel13, QStringLiteral("Label109"),
                         QStringLiteral("Изменяйте их только по указанию технической поддержки."));
        for (QLabel *label : {Label108, Label110, Label109}) {
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignCenter);
            layout->addWidget(label);
        }
        layout->addStretch(1);
    }
    stack->addWidget(Panel13, 0, 0);
    Panel13->raise();

    Button1 = Button(body, QStringLiteral("Button1"), QStringLiteral("Разрешить редактирование"));
    connect(Button1, &QPushButton::clicked, this, &PageSystem::Button1Click);

    LabelSysParMsg = Label(body, QStringLiteral("LabelSysParMsg"), QString());
    LabelSysParMsg->setWordWrap(true);
    ProgressBarSysPar = Make<QProgressBar>(body, QStringLiteral("ProgressBarSysPar"));
    ProgressBarSysPar->setRange(0, 100);
    ProgressBarSysPar->setValue(0);
    BitBtnReadSysPar = Button(body, QStringLiteral("BitBtnReadSysPar"), QStringLiteral("Считать"));
    BitBtnProgSysPar = Button(body, QStringLiteral("BitBtnProgSysPar"), QStringLiteral("Программировать"));
    BitBtnProgSysPar->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(BitBtnReadSysPar);
    buttons->addWidget(BitBtnProgSysPar);
    auto *layout = new QVBoxLayout(body);
    layout->addLayout(stack);
    layout->addLayout(buttons);
    layout->addWidget(ProgressBarSysPar);
    layout->addWidget(LabelSysParMsg);
    layout->addStretch(1);

    fields_.Bind(ComboBoxCALDIR, SystemParameterFields::CALDIR);
    fields_.Bind(ComboBoxBatteryType, SystemParameterFields::BatteryType);
    fields_.Bind(CheckBoxFWUpdateEnable, SystemParameterFields::FWUpdateEnable);
    fields_.Bind(CheckBoxCRCCheckDisable, SystemParameterFields::CRCCheckDisable);
}

void PageSystem::StorePage(int, ControllerConfig &config)
{
    const FieldView parameters = View(config.SystemParameters);
    StoreNumber(parameters, SystemParameterFields::CALVAL, EditCALVAL);
    fields_.Store(parameters);
}

void PageSystem::ShowPage(int, ControllerConfig &config)
{
    const ConstFieldView parameters = View(std::as_const(config.SystemParameters));
    EditCALVAL->setText(QString::number(parameters.Get(SystemParameterFields::CALVAL)));
    fields_.Show(parameters);
}

void PageSystem::Button1Click()
{
    Panel13->hide();
    Button1->setEnabled(false);
}
