#pragma once
// Page 11: power, temperature, indication, tamper.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QProgressBar;
class QSlider;

class PagePower : public ConfigPage {
    Q_OBJECT
public:
    explicit PagePower(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label23; }
    void Enter(int page) override;
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // Reactions: the discharge borders keep 10 <= first <= second position,
    // the temperature borders stay 2 degrees apart, the high reaction level's
    // index never exceeds the low one's.
    void TrackBarDischargeWarnChange();
    void TrackBarDischargeAlarmChange();
    void TrackBarTemperatHiBorderChange();
    void TrackBarTemperatLowBorderChange();
    void ComboBoxHiBorderLevelChange();
    void ComboBoxLoBorderLevelChange();

    // Live-state display, GUI thread; the polling thread posts these.
    void ShowBatteryState(quint8 battery);
    void ShowMainPower(quint8 supply);
    void ShowModemTemperature(qint8 temperature, bool valid);

    QLabel *Label23;

    QGroupBox *GroupBox9; // main power
    QCheckBox *CheckBoxExtPowerFault, *CheckBoxExtPowerRec, *CheckBoxAsFaultSendGPSPos;
    QLabel *Label2, *Label3;
    QComboBox *ComboBoxPowerSignAverTime, *ComboBoxRecoveryTime;
    QGroupBox *GroupBox21; // current supply
    QLabel *LabelMainPower;
    QProgressBar *ProgressBarMainPower;

    QGroupBox *GroupBox1; // battery
    QLabel *Label17, *LabelBatMsg;
    QProgressBar *ProgressBarBatCharge;
    QSlider *TrackBarDischargeWarn, *TrackBarDischargeAlarm;
    QLabel *Label4, *Label14;
    QCheckBox *CheckBoxBatteryDischargeWarnEventEn, *CheckBoxBatteryDischargeAlarmEventEn,
        *CheckBoxAsDischargeSendGPSPos;

    QGroupBox *GroupBox29; // board temperature
    QLabel *LabelTemperature, *LabelTempCurVal;
    QProgressBar *ProgressBarModemTemperature;
    QCheckBox *CheckBoxTemperatureEvent;
    QLabel *Label133, *Label132, *Label134, *Label135;
    QSlider *TrackBarTemperatHiBorder, *TrackBarTemperatLowBorder;
    QLabel *LabelHiBorder, *LabelLowBorder;
    QComboBox *ComboBoxHiBorderLevel, *ComboBoxHiBorderOut, *ComboBoxHiBorderScn;
    QComboBox *ComboBoxLoBorderLevel, *ComboBoxLoBorderOut, *ComboBoxLoBorderScn;

    QGroupBox *GroupBox42; // tamper
    QCheckBox *CheckBoxTamperEnable;
    QLabel *Label157;
    QComboBox *ComboBoxTamperActOutN, *ComboBoxTamperActScnN;

    QGroupBox *GroupBox23; // indication
    QComboBox *ComboBoxIndFunction;
    QCheckBox *CheckBoxAlarmBlinking, *CheckBoxDisableLedsAtCoverClose, *CheckBoxShowActiveInsToArmOut;

private:
    void BuildPower(QWidget *body);
    void BuildBattery(QWidget *body);
    void BuildTemperature(QWidget *body);
    void BuildTamperAndIndication(QWidget *body);
    void FillLevelsAndModes();

    pagectl::FieldBindings fields_;
};
