#include "configurator/pages/PageInput.h"
#include "configurator/dialogs/Calibrationdialog.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageControls.h"
#include "toolkit/TextRules.h"
#include "configurator/pages/UpDown.h"
#include "configurator/pages/WrapLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cfloat>
#include <functional>

using namespace pagectl;

namespace {

enum SensorType { stDisabled, stDiscrete, stAnalogue, stThermoHSX71, stThermoHSX72 };

enum ActiveLevel { alLowOrHigh, alLow, alFree, alHigh, alLowHysteresis, alHighHysteresis };

constexpr int RawMax = 4095;
const QString CaptionVolts = QStringLiteral("В");
const QString CaptionPercent = QStringLiteral("%");
const QString CaptionCalibrate = QStringLiteral("K");
const QString DegreesC = QStringLiteral("° C");

QStringList ActLevelItems()
{
    return {QStringLiteral("Низкий (Uвх. <= Нижн. гр.) или высокий (Uвх. >= Верхн. гр.)"),
            QStringLiteral("Низкий (Uвх. <= Нижн. гр.)"),
            QStringLiteral("Свободный (Нижн. гр. <= Uвх. <= Верхн. гр.)"),
            QStringLiteral("Высокий (Uвх. >= Верхн. гр.)"),
            QStringLiteral("Низкий гистерезисный (Uвх. <= Нижн. гр.)"),
            QStringLiteral("Высокий гистерезисный (Uвх. >= Верхн. гр.)")};
}

QStringList AverageTimeItems()
{
    QStringList items = {QStringLiteral("60 mSec."), QStringLiteral("120 mSec."), QStringLiteral("240 mSec."),
                         QStringLiteral("480 mSec.")};
    for (int s : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 15})
        items << QString::number(s) + QStringLiteral(" Sec.");
    return items;
}

QStringList ArmDisModeItems()
{
    return {QStringLiteral("не менять"), QStringLiteral("ОХРАНА"), QStringLiteral("НАБЛЮДЕНИЕ"),
            QStringLiteral("Противоположный")};
}

// The fixed characteristic of the HSX-71: hundredths of a degree, truncated.
double Hsx71Celsius(int raw)
{
    return ((1600 * raw - 984100) / 196) * 0.01;
}

// Label objectNames of the reaction rows, OutputNumber order.
constexpr const char *ActLabelNames[7] = {"Label102", "Label101", "Label24", "Label27", "Label31", "Label33", "Label34"};
constexpr const char *PassLabelNames[7] = {"Label98", "Label97", "Label36", "Label37", "Label38", "Label39", "Label40"};

// Relay 1, relay 2, outputs 1 and 2 exist on this controller; output 3 is
// hidden when the page is entered, outputs 4 and 5 belong to the larger model.
constexpr int LargerModelOutputs = 5;

float ScaleValue(const QString &text)
{
    // Beyond the single-precision range the value is kept at its largest.
    return float(std::clamp(TypedNumber(text), double(-FLT_MAX), double(FLT_MAX)));
}

} // namespace

PageInput::PageInput(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel6"), parent)
{
    BuildPanel();
    neutralColour_ = palette().color(QPalette::Button);
    SetAlarmColour(neutralColour_);
    UpdateSensorPage();
}

void PageInput::BuildPanel()
{
    Label10 = Title(this, QStringLiteral("Label10"));
    QWidget *content = ScrollBody(this, Label10);
    auto *page = new QVBoxLayout(content);

    // The input: type and names.
    auto *names = new QGridLayout;
    Label87 = Label(content, QStringLiteral("Label87"), QStringLiteral("Тип входа"));
    ComboBoxSensType = ComboBox(content, QStringLiteral("ComboBoxSensType"),
                                {QStringLiteral("Запрещен"), QStringLiteral("Дискретный"), QStringLiteral("Аналоговый"),
                                 QStringLiteral("Термодатчик HSX-71"), QStringLiteral("Термодатчик HSX-72")});
    Label12 = Label(content, QStringLiteral("Label12"), QStringLiteral("Название входа"));
    ComboBoxSensName = TextComboBox(content, QStringLiteral("ComboBoxSensName"),
                                    {QStringLiteral("ДВЕРЬ"), QStringLiteral("ОКНО"), QStringLiteral("ДВИЖЕНИЕ"),
                                     QStringLiteral("ДЫМ"), QStringLiteral("ПРОТЕЧКА"), QStringLiteral("ТЕМПЕРАТУРА")},
                                    16);
    Label19 = Label(content, QStringLiteral("Label19"), QStringLiteral("Активное состояние"));
    ComboBoxSensActSt =
        TextComboBox(content, QStringLiteral("ComboBoxSensActSt"),
                     {QStringLiteral("АКТИВЕН"), QStringLiteral("ТРЕВОГА"), QStringLiteral("ОТКРЫТ")}, 16);
    Label26 = Label(content, QStringLiteral("Label26"), QStringLiteral("Пассивное состояние"));
    ComboBoxSensPassSt =
        TextComboBox(content, QStringLiteral("ComboBoxSensPassSt"),
                     {QStringLiteral("НЕАКТИВЕН"), QStringLiteral("НОРМА"), QStringLiteral("ЗАКРЫТ")}, 16);
    names->addWidget(Label87, 0, 0);
    names->addWidget(ComboBoxSensType, 0, 1);
    names->addWidget(Label12, 0, 2);
    names->addWidget(ComboBoxSensName, 0, 3);
    names->addWidget(Label19, 1, 2);
    names->addWidget(ComboBoxSensActSt, 1, 3);
    names->addWidget(Label26, 2, 2);
    names->addWidget(ComboBoxSensPassSt, 2, 3);
    names->setColumnStretch(1, 1);
    names->setColumnStretch(3, 1);
    page->addLayout(names);

    // The alarm zone.
    GroupBox2 = GroupBox(content, QStringLiteral("GroupBox2"), QStringLiteral("Границы тревожной зоны"));
    auto *zone = new QGridLayout(GroupBox2);
    ComboBoxSensActLevel = ComboBox(GroupBox2, QStringLiteral("ComboBoxSensActLevel"), ActLevelItems());
    // Its long items go under their label where the page is narrow.
    auto *level = new WrapLayout;
    level->addWidget(new QLabel(QStringLiteral("Активный уровень"), GroupBox2), 0);
    level->addWidget(ComboBoxSensActLevel, 1);
    zone->addLayout(level, 0, 0, 1, 4);
    auto newBar = [this](const QString &name) {
        auto *bar = new QSlider(Qt::Horizontal, GroupBox2);
        bar->setObjectName(name);
        bar->setRange(0, RawMax);
        bar->setPageStep(64);
        return bar;
    };
    auto newValue = [this](const QString &name) {
        QLabel *label = Label(GroupBox2, name, QString());
        label->setMinimumWidth(90);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    Label93 = Label(GroupBox2, QStringLiteral("Label93"), QStringLiteral("Верхняя граница"));
    TrackBarHiBarrier = newBar(QStringLiteral("TrackBarHiBarrier"));
    LabelHiBarrier = newValue(QStringLiteral("LabelHiBarrier"));
    Label94 = Label(GroupBox2, QStringLiteral("Label94"), QStringLiteral("Текущее значение"));
    ProgressBarCurrentVal = ProgressBar(GroupBox2, QStringLiteral("ProgressBarCurrentVal"), 0, RawMax);
    LabelCurrentVal = newValue(QStringLiteral("LabelCurrentVal"));
    Label95 = Label(GroupBox2, QStringLiteral("Label95"), QStringLiteral("Нижняя граница"));
    TrackBarLoBarrier = newBar(QStringLiteral("TrackBarLoBarrier"));
    LabelLoBarrier = newValue(QStringLiteral("LabelLoBarrier"));
    zone->addWidget(Label93, 1, 0);
    zone->addWidget(TrackBarHiBarrier, 1, 1, 1, 2);
    zone->addWidget(LabelHiBarrier, 1, 3);
    zone->addWidget(Label94, 2, 0);
    zone->addWidget(ProgressBarCurrentVal, 2, 1, 1, 2);
    zone->addWidget(LabelCurrentVal, 2, 3);
    zone->addWidget(Label95, 3, 0);
    zone->addWidget(TrackBarLoBarrier, 3, 1, 1, 2);
    zone->addWidget(LabelLoBarrier, 3, 3);
    ButtonVoltPerc = Button(GroupBox2, QStringLiteral("ButtonVoltPerc"), CaptionVolts);
    ButtonVoltPerc->setFixedWidth(32);
    zone->addWidget(ButtonVoltPerc, 2, 4);
    PanelAnalogue = Make<QFrame>(GroupBox2, QStringLiteral("PanelAnalogue"));
    auto *scale = new QHBoxLayout(PanelAnalogue);
    scale->setContentsMargins(0, 0, 0, 0);
    auto newScaleEdit = [this](const QString &name) {
        TMaskEdit *edit = MaskEdit(PanelAnalogue, name, QString());
        edit->setValidator(new TypingLimit(edit, 10));
        edit->setMaximumWidth(110);
        return edit;
    };
    Label152 = Label(PanelAnalogue, QStringLiteral("Label152"), QStringLiteral("Минимальное значение"));
    MaskEditMinVal = newScaleEdit(QStringLiteral("MaskEditMinVal"));
    Label151 = Label(PanelAnalogue, QStringLiteral("Label151"), QStringLiteral("Максимальное значение"));
    MaskEditMaxVal = newScaleEdit(QStringLiteral("MaskEditMaxVal"));
    scale->addWidget(Label152);
    scale->addWidget(MaskEditMinVal);
    scale->addSpacing(12);
    scale->addWidget(Label151);
    scale->addWidget(MaskEditMaxVal);
    scale->addStretch();
    zone->addWidget(PanelAnalogue, 4, 0, 1, 5);
    zone->setColumnStretch(1, 1);
    zone->setColumnStretch(2, 1);
    page->addWidget(GroupBox2);

    // Settings of the input.
    GroupBox10 = GroupBox(content, QStringLiteral("GroupBox10"), QStringLiteral("Параметры входа"));
    auto *settings = new QGridLayout(GroupBox10);
    int row = 0;
    auto addRow = [&](QLabel *label, QWidget *control, QWidget *extra = nullptr) {
        settings->addWidget(label, row, 0);
        settings->addWidget(control, row, 1);
        if (extra != nullptr)
            settings->addWidget(extra, row, 2);
        ++row;
    };
    Label80 = Label(GroupBox10, QStringLiteral("Label80"),
                    QStringLiteral("Источник питания датчиков поключенных к этому входу"));
    ComboBoxSensorPwrSource = ComboBox(GroupBox10, QStringLiteral("ComboBoxSensorPwrSource"),
                                       {QStringLiteral("Порт питания датчиков (10VS)"),
                                        QStringLiteral("По шлейфу, со сбросом питания"), QStringLiteral("Другое")});
    addRow(Label80, ComboBoxSensorPwrSource);
    Label88 = Label(GroupBox10, QStringLiteral("Label88"), QStringLiteral("Время усреднения сигнала"));
    ComboBoxAverageTime = ComboBox(GroupBox10, QStringLiteral("ComboBoxAverageTime"), AverageTimeItems());
    addRow(Label88, ComboBoxAverageTime);
    CheckBox24HZone = CheckBox(GroupBox10, QStringLiteral("CheckBox24HZone"), QStringLiteral("Круглосуточная зона"));
    settings->addWidget(CheckBox24HZone, row++, 0, 1, 3);
    Label89 = Label(GroupBox10, QStringLiteral("Label89"), QStringLiteral("Задержка тревоги и управления выходами"));
    ComboBoxDelayTime =
        ComboBox(GroupBox10, QStringLiteral("ComboBoxDelayTime"), Numbers(0, 5, 64, QStringLiteral(" Sec.")));
    addRow(Label89, ComboBoxDelayTime);
    Label91 = Label(GroupBox10, QStringLiteral("Label91"), QStringLiteral("Сканирование после тревоги через"));
    auto *recovery = new QWidget(GroupBox10);
    auto *recoveryLayout = new QHBoxLayout(recovery);
    recoveryLayout->setContentsMargins(0, 0, 0, 0);
    recoveryLayout->setSpacing(0);
    EditRecoveryTime = Edit(recovery, QStringLiteral("EditRecoveryTime"));
    EditRecoveryTime->setMaximumWidth(48);
    UpDownRecoveryTime = Make<TUpDown>(recovery, QStringLiteral("UpDownRecoveryTime"));
    UpDownRecoveryTime->SetRange(0, 63);
    UpDownRecoveryTime->SetAssociate(EditRecoveryTime);
    Label99 = Label(recovery, QStringLiteral("Label99"), QStringLiteral(" мин."));
    recoveryLayout->addWidget(EditRecoveryTime);
    recoveryLayout->addWidget(UpDownRecoveryTime);
    recoveryLayout->addWidget(Label99);
    recoveryLayout->addStretch();
    addRow(Label91, recovery);
    Label76 = Label(GroupBox10, QStringLiteral("Label76"), QStringLiteral("Тревожных событий за период охраны"));
    ComboBoxAlarmTry = ComboBox(GroupBox10, QStringLiteral("ComboBoxAlarmTry"),
                                {QStringLiteral("без ограничения"), QStringLiteral("не более 1 раза"),
                                 QStringLiteral("не более 3 раз"), QStringLiteral("не более 7 раз")});
    addRow(Label76, ComboBoxAlarmTry);
    CheckBoxNotArmingAsActive = CheckBox(GroupBox10, QStringLiteral("CheckBoxNotArmingAsActive"),
                                         QStringLiteral("Не ставить на охрану при активном входе"));
    settings->addWidget(CheckBoxNotArmingAsActive, row++, 0, 1, 3);
    Label193 = Label(GroupBox10, QStringLiteral("Label193"), QStringLiteral("Прослушивание при тревоге, соединение №"));
    ComboBoxListenNum =
        ComboBox(GroupBox10, QStringLiteral("ComboBoxListenNum"), QStringList{QStringLiteral(" -")} + Numbers(1, 1, 8));
    addRow(Label193, ComboBoxListenNum);
    CheckBoxActiveToGPS = CheckBox(GroupBox10, QStringLiteral("CheckBoxActiveToGPS"),
                                   QStringLiteral("Передавать информацию GPS при тревоге"));
    CheckBoxActiveToGPS->setVisible(false); // the larger model's
    settings->addWidget(CheckBoxActiveToGPS, row++, 0, 1, 3);
    settings->setColumnStretch(1, 1);

    GroupBoxFiltr =
        GroupBox(content, QStringLiteral("GroupBoxFiltr"), QStringLiteral("Фильтр ложных тревожных событий"));
    auto *filter = new QGridLayout(GroupBoxFiltr);
    Label100 =
        Label(GroupBoxFiltr, QStringLiteral("Label100"), QStringLiteral("Тревога не менее чем после срабатываний"));
    ComboBoxActiveTriggerNum = ComboBox(GroupBoxFiltr, QStringLiteral("ComboBoxActiveTriggerNum"), Numbers(1, 1, 4));
    Label103 = Label(GroupBoxFiltr, QStringLiteral("Label103"), QStringLiteral("в течение"));
    ComboBoxAlarmDelayTime =
        ComboBox(GroupBoxFiltr, QStringLiteral("ComboBoxAlarmDelayTime"), Numbers(10, 10, 16, QStringLiteral(" Сек.")));
    filter->addWidget(Label100, 0, 0);
    filter->addWidget(ComboBoxActiveTriggerNum, 0, 1);
    filter->addWidget(Label103, 1, 0);
    filter->addWidget(ComboBoxAlarmDelayTime, 1, 1);
    filter->setColumnStretch(1, 1);

    GroupBox14 = GroupBox(content, QStringLiteral("GroupBox14"), QStringLiteral("Управление реле и выходами"));
    auto *drive = new QGridLayout(GroupBox14);
    StaticText2 = Label(GroupBox14, QStringLiteral("StaticText2"),
                        QStringLiteral("Реле и выходы управляются по изменению состояния этого входа"));
    StaticText2->setWordWrap(true);
    Label35 = Label(GroupBox14, QStringLiteral("Label35"), QStringLiteral("Управлять"));
    ComboBoxReleToAlarm = ComboBox(GroupBox14, QStringLiteral("ComboBoxReleToAlarm"),
                                   {QStringLiteral("напрямую, сигналом на входе"),
                                    QStringLiteral("тревожным событием, с учетом блокировки"),
                                    QStringLiteral("тревожным событием, без учета блокировки")});
    drive->addWidget(StaticText2, 0, 0, 1, 2);
    drive->addWidget(Label35, 1, 0);
    drive->addWidget(ComboBoxReleToAlarm, 1, 1);
    drive->setColumnStretch(1, 1);

    auto *side = new QVBoxLayout;
    side->addWidget(GroupBoxFiltr);
    side->addWidget(GroupBox14);
    side->addStretch();
    auto *middle = new WrapLayout;
    middle->addWidget(GroupBox10);
    middle->addLayout(side);
    page->addLayout(middle);

    // The reactions of the outputs.
    const QStringList &outputNames = texts().OutputNames;
    const QStringList &actions = texts().OutputActionNames;
    auto buildReactions = [&](QGroupBox *box, const char *const labelNames[7], const QString &boxPrefix,
                              QLabel *labels[7], QComboBox *combos[7], QComboBox *&mode, const QString &modeName) {
        // Each name over its combo box, side by side as far as they fit.
        auto *row = new WrapLayout(box);
        auto addColumn = [&](QLabel *label, QComboBox *combo) {
            auto *column = new QVBoxLayout;
            column->addWidget(label);
            column->addWidget(combo);
            row->addLayout(column);
        };
        for (int n = 0; n < OutputCount; ++n) {
            labels[n] = Label(box, QString::fromLatin1(labelNames[n]), outputNames.value(n));
            combos[n] = ComboBox(box, boxPrefix + QString::number(n + 1), actions);
            addColumn(labels[n], combos[n]);
            if (n >= LargerModelOutputs) {
                labels[n]->setVisible(false);
                combos[n]->setVisible(false);
            }
        }
        mode = ComboBox(box, modeName, ArmDisModeItems());
        addColumn(new QLabel(QStringLiteral("Режим"), box), mode);
    };
    GroupBoxInActActions =
        GroupBox(content, QStringLiteral("GroupBoxInActActions"), QStringLiteral("При активизации входа"));
    buildReactions(GroupBoxInActActions, ActLabelNames, QStringLiteral("ComboBoxActRele"), ActLabels, ComboBoxActRele,
                   ComboBoxActArmDisMode, QStringLiteral("ComboBoxActArmDisMode"));
    GroupBoxInPasActions =
        GroupBox(content, QStringLiteral("GroupBoxInPasActions"), QStringLiteral("При деактивизации входа"));
    buildReactions(GroupBoxInPasActions, PassLabelNames, QStringLiteral("ComboBoxPassRele"), PassLabels,
                   ComboBoxPassRele, ComboBoxPassArmDisMode, QStringLiteral("ComboBoxPassArmDisMode"));
    page->addWidget(GroupBoxInActActions);
    page->addWidget(GroupBoxInPasActions);
    page->addStretch();

    using R = InputRecord;
    fields_.Bind(ComboBoxSensType, R::SensType);
    fields_.Bind(ComboBoxSensActLevel, R::SensActLevel);
    fields_.Bind(ComboBoxAverageTime, R::AverageTime);
    fields_.Bind(ComboBoxDelayTime, R::DelayTime);
    fields_.Bind(ComboBoxReleToAlarm, R::ReleToAlarm);
    fields_.Bind(ComboBoxActiveTriggerNum, R::ActiveTriggerNum);
    fields_.Bind(ComboBoxAlarmDelayTime, R::AlarmDelayTime);
    fields_.Bind(ComboBoxSensorPwrSource, R::SensorPwrSource);
    fields_.Bind(ComboBoxListenNum, R::ListenNum);
    fields_.Bind(ComboBoxAlarmTry, R::AlarmTry);
    fields_.Bind(ComboBoxActArmDisMode, R::ActArmDisMode);
    fields_.Bind(ComboBoxPassArmDisMode, R::PassArmDisMode);
    for (int n = 0; n < OutputCount; ++n) {
        fields_.Bind(ComboBoxActRele[n], R::ActRele(n));
        fields_.Bind(ComboBoxPassRele[n], R::PassRele(n));
    }
    fields_.Bind(CheckBox24HZone, R::Zone24H);
    fields_.Bind(CheckBoxNotArmingAsActive, R::NotArmingAsActive);
    fields_.Bind(CheckBoxActiveToGPS, R::ActiveToGPS);

    connect(TrackBarHiBarrier, &QSlider::valueChanged, this, &PageInput::TrackBarHiBarrierChange);
    connect(TrackBarLoBarrier, &QSlider::valueChanged, this, &PageInput::TrackBarLoBarrierChange);
    connect(ComboBoxSensType, &QComboBox::currentIndexChanged, this, &PageInput::ComboBoxSensTypeChange);
    connect(ButtonVoltPerc, &QPushButton::clicked, this, &PageInput::ButtonVoltPercClick);
    connect(EditRecoveryTime, &QLineEdit::textChanged, this, &PageInput::EditRecoveryTimeChange);
}

void PageInput::Enter(int page)
{
    Label80->setVisible(false);
    ComboBoxSensorPwrSource->setEnabled(true);
    ComboBoxSensorPwrSource->setVisible(false);
    GroupBoxFiltr->setVisible(false);
    ComboBoxActRele[LargerModelOutputs - 1]->setVisible(false);
    ComboBoxPassRele[LargerModelOutputs - 1]->setVisible(false);
    ActLabels[LargerModelOutputs - 1]->setVisible(false);
    PassLabels[LargerModelOutputs - 1]->setVisible(false);
    ConfigPage::Enter(page);
}

void PageInput::StorePage(int page, ControllerConfig &config)
{
    const int input = page - Pages::FirstInput;
    if (input < 0 || input >= Pages::InputCount)
        return;
    using R = InputRecord;
    const FieldView r = RecordView<InputRecord>(config.ConfigImage, input);
    fields_.Store(r);
    StoreTypedText(r, R::SensName, ComboBoxSensName);
    StoreTypedText(r, R::SensActSt, ComboBoxSensActSt);
    StoreTypedText(r, R::SensPassSt, ComboBoxSensPassSt);
    r.Set(R::HiBarrier, TrackBarHiBarrier->value());
    r.Set(R::LoBarrier, TrackBarLoBarrier->value());
    r.Set(R::RecoveryTime, UpDownRecoveryTime->Position());

    float lower = ScaleValue(MaskEditMinVal->text());
    float upper = ScaleValue(MaskEditMaxVal->text());
    if (lower == upper) {
        lower -= 1.0f;
        upper += 1.0f;
    }
    r.Set(R::MinVal, lower);
    r.Set(R::MaxVal, upper);
}

void PageInput::ShowPage(int page, ControllerConfig &config)
{
    const int input = page - Pages::FirstInput;
    if (input < 0 || input >= Pages::InputCount)
        return;
    using R = InputRecord;
    const FieldView r = RecordView<InputRecord>(config.ConfigImage, input);
    // The combo boxes first: the bars' handlers read the sensor type and the active level.
    fields_.Show(r);
    ShowTypedText(r, R::SensName, ComboBoxSensName);
    ShowTypedText(r, R::SensActSt, ComboBoxSensActSt);
    ShowTypedText(r, R::SensPassSt, ComboBoxSensPassSt);

    // Moving the bars runs their change handlers.
    TrackBarHiBarrier->setValue(int(r.Get(R::HiBarrier)));
    TrackBarLoBarrier->setValue(int(r.Get(R::LoBarrier)));
    UpDownRecoveryTime->SetPosition(int(r.Get(R::RecoveryTime)));

    MaskEditMinVal->setText(General(r.Get(R::MinVal), 7));
    MaskEditMaxVal->setText(General(r.Get(R::MaxVal), 7));
}

void PageInput::UpdateSensorPage()
{
    std::function<QString(int raw)> shown;
    switch (ComboBoxSensType->currentIndex()) {
    case stDisabled:
    case stDiscrete: {
        ButtonVoltPerc->setVisible(true);
        if (ButtonVoltPerc->text() == CaptionCalibrate)
            ButtonVoltPerc->setText(CaptionVolts);
        PanelAnalogue->setVisible(false);
        // The caption names the unit the next click switches to.
        if (ButtonVoltPerc->text() == CaptionPercent)
            shown = [](int raw) { return General(raw * 10.0 / RawMax, 3) + QStringLiteral(" В"); };
        else
            shown = [](int raw) { return General(raw * 100.0 / RawMax, 3) + QStringLiteral(" %"); };
        break;
    }
    case stAnalogue:
    case stThermoHSX72: {
        const double min = TypedNumber(MaskEditMinVal->text());
        const double max = TypedNumber(MaskEditMaxVal->text());
        ButtonVoltPerc->setText(CaptionCalibrate);
        ButtonVoltPerc->setVisible(true);
        PanelAnalogue->setVisible(true);
        const QString unit = ComboBoxSensType->currentIndex() == stThermoHSX72 ? DegreesC : QString();
        shown = [min, max, unit](int raw) { return General((max - min) * raw / RawMax + min, 4) + unit; };
        break;
    }
    case stThermoHSX71:
        ButtonVoltPerc->setVisible(false);
        PanelAnalogue->setVisible(false);
        shown = [](int raw) { return General(Hsx71Celsius(raw), 3) + DegreesC; };
        break;
    default:
        return;
    }
    LabelHiBarrier->setText(shown(TrackBarHiBarrier->value()));
    LabelCurrentVal->setText(shown(ProgressBarCurrentVal->value()));
    LabelLoBarrier->setText(shown(TrackBarLoBarrier->value()));
}

void PageInput::UpdateCurrentValueColour()
{
    const int v = ProgressBarCurrentVal->value();
    const int lo = TrackBarLoBarrier->value();
    const int hi = TrackBarHiBarrier->value();
    const QColor red(255, 0, 0);
    switch (ComboBoxSensActLevel->currentIndex()) {
    case alLowOrHigh: alarmColour_ = v <= lo || v >= hi ? red : neutralColour_; break;
    case alLow: alarmColour_ = v <= lo ? red : neutralColour_; break;
    case alFree: alarmColour_ = lo <= v && v <= hi ? red : neutralColour_; break;
    case alHigh: alarmColour_ = v >= hi ? red : neutralColour_; break;
    case alLowHysteresis:
        if (v <= lo)
            alarmColour_ = red;
        else if (v >= hi)
            alarmColour_ = neutralColour_;
        break;
    case alHighHysteresis:
        if (v >= hi)
            alarmColour_ = red;
        else if (v <= lo)
            alarmColour_ = neutralColour_;
        break;
    default: break;
    }
    SetAlarmColour(alarmColour_);
}

void PageInput::SetAlarmColour(const QColor &colour)
{
    alarmColour_ = colour;
    SetFaceColour(LabelCurrentVal, colour);
}

void PageInput::TrackBarHiBarrierChange()
{
    if (TrackBarHiBarrier->value() < TrackBarLoBarrier->value())
        TrackBarLoBarrier->setValue(TrackBarHiBarrier->value());
    UpdateSensorPage();
    UpdateCurrentValueColour();
}

void PageInput::TrackBarLoBarrierChange()
{
    if (TrackBarLoBarrier->value() > TrackBarHiBarrier->value())
        TrackBarHiBarrier->setValue(TrackBarLoBarrier->value());
    UpdateSensorPage();
    UpdateCurrentValueColour();
}

void PageInput::ComboBoxSensTypeChange()
{
    if (ComboBoxSensType->currentIndex() == stThermoHSX72) {
        MaskEditMinVal->setText(QStringLiteral("-50"));
        MaskEditMaxVal->setText(QStringLiteral("150"));
    }
    UpdateSensorPage();
}

void PageInput::ButtonVoltPercClick()
{
    const int type = ComboBoxSensType->currentIndex();
    if (type == stAnalogue || type == stThermoHSX72) {
        TFormCalibration dialog(window());
        if (dialog.exec() == QDialog::Accepted) {
            const double min = TypedNumber(MaskEditMinVal->text());
            const double max = TypedNumber(MaskEditMaxVal->text());
            const double current = (max - min) * ProgressBarCurrentVal->value() / RawMax + min;
            // The scale moves, it is not stretched.
            const double shift = dialog.WantedValue() - current;
            MaskEditMinVal->setText(General(min + shift, 7));
            MaskEditMaxVal->setText(General(max + shift, 7));
        }
    } else {
        ButtonVoltPerc->setText(ButtonVoltPerc->text() == CaptionVolts ? CaptionPercent : CaptionVolts);
    }
    UpdateSensorPage();
}

void PageInput::EditRecoveryTimeChange()
{
    FollowTypedPosition(UpDownRecoveryTime);
}
