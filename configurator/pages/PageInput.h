#pragma once
// Pages 14-17: inputs 1..4, one set of controls for the four input records.
// Besides moving a record in and out, the page shows the alarm zone and the
// current input value in the unit its sensor type implies.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

#include <QColor>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class TMaskEdit;
class TUpDown;

class PageInput : public ConfigPage {
    Q_OBJECT
public:
    explicit PageInput(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label10; }
    void Enter(int page) override;
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // Display routines; the polling thread has them carried out on the GUI
    // thread after it has set ProgressBarCurrentVal.
    // Shows the two borders and the current value in the sensor type's unit.
    void UpdateSensorPage();
    // LabelCurrentVal turns red while the current value is in the alarm zone.
    void UpdateCurrentValueColour();

    // Handlers.
    void TrackBarHiBarrierChange();
    void TrackBarLoBarrierChange();
    void ComboBoxSensTypeChange();
    void ButtonVoltPercClick();
    void EditRecoveryTimeChange();

    // The colour LabelCurrentVal has; kept across the four inputs, since the
    // hysteresis levels depend on it.
    QColor AlarmColour() const { return alarmColour_; }
    // The neutral (not alarm) colour.
    QColor NeutralColour() const { return neutralColour_; }

    QLabel *Label10;
    QLabel *Label87;
    QComboBox *ComboBoxSensType;
    QLabel *Label12;
    QComboBox *ComboBoxSensName;
    QLabel *Label19;
    QComboBox *ComboBoxSensActSt;
    QLabel *Label26;
    QComboBox *ComboBoxSensPassSt;

    // " Границы тревожной зоны "
    QGroupBox *GroupBox2;
    QComboBox *ComboBoxSensActLevel;
    QLabel *Label93;
    QSlider *TrackBarHiBarrier;
    QLabel *LabelHiBarrier;
    QLabel *Label94;
    QProgressBar *ProgressBarCurrentVal;
    QLabel *LabelCurrentVal;
    QLabel *Label95;
    QSlider *TrackBarLoBarrier;
    QLabel *LabelLoBarrier;
    QPushButton *ButtonVoltPerc;
    QFrame *PanelAnalogue;
    QLabel *Label152;
    TMaskEdit *MaskEditMinVal;
    QLabel *Label151;
    TMaskEdit *MaskEditMaxVal;

    QGroupBox *GroupBox10;
    QLabel *Label80;
    QComboBox *ComboBoxSensorPwrSource;
    QLabel *Label88;
    QComboBox *ComboBoxAverageTime;
    QCheckBox *CheckBox24HZone;
    QLabel *Label89;
    QComboBox *ComboBoxDelayTime;
    QLabel *Label91;
    QLineEdit *EditRecoveryTime;
    TUpDown *UpDownRecoveryTime;
    QLabel *Label99;
    QLabel *Label76;
    QComboBox *ComboBoxAlarmTry;
    QCheckBox *CheckBoxNotArmingAsActive;
    QLabel *Label193;
    QComboBox *ComboBoxListenNum;
    QCheckBox *CheckBoxActiveToGPS;

    // " Фильтр ложных тревожных событий "
    QGroupBox *GroupBoxFiltr;
    QLabel *Label100;
    QComboBox *ComboBoxActiveTriggerNum;
    QLabel *Label103;
    QComboBox *ComboBoxAlarmDelayTime;

    QGroupBox *GroupBox14;
    QLabel *StaticText2;
    QLabel *Label35;
    QComboBox *ComboBoxReleToAlarm;

    // Reactions of the seven outputs (OutputNumber order) on activation and
    // deactivation, with the label row above each.
    QGroupBox *GroupBoxInActActions;
    QLabel *ActLabels[7];
    QComboBox *ComboBoxActRele[7];
    QComboBox *ComboBoxActArmDisMode;
    QGroupBox *GroupBoxInPasActions;
    QLabel *PassLabels[7];
    QComboBox *ComboBoxPassRele[7];
    QComboBox *ComboBoxPassArmDisMode;

private:
    void BuildPanel();
    void SetAlarmColour(const QColor &colour);

    pagectl::FieldBindings fields_;
    QColor neutralColour_;
    QColor alarmColour_;
};
