#include "configurator/pages/PagePower.h"
#include "configurator/pages/WrapLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

using namespace pagectl;

namespace {

// The reaction levels hold 89 - the item index: items 89 down to -39 degrees.
constexpr int TopLevel = 89;
constexpr int LevelCount = 129;

// Discharge bars: position p stands for 100 - p percent.
constexpr int FirstBorderMinPosition = 10;
// Notification borders of the board temperature, degrees.
constexpr int HiBorderMin = -30, HiBorderMax = 82;
constexpr int LowBorderMin = -32, LowBorderMax = 80;
constexpr int BorderGap = 2;

const QString Degrees = QStringLiteral("° C");

QStringList TemperatureLevels()
{
    QStringList items;
    for (int n = TopLevel; n > TopLevel - LevelCount; --n)
        items << QString::number(n) + Degrees;
    return items;
}

// 2, 4, .. 256 followed by the unit.
QStringList PowersOfTwo(const QString &unit)
{
    QStringList items;
    for (int n = 0; n < 8; ++n)
        items << QString::number(2 << n) + unit;
    return items;
}

QSlider *TrackBar(QWidget *parent, const QString &name, Qt::Orientation orientation, int min, int max)
{
    auto *bar = new QSlider(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setTickPosition(QSlider::TicksBelow);
    if (orientation == Qt::Vertical)
        bar->setInvertedAppearance(true); // position 0 at the top
    return bar;
}

} // namespace

PagePower::PagePower(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel3"), parent)
{
    Label23 = Title(this, QStringLiteral("Label23"), context.NodeText(Pages::Power));
    QWidget *body = ScrollBody(this, Label23);
    BuildPower(body);
    BuildBattery(body);
    BuildTemperature(body);
    BuildTamperAndIndication(body);

    auto *columns = new WrapLayout(body);
    auto *left = new QVBoxLayout;
    left->addWidget(GroupBox9);
    left->addWidget(GroupBox1, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(GroupBox29);
    right->addWidget(GroupBox42);
    right->addWidget(GroupBox23);
    right->addStretch(1);
    columns->addLayout(left);
    columns->addLayout(right);

    fields_.Bind(CheckBoxExtPowerFault, PowerFields::ExtPowerFault);
    fields_.Bind(CheckBoxExtPowerRec, PowerFields::ExtPowerRec);
    fields_.Bind(ComboBoxPowerSignAverTime, PowerFields::PowerSignAverTime);
    fields_.Bind(ComboBoxRecoveryTime, PowerFields::RecoveryTime);
    fields_.Bind(CheckBoxAsFaultSendGPSPos, PowerFields::AsFaultSendGPSPos);
    fields_.Bind(CheckBoxBatteryDischargeWarnEventEn, PowerFields::BatteryDischargeWarnEventEn);
    fields_.Bind(CheckBoxBatteryDischargeAlarmEventEn, PowerFields::BatteryDischargeAlarmEventEn);
    fields_.Bind(CheckBoxAsDischargeSendGPSPos, PowerFields::AsDischargeSendGPSPos);
    fields_.Bind(ComboBoxIndFunction, PowerFields::IndFunction);
    fields_.Bind(CheckBoxAlarmBlinking, PowerFields::AlarmBlinking);
    fields_.Bind(CheckBoxDisableLedsAtCoverClose, PowerFields::DisableLedsAtCoverClose);
    fields_.Bind(CheckBoxShowActiveInsToArmOut, PowerFields::ShowActiveInsToArmOut);
    fields_.Bind(CheckBoxTemperatureEvent, PowerFields::TemperatureEvent);
    fields_.Bind(ComboBoxHiBorderOut, PowerFields::HiBorderOut);
    fields_.Bind(ComboBoxHiBorderScn, PowerFields::HiBorderScn);
    fields_.Bind(ComboBoxLoBorderOut, PowerFields::LoBorderOut);
    fields_.Bind(ComboBoxLoBorderScn, PowerFields::LoBorderScn);
    fields_.Bind(CheckBoxTamperEnable, PowerFields::TamperEnable);
    fields_.Bind(ComboBoxTamperActOutN, PowerFields::TamperActOutN);
    fields_.Bind(ComboBoxTamperActScnN, PowerFields::TamperActScnN);

    connect(TrackBarDischargeWarn, &QSlider::valueChanged, this, &PagePower::TrackBarDischargeWarnChange);
    connect(TrackBarDischargeAlarm, &QSlider::valueChanged, this, &PagePower::TrackBarDischargeAlarmChange);
    connect(TrackBarTemperatHiBorder, &QSlider::valueChanged, this, &PagePower::TrackBarTemperatHiBorderChange);
    connect(TrackBarTemperatLowBorder, &QSlider::valueChanged, this, &PagePower::TrackBarTemperatLowBorderChange);
    connect(ComboBoxHiBorderLevel, &QComboBox::currentIndexChanged, this, &PagePower::ComboBoxHiBorderLevelChange);
    connect(ComboBoxLoBorderLevel, &QComboBox::currentIndexChanged, this, &PagePower::ComboBoxLoBorderLevelChange);

    // The positions of the default image, with their labels.
    TrackBarDischargeWarn->setValue(60);
    TrackBarDischargeAlarm->setValue(80);
    TrackBarTemperatLowBorder->setValue(-25);
    TrackBarTemperatHiBorder->setValue(60);
    TrackBarDischargeWarnChange();
    TrackBarDischargeAlarmChange();
    TrackBarTemperatHiBorderChange();
    TrackBarTemperatLowBorderChange();
}

void PagePower::BuildPower(QWidget *body)
{
    GroupBox9 = GroupBox(body, QStringLiteral("GroupBox9"), QStringLiteral("Основное питание"));
    auto *layout = new QGridLayout(GroupBox9);
    CheckBoxExtPowerFault = CheckBox(GroupBox9, QStringLiteral("CheckBoxExtPowerFault"),
                                     QStringLiteral("Сообщение при отключении основного питания"));
    CheckBoxExtPowerRec = CheckBox(GroupBox9, QStringLiteral("CheckBoxExtPowerRec"),
                                   QStringLiteral("Сообщение при восстановлении основного питания"));
    CheckBoxAsFaultSendGPSPos =
        CheckBox(GroupBox9, QStringLiteral("CheckBoxAsFaultSendGPSPos"), QStringLiteral("Передавать информацию GPS"));
    CheckBoxAsFaultSendGPSPos->hide();
    Label2 = Label(GroupBox9, QStringLiteral("Label2"), QStringLiteral("Время усреднения"));
    ComboBoxPowerSignAverTime =
        ComboBox(GroupBox9, QStringLiteral("ComboBoxPowerSignAverTime"), PowersOfTwo(QStringLiteral(" Sec.")));
    Label3 = Label(GroupBox9, QStringLiteral("Label3"), QStringLiteral("Не чаще одного раза в"));
    ComboBoxRecoveryTime =
        ComboBox(GroupBox9, QStringLiteral("ComboBoxRecoveryTime"), PowersOfTwo(QStringLiteral(" Min.")));

    GroupBox21 = GroupBox(GroupBox9, QStringLiteral("GroupBox21"), QStringLiteral("Текущее значение"));
    auto *current = new QHBoxLayout(GroupBox21);
    ProgressBarMainPower = ProgressBar(GroupBox21, QStringLiteral("ProgressBarMainPower"), 0, 165);
    LabelMainPower = Label(GroupBox21, QStringLiteral("LabelMainPower"), QStringLiteral("--"));
    LabelMainPower->setMinimumWidth(LabelMainPower->fontMetrics().horizontalAdvance(QStringLiteral("00.0 В")) + 4);
    current->addWidget(ProgressBarMainPower, 1);
    current->addWidget(LabelMainPower);

    layout->addWidget(CheckBoxExtPowerFault, 0, 0, 1, 2);
    layout->addWidget(CheckBoxExtPowerRec, 1, 0, 1, 2);
    layout->addWidget(CheckBoxAsFaultSendGPSPos, 2, 0, 1, 2);
    layout->addWidget(Label2, 3, 0);
    layout->addWidget(ComboBoxPowerSignAverTime, 3, 1);
    layout->addWidget(Label3, 4, 0);
    layout->addWidget(ComboBoxRecoveryTime, 4, 1);
    layout->addWidget(GroupBox21, 5, 0, 1, 2);
}

void PagePower::BuildBattery(QWidget *body)
{
    GroupBox1 = GroupBox(body, QStringLiteral("GroupBox1"), QStringLiteral("Аккумулятор"));
    auto *layout = new QGridLayout(GroupBox1);
    Label17 = Label(GroupBox1, QStringLiteral("Label17"), QStringLiteral("0%"));
    ProgressBarBatCharge = ProgressBar(GroupBox1, QStringLiteral("ProgressBarBatCharge"), 0, 100);
    ProgressBarBatCharge->setOrientation(Qt::Vertical);
    LabelBatMsg = Label(GroupBox1, QStringLiteral("LabelBatMsg"), QString());
    LabelBatMsg->setWordWrap(true);
    LabelBatMsg->setMinimumHeight(2 * LabelBatMsg->fontMetrics().lineSpacing() + 2);

    TrackBarDischargeWarn = TrackBar(GroupBox1, QStringLiteral("TrackBarDischargeWarn"), Qt::Vertical, 0, 100);
    TrackBarDischargeAlarm = TrackBar(GroupBox1, QStringLiteral("TrackBarDischargeAlarm"), Qt::Vertical, 0, 100);
    Label4 = Label(GroupBox1, QStringLiteral("Label4"), QString());
    Label14 = Label(GroupBox1, QStringLiteral("Label14"), QString());
    auto *warnCaption = new QLabel(QStringLiteral("Первая граница разряда"), GroupBox1);
    auto *alarmCaption = new QLabel(QStringLiteral("Вторая граница разряда"), GroupBox1);
    for (QLabel *caption : {warnCaption, alarmCaption}) {
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignCenter);
    }
    // The bars keep a readable height whatever the page around them.
    for (QWidget *bar :
         std::initializer_list<QWidget *>{ProgressBarBatCharge, TrackBarDischargeWarn, TrackBarDischargeAlarm})
        bar->setMinimumHeight(8 * fontMetrics().lineSpacing());
    CheckBoxBatteryDischargeWarnEventEn = CheckBox(GroupBox1, QStringLiteral("CheckBoxBatteryDischargeWarnEventEn"),
                                                   QStringLiteral("Сообщение при разряде до первой границы"));
    CheckBoxBatteryDischargeAlarmEventEn = CheckBox(GroupBox1, QStringLiteral("CheckBoxBatteryDischargeAlarmEventEn"),
                                                    QStringLiteral("Сообщение при разряде до второй границы"));
    CheckBoxAsDischargeSendGPSPos = CheckBox(GroupBox1, QStringLiteral("CheckBoxAsDischargeSendGPSPos"),
                                             QStringLiteral("Передавать информацию GPS"));
    CheckBoxAsDischargeSendGPSPos->hide();

    layout->addWidget(ProgressBarBatCharge, 0, 0, 3, 1, Qt::AlignHCenter);
    layout->addWidget(Label17, 3, 0, Qt::AlignHCenter);
    layout->addWidget(warnCaption, 0, 1);
    layout->addWidget(TrackBarDischargeWarn, 1, 1, Qt::AlignHCenter);
    layout->addWidget(Label4, 2, 1, Qt::AlignHCenter);
    layout->addWidget(alarmCaption, 0, 2);
    layout->addWidget(TrackBarDischargeAlarm, 1, 2, Qt::AlignHCenter);
    layout->addWidget(Label14, 2, 2, Qt::AlignHCenter);
    layout->addWidget(LabelBatMsg, 4, 0, 1, 3);
    layout->addWidget(CheckBoxBatteryDischargeWarnEventEn, 5, 0, 1, 3);
    layout->addWidget(CheckBoxBatteryDischargeAlarmEventEn, 6, 0, 1, 3);
    layout->addWidget(CheckBoxAsDischargeSendGPSPos, 7, 0, 1, 3);
    layout->setRowStretch(1, 1);
}

void PagePower::BuildTemperature(QWidget *body)
{
    GroupBox29 = GroupBox(body, QStringLiteral("GroupBox29"), QStringLiteral("Температура системной платы"));
    auto *layout = new QGridLayout(GroupBox29);
    LabelTemperature = Label(GroupBox29, QStringLiteral("LabelTemperature"), QStringLiteral("Текущее значение"));
    ProgressBarModemTemperature = ProgressBar(GroupBox29, QStringLiteral("ProgressBarModemTemperature"), -40, 90);
    LabelTempCurVal = Label(GroupBox29, QStringLiteral("LabelTempCurVal"), QStringLiteral("--C"));
    CheckBoxTemperatureEvent = CheckBox(GroupBox29, QStringLiteral("CheckBoxTemperatureEvent"),
                                        QStringLiteral("Оповещать о выходе за границы"));
    Label133 = Label(GroupBox29, QStringLiteral("Label133"), QStringLiteral("Верхняя граница"));
    TrackBarTemperatHiBorder =
        TrackBar(GroupBox29, QStringLiteral("TrackBarTemperatHiBorder"), Qt::Horizontal, -40, 90);
    LabelHiBorder = Label(GroupBox29, QStringLiteral("LabelHiBorder"), QStringLiteral("Верхняя граница оповещения"));
    Label132 = Label(GroupBox29, QStringLiteral("Label132"), QStringLiteral("Нижняя граница"));
    TrackBarTemperatLowBorder =
        TrackBar(GroupBox29, QStringLiteral("TrackBarTemperatLowBorder"), Qt::Horizontal, -40, 90);
    LabelLowBorder = Label(GroupBox29, QStringLiteral("LabelLowBorder"), QStringLiteral("Нижняя граница оповещения"));
    Label134 = Label(GroupBox29, QStringLiteral("Label134"), QStringLiteral("При превышении"));
    Label135 = Label(GroupBox29, QStringLiteral("Label135"), QStringLiteral("При падении ниже"));

    const QStringList levels = {QStringLiteral("3 C"), QStringLiteral("2 C"), QStringLiteral("1 C"),
                                QStringLiteral("0 C"), QStringLiteral("-1"),  QStringLiteral("-2"),
                                QStringLiteral("-3")};
    ComboBoxHiBorderLevel = ComboBox(GroupBox29, QStringLiteral("ComboBoxHiBorderLevel"), levels);
    ComboBoxLoBorderLevel = ComboBox(GroupBox29, QStringLiteral("ComboBoxLoBorderLevel"), levels);
    const FormTexts &t = texts();
    ComboBoxHiBorderOut = ComboBox(GroupBox29, QStringLiteral("ComboBoxHiBorderOut"), t.OutputNames);
    ComboBoxHiBorderScn = ComboBox(GroupBox29, QStringLiteral("ComboBoxHiBorderScn"), t.OutputActionNames);
    ComboBoxLoBorderOut = ComboBox(GroupBox29, QStringLiteral("ComboBoxLoBorderOut"), t.OutputNames);
    ComboBoxLoBorderScn = ComboBox(GroupBox29, QStringLiteral("ComboBoxLoBorderScn"), t.OutputActionNames);

    const int valueWidth = LabelHiBorder->fontMetrics().horizontalAdvance(QStringLiteral("-00") + Degrees) + 6;
    LabelHiBorder->setMinimumWidth(valueWidth);
    LabelLowBorder->setMinimumWidth(valueWidth);

    layout->addWidget(LabelTemperature, 0, 0);
    layout->addWidget(ProgressBarModemTemperature, 0, 1, 1, 2);
    layout->addWidget(LabelTempCurVal, 0, 3);
    layout->addWidget(CheckBoxTemperatureEvent, 1, 0, 1, 4);
    layout->addWidget(Label133, 2, 0);
    layout->addWidget(TrackBarTemperatHiBorder, 2, 1, 1, 2);
    layout->addWidget(LabelHiBorder, 2, 3);
    layout->addWidget(Label132, 3, 0);
    layout->addWidget(TrackBarTemperatLowBorder, 3, 1, 1, 2);
    layout->addWidget(LabelLowBorder, 3, 3);
    layout->addWidget(Label134, 4, 0);
    layout->addWidget(ComboBoxHiBorderLevel, 4, 1);
    layout->addWidget(ComboBoxHiBorderOut, 5, 1);
    layout->addWidget(ComboBoxHiBorderScn, 5, 2, 1, 2);
    layout->addWidget(Label135, 6, 0);
    layout->addWidget(ComboBoxLoBorderLevel, 6, 1);
    layout->addWidget(ComboBoxLoBorderOut, 7, 1);
    layout->addWidget(ComboBoxLoBorderScn, 7, 2, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
}

void PagePower::BuildTamperAndIndication(QWidget *body)
{
    const FormTexts &t = texts();
    GroupBox42 = GroupBox(body, QStringLiteral("GroupBox42"), QStringLiteral("Контроль вскрытия корпуса"));
    auto *tamper = new QGridLayout(GroupBox42);
    CheckBoxTamperEnable =
        CheckBox(GroupBox42, QStringLiteral("CheckBoxTamperEnable"), QStringLiteral("Оповещать о вскрытии корпуса"));
    Label157 = Label(GroupBox42, QStringLiteral("Label157"), QStringLiteral("Реакция на вскрытие"));
    ComboBoxTamperActOutN = ComboBox(GroupBox42, QStringLiteral("ComboBoxTamperActOutN"), t.OutputNames);
    ComboBoxTamperActScnN = ComboBox(GroupBox42, QStringLiteral("ComboBoxTamperActScnN"), t.OutputActionNames);
    tamper->addWidget(CheckBoxTamperEnable, 0, 0, 1, 3);
    tamper->addWidget(Label157, 1, 0);
    tamper->addWidget(ComboBoxTamperActOutN, 1, 1);
    tamper->addWidget(ComboBoxTamperActScnN, 1, 2);
    tamper->setColumnStretch(1, 1);
    tamper->setColumnStretch(2, 1);

    GroupBox23 = GroupBox(body, QStringLiteral("GroupBox23"), QStringLiteral("Индикация"));
    auto *indication = new QVBoxLayout(GroupBox23);
    ComboBoxIndFunction = ComboBox(GroupBox23, QStringLiteral("ComboBoxIndFunction"));
    CheckBoxAlarmBlinking = CheckBox(GroupBox23, QStringLiteral("CheckBoxAlarmBlinking"),
                                     QStringLiteral("Прошедшую активность входов - миганием"));
    CheckBoxDisableLedsAtCoverClose = CheckBox(GroupBox23, QStringLiteral("CheckBoxDisableLedsAtCoverClose"),
                                               QStringLiteral("Выключить индикаторы In1-In4 при закрытом корпусе"));
    CheckBoxShowActiveInsToArmOut = CheckBox(GroupBox23, QStringLiteral("CheckBoxShowActiveInsToArmOut"),
                                             QStringLiteral("Активность входов на ArmOut в режиме ОХРАНА"));
    indication->addWidget(ComboBoxIndFunction);
    indication->addWidget(CheckBoxAlarmBlinking);
    indication->addWidget(CheckBoxDisableLedsAtCoverClose);
    indication->addWidget(CheckBoxShowActiveInsToArmOut);
    FillLevelsAndModes();
}

void PagePower::FillLevelsAndModes()
{
    const QStringList levels = TemperatureLevels();
    SetItems(ComboBoxHiBorderLevel, levels);
    SetItems(ComboBoxLoBorderLevel, levels);
    SetItems(ComboBoxIndFunction, texts().LedModeNames.mid(3, 4));
}

void PagePower::Enter(int page)
{
    ConfigPage::Enter(page);
    // Rebuilt on every entry, so that translated texts reach them.
    FillLevelsAndModes();
    for (QComboBox *outputs : {ComboBoxHiBorderOut, ComboBoxLoBorderOut, ComboBoxTamperActOutN})
        KeepFirstItems(outputs, 4);
}

void PagePower::StorePage(int, ControllerConfig &config)
{
    const FieldView image = View(config.ConfigImage);
    fields_.Store(image);
    image.Set(PowerFields::DischargeWarn, 100 - TrackBarDischargeWarn->value());
    image.Set(PowerFields::DischargeAlarm, 100 - TrackBarDischargeAlarm->value());
    image.Set(PowerFields::TemperatLowBorder, TrackBarTemperatLowBorder->value());
    image.Set(PowerFields::TemperatHiBorder, TrackBarTemperatHiBorder->value());
    // No selection (-1) stores 90.
    image.Set(PowerFields::HiBorderLevel, TopLevel - ComboBoxHiBorderLevel->currentIndex());
    image.Set(PowerFields::LoBorderLevel, TopLevel - ComboBoxLoBorderLevel->currentIndex());
}

void PagePower::ShowPage(int, ControllerConfig &config)
{
    const ConstFieldView image = View(config.ConfigImage);
    fields_.Show(image);
    // Each bar's handler runs right after its position is set, whether or
    // not the position changed.
    TrackBarDischargeWarn->setValue(100 - int(image.Get(PowerFields::DischargeWarn)));
    TrackBarDischargeWarnChange();
    TrackBarDischargeAlarm->setValue(100 - int(image.Get(PowerFields::DischargeAlarm)));
    TrackBarDischargeAlarmChange();
    // A temperature bar's handler runs when its position changes.
    TrackBarTemperatLowBorder->setValue(image.Get(PowerFields::TemperatLowBorder));
    TrackBarTemperatHiBorder->setValue(image.Get(PowerFields::TemperatHiBorder));
    ShowIndex(ComboBoxHiBorderLevel, TopLevel - image.Get(PowerFields::HiBorderLevel));
    ShowIndex(ComboBoxLoBorderLevel, TopLevel - image.Get(PowerFields::LoBorderLevel));
}

void PagePower::TrackBarDischargeWarnChange()
{
    int position = TrackBarDischargeWarn->value();
    if (position < FirstBorderMinPosition) {
        const QSignalBlocker blocker(TrackBarDischargeWarn);
        TrackBarDischargeWarn->setValue(FirstBorderMinPosition);
        position = FirstBorderMinPosition;
    }
    Label4->setText(QString::number(100 - position) + QLatin1Char('%'));
    if (TrackBarDischargeAlarm->value() < position)
        TrackBarDischargeAlarm->setValue(position);
}

void PagePower::TrackBarDischargeAlarmChange()
{
    const int position = TrackBarDischargeAlarm->value();
    Label14->setText(QString::number(100 - position) + QLatin1Char('%'));
    if (position < TrackBarDischargeWarn->value())
        TrackBarDischargeWarn->setValue(position);
}

void PagePower::TrackBarTemperatHiBorderChange()
{
    const int border = qBound(HiBorderMin, TrackBarTemperatHiBorder->value(), HiBorderMax);
    if (border != TrackBarTemperatHiBorder->value()) {
        const QSignalBlocker blocker(TrackBarTemperatHiBorder);
        TrackBarTemperatHiBorder->setValue(border);
    }
    if (TrackBarTemperatLowBorder->value() > border - BorderGap)
        TrackBarTemperatLowBorder->setValue(border - BorderGap);
    LabelHiBorder->setText(QString::number(border) + Degrees);
}

void PagePower::TrackBarTemperatLowBorderChange()
{
    const int border = qBound(LowBorderMin, TrackBarTemperatLowBorder->value(), LowBorderMax);
    if (border != TrackBarTemperatLowBorder->value()) {
        const QSignalBlocker blocker(TrackBarTemperatLowBorder);
        TrackBarTemperatLowBorder->setValue(border);
    }
    if (TrackBarTemperatHiBorder->value() < border + BorderGap)
        TrackBarTemperatHiBorder->setValue(border + BorderGap);
    LabelLowBorder->setText(QString::number(border) + Degrees);
}

void PagePower::ComboBoxHiBorderLevelChange()
{
    if (ComboBoxHiBorderLevel->currentIndex() > ComboBoxLoBorderLevel->currentIndex())
        ComboBoxLoBorderLevel->setCurrentIndex(ComboBoxHiBorderLevel->currentIndex());
}

void PagePower::ComboBoxLoBorderLevelChange()
{
    if (ComboBoxHiBorderLevel->currentIndex() > ComboBoxLoBorderLevel->currentIndex())
        ComboBoxHiBorderLevel->setCurrentIndex(ComboBoxLoBorderLevel->currentIndex());
}

void PagePower::ShowBatteryState(quint8 battery)
{
    int percent = 0;
    QString message;
    if (battery <= 100) {
        percent = battery;
        message = QStringLiteral("\nАккумулятор подключен");
    } else if (battery == 254) {
        message = QStringLiteral("Тестирование АКБ,\nподождите (не более 1 мин.)");
    } else {
        message = QStringLiteral("\nАккумулятор не подключен");
    }
    Label17->setText(QString::number(percent) + QLatin1Char('%'));
    ProgressBarBatCharge->setValue(percent);
    LabelBatMsg->setText(message);
}

void PagePower::ShowMainPower(quint8 supply)
{
    // Tenths of a volt; below 0.5 V there is no supply.
    const int tenths = supply < 5 ? 0 : supply;
    LabelMainPower->setText(QString::number(tenths / 10) + QLocale::system().decimalPoint() +
                            QString::number(tenths % 10) + QStringLiteral(" В"));
    ProgressBarMainPower->setValue(qMin(tenths, ProgressBarMainPower->maximum()));
}

void PagePower::ShowModemTemperature(qint8 temperature, bool valid)
{
    if (!valid) {
        LabelTemperature->setText(QStringLiteral("Текущее значение температуры не доступно"));
        ProgressBarModemTemperature->hide();
        LabelTempCurVal->clear();
        return;
    }
    LabelTemperature->setText(QStringLiteral("Текущее значение"));
    ProgressBarModemTemperature->setValue(
        qBound(ProgressBarModemTemperature->minimum(), int(temperature), ProgressBarModemTemperature->maximum()));
    ProgressBarModemTemperature->show();
    LabelTempCurVal->setText(QString::number(temperature) + Degrees);
}
