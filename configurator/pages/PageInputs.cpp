#include "PageInputs.h"
#include "IoPageSupport.h"
#include "WiringPictures.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace iopage;

namespace {

// n = 0..count-1 gives (n + first) * step, each followed by unit.
QStringList Seconds(int count, int first, int step, const QString &unit)
{
    QStringList items;
    for (int n = 0; n < count; ++n)
        items << QString::number((n + first) * step) + unit;
    return items;
}

} // namespace

PageInputs::PageInputs(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel7"), parent)
{
    const QString twoBlankSec = QStringLiteral("  Sec.");
    GroupBox45 = NewGroupBox(this, QStringLiteral("GroupBox45"), QStringLiteral("Сканирование входов"));
    Label162 = NewLabel(GroupBox45, QStringLiteral("Label162"), QStringLiteral("Не сканировать входы после постановки на охрану"));
    ComboBoxNoScaningTimeAftArm = NewComboBox(GroupBox45, QStringLiteral("ComboBoxNoScaningTimeAftArm"),
                                              Seconds(16, 0, 10, twoBlankSec));
    QStringList afterReset = Seconds(8, 0, 15, twoBlankSec);
    afterReset[0] = QStringLiteral("0 Sec.");
    ComboBoxNoScaningTimeAftReset =
        NewComboBox(GroupBox45, QStringLiteral("ComboBoxNoScaningTimeAftReset"), afterReset);
    auto *scan = new QGridLayout(GroupBox45);
    scan->addWidget(Label162, 0, 0);
    scan->addWidget(ComboBoxNoScaningTimeAftArm, 0, 1);
    scan->addWidget(new QLabel(QStringLiteral("Не сканировать входы после сброса контроллера"), GroupBox45), 1, 0);
    scan->addWidget(ComboBoxNoScaningTimeAftReset, 1, 1);
    scan->setColumnStretch(0, 1);

    GroupBox17 = NewGroupBox(this, QStringLiteral("GroupBox17"), QStringLiteral("Порт питания датчиков (10VS)"));
    Label82 = NewLabel(GroupBox17, QStringLiteral("Label82"), QStringLiteral("Питание датчиков"));
    ComboBoxPortPwrSensAllOn = NewComboBox(GroupBox17, QStringLiteral("ComboBoxPortPwrSensAllOn"),
                                           {QStringLiteral("Зависит от режима (Охрана - включен, Наблюдение - выключен)"),
                                            QStringLiteral("Питание всегда подано")});
    auto *port = new QGridLayout(GroupBox17);
    port->addWidget(Label82, 0, 0);
    port->addWidget(ComboBoxPortPwrSensAllOn, 0, 1);
    port->setColumnStretch(1, 1);

    GroupBox18 = NewGroupBox(this, QStringLiteral("GroupBox18"), QStringLiteral("Питание по шлейфу со сбросом"));
    Label96 = NewLabel(GroupBox18, QStringLiteral("Label96"), QStringLiteral("Время сброса питания шлейфа"));
    ComboBoxLoopPwrResetTime = NewComboBox(GroupBox18, QStringLiteral("ComboBoxLoopPwrResetTime"),
                                           Seconds(8, 1, 10, twoBlankSec));
    auto *loop = new QGridLayout(GroupBox18);
    loop->addWidget(Label96, 0, 0);
    loop->addWidget(ComboBoxLoopPwrResetTime, 0, 1);
    loop->setColumnStretch(1, 1);

    ImageQRV240Ins = NewLabel(this, QStringLiteral("ImageQRV240Ins"), QString());
    ImageQRV240Ins->setPicture(InputWiringPicture());
    ImageQRV240Ins->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ImageQRV240Ins->setVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox45);
    layout->addWidget(GroupBox17);
    layout->addWidget(GroupBox18);
    layout->addWidget(ImageQRV240Ins, 1);
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
    if (page != Page)
        return;
    using F = InputCommonFields;
    const FieldView image = View(config.ConfigImage);
    image.Set(F::NoScaningTimeAftReset, ComboBoxNoScaningTimeAftReset->currentIndex());
    image.Set(F::PortPwrSensAllOn, ComboBoxPortPwrSensAllOn->currentIndex());
    image.Set(F::NoScaningTimeAftArm, ComboBoxNoScaningTimeAftArm->currentIndex());
    image.Set(F::LoopPwrResetTime, ComboBoxLoopPwrResetTime->currentIndex());
}

void PageInputs::ShowPage(int page, ControllerConfig &config)
{
    if (page != Page)
        return;
    using F = InputCommonFields;
    const ConstFieldView image = View(std::as_const(config.ConfigImage));
    ShowIndex(ComboBoxNoScaningTimeAftReset, image.Get(F::NoScaningTimeAftReset));
    ShowIndex(ComboBoxPortPwrSensAllOn, image.Get(F::PortPwrSensAllOn));
    ShowIndex(ComboBoxNoScaningTimeAftArm, image.Get(F::NoScaningTimeAftArm));
    ShowIndex(ComboBoxLoopPwrResetTime, image.Get(F::LoopPwrResetTime));
}
