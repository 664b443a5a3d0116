#include "configurator/pages/PageInputs.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/WiringPictures.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace pagectl;

PageInputs::PageInputs(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel7"), parent)
{
    const QString twoBlankSec = QStringLiteral("  Sec.");
    GroupBox45 = GroupBox(this, QStringLiteral("GroupBox45"), QStringLiteral("Сканирование входов"));
    Label162 = Label(GroupBox45, QStringLiteral("Label162"),
                     QStringLiteral("Не сканировать входы после постановки на охрану"));
    ComboBoxNoScaningTimeAftArm =
        ComboBox(GroupBox45, QStringLiteral("ComboBoxNoScaningTimeAftArm"), Numbers(0, 10, 16, twoBlankSec));
    QStringList afterReset = Numbers(0, 15, 8, twoBlankSec);
    afterReset[0] = QStringLiteral("0 Sec.");
    ComboBoxNoScaningTimeAftReset = ComboBox(GroupBox45, QStringLiteral("ComboBoxNoScaningTimeAftReset"), afterReset);
    auto *scan = new QGridLayout(GroupBox45);
    scan->addWidget(Label162, 0, 0);
    scan->addWidget(ComboBoxNoScaningTimeAftArm, 0, 1);
    scan->addWidget(new QLabel(QStringLiteral("Не сканировать входы после сброса контроллера"), GroupBox45), 1, 0);
    scan->addWidget(ComboBoxNoScaningTimeAftReset, 1, 1);
    scan->setColumnStretch(0, 1);

    GroupBox17 = GroupBox(this, QStringLiteral("GroupBox17"), QStringLiteral("Порт питания датчиков (10VS)"));
    Label82 = Label(GroupBox17, QStringLiteral("Label82"), QStringLiteral("Питание датчиков"));
    ComboBoxPortPwrSensAllOn = ComboBox(GroupBox17, QStringLiteral("ComboBoxPortPwrSensAllOn"),
                                        {QStringLiteral("Зависит от режима (Охрана - включен, Наблюдение - выключен)"),
                                         QStringLiteral("Питание всегда подано")});
    auto *port = new QGridLayout(GroupBox17);
    port->addWidget(Label82, 0, 0);
    port->addWidget(ComboBoxPortPwrSensAllOn, 0, 1);
    port->setColumnStretch(1, 1);

    GroupBox18 = GroupBox(this, QStringLiteral("GroupBox18"), QStringLiteral("Питание по шлейфу со сбросом"));
    Label96 = Label(GroupBox18, QStringLiteral("Label96"), QStringLiteral("Время сброса питания шлейфа"));
    ComboBoxLoopPwrResetTime =
        ComboBox(GroupBox18, QStringLiteral("ComboBoxLoopPwrResetTime"), Numbers(10, 10, 8, twoBlankSec));
    auto *loop = new QGridLayout(GroupBox18);
    loop->addWidget(Label96, 0, 0);
    loop->addWidget(ComboBoxLoopPwrResetTime, 0, 1);
    loop->setColumnStretch(1, 1);

    ImageQRV240Ins = Label(this, QStringLiteral("ImageQRV240Ins"), QString());
    ImageQRV240Ins->setPicture(InputWiringPicture());
    ImageQRV240Ins->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ImageQRV240Ins->setVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox45);
    layout->addWidget(GroupBox17);
    layout->addWidget(GroupBox18);
    layout->addWidget(ImageQRV240Ins, 1);

    using F = InputCommonFields;
    fields_.Bind(ComboBoxNoScaningTimeAftReset, F::NoScaningTimeAftReset);
    fields_.Bind(ComboBoxPortPwrSensAllOn, F::PortPwrSensAllOn);
    fields_.Bind(ComboBoxNoScaningTimeAftArm, F::NoScaningTimeAftArm);
    fields_.Bind(ComboBoxLoopPwrResetTime, F::LoopPwrResetTime);
}

void PageInputs::Enter(int page)
{
    GroupBox17->setVisible(false);
    GroupBox18->setVisible(false);
    ImageQRV240Ins->setVisible(true);
    ConfigPage::Enter(page);
}

void PageInputs::StorePage(int page, ControllerConfig &config)
{
    if (page != Pages::Inputs)
        return;
    fields_.Store(View(config.ConfigImage));
}

void PageInputs::ShowPage(int page, ControllerConfig &config)
{
    if (page != Pages::Inputs)
        return;
    fields_.Show(View(std::as_const(config.ConfigImage)));
}
