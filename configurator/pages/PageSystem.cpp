#include "PageSystem.h"
#include "TextRules.h"

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
    Label86 = Label(QStringLiteral("Label86"), context.NodeText(24), this);
    QWidget *body = ScrollBody(this, Label86);

    // The parameter controls, and the overlay over them in the same cell.
    auto *parameters = new QWidget(body);
    auto *stack = new QGridLayout;
    stack->addWidget(parameters, 0, 0);

    GroupBox24 = GroupBox(QStringLiteral("GroupBox24"), QStringLiteral("Коррекция хода часов"), parameters);
    {
        auto *layout = new QGridLayout(GroupBox24);
        Label106 = Label(QStringLiteral("Label106"), QStringLiteral("Значение коррекции"), GroupBox24);
        EditCALVAL = new QLineEdit(GroupBox24);
        EditCALVAL->setObjectName(QStringLiteral("EditCALVAL"));
        Label107 = Label(QStringLiteral("Label107"), QStringLiteral("Направление коррекции"), GroupBox24);
        ComboBoxCALDIR = ComboBox(QStringLiteral("ComboBoxCALDIR"),
                                  {QStringLiteral("добавить 1 секунду"), QStringLiteral("вычесть 1 секунду")},
                                  GroupBox24);
        layout->addWidget(Label106, 0, 0);
        layout->addWidget(EditCALVAL, 0, 1);
        layout->addWidget(Label107, 1, 0);
        layout->addWidget(ComboBoxCALDIR, 1, 1);
        layout->setColumnStretch(1, 1);
    }
    GroupBox41 = GroupBox(QStringLiteral("GroupBox41"), QStringLiteral("Тип аккумулятора"), parameters);
    {
        auto *layout = new QVBoxLayout(GroupBox41);
        ComboBoxBatteryType = ComboBox(QStringLiteral("ComboBoxBatteryType"),
                                       {QStringLiteral("Литий-фосфатная LiFePO4 - (12В; 1,3 А/ч)"),
                                        QStringLiteral("Свинцово-кислотная Pb (12В; от 3,5 А/ч)")},
                                       GroupBox41);
        layout->addWidget(ComboBoxBatteryType);
    }
    CheckBoxFWUpdateEnable =
        CheckBox(QStringLiteral("CheckBoxFWUpdateEnable"),
                 QStringLiteral("Разрешить вход в режим обновления микропрограммы GSM модуля"), parameters);
    CheckBoxCRCCheckDisable =
        CheckBox(QStringLiteral("CheckBoxCRCCheckDisable"), QStringLiteral("Отключить проверку CRC"), parameters);
    {
        auto *layout = new QVBoxLayout(parameters);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(GroupBox24);
        layout->addWidget(GroupBox41);
        layout->addWidget(CheckBoxFWUpdateEnable);
        layout->addWidget(CheckBoxCRCCheckDisable);
        layout->addStretch(1);
    }

    Panel13 = new QFrame(body);
    Panel13->setObjectName(QStringLiteral("Panel13"));
    Panel13->setFrameShape(QFrame::StyledPanel);
    Panel13->setAutoFillBackground(true);
    {
        auto *layout = new QVBoxLayout(Panel13);
        Label108 = Label(QStringLiteral("Label108"), QStringLiteral("Внимание!"), Panel13);
        Label110 = Label(QStringLiteral("Label110"),
                         QStringLiteral("Системные параметры определяют работу контроллера на низком уровне. "
                                        "Неверные значения могут нарушить его работу."),
                         Panel13);
        Label109 = Label(QStringLiteral("Label109"),
                         QStringLiteral("Изменяйте их только по указанию технической поддержки."), Panel13);
        for (QLabel *label : {Label108, Label110, Label109}) {
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignCenter);
            layout->addWidget(label);
        }
        layout->addStretch(1);
    }
    stack->addWidget(Panel13, 0, 0);
    Panel13->raise();

    Button1 = Button(QStringLiteral("Button1"), QStringLiteral("Разрешить редактирование"), body);
    connect(Button1, &QPushButton::clicked, this, &PageSystem::Button1Click);

    LabelSysParMsg = Label(QStringLiteral("LabelSysParMsg"), QString(), body);
    LabelSysParMsg->setWordWrap(true);
    ProgressBarSysPar = new QProgressBar(body);
    ProgressBarSysPar->setObjectName(QStringLiteral("ProgressBarSysPar"));
    ProgressBarSysPar->setRange(0, 100);
    ProgressBarSysPar->setValue(0);
    BitBtnReadSysPar = Button(QStringLiteral("BitBtnReadSysPar"), QStringLiteral("Считать"), body);
    BitBtnProgSysPar = Button(QStringLiteral("BitBtnProgSysPar"), QStringLiteral("Программировать"), body);
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
    // A typed number: the trimmed text goes back into the edit.
    const QString typed = EditCALVAL->text().trimmed();
    EditCALVAL->setText(typed);
    parameters.SetNumber(SystemParameterFields::CALVAL, TypedInteger(typed));
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
