#pragma once
// Page 1: general connection parameters.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class TMaskEdit;

class PageGeneral : public ConfigPage {
    Q_OBJECT
public:
    explicit PageGeneral(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label15; }
    void Enter(int page) override;
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // Enables the administrative password and shows its warning.
    void CheckBoxSysPasswordClick();
    // The balance-request presets.
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();

    QLabel *Label15;
    QGroupBox *GroupBox6;
    QCheckBox *CheckBoxSysPassword;
    QLabel *Label84;
    TMaskEdit *MaskEditSysPassword;
    QLabel *LabelSharedParWarningMsg;
    QLabel *Label72;
    TMaskEdit *MaskEditPassword;
    QLabel *Label73;
    TMaskEdit *MaskEditSMSCA;
    QLabel *Label70;
    TMaskEdit *MaskEditPIN;
    QLabel *Label8;
    TMaskEdit *MaskEditDTMFPass;
    QCheckBox *CheckBoxDTMFControlOnlyList;
    QCheckBox *CheckBoxControlOnlyList;
    QCheckBox *CheckBoxACK;
    QLabel *Label131;
    QComboBox *ComboBoxOutdatedMsgTime;

    QGroupBox *GroupBox13;
    QLabel *Label49;
    TMaskEdit *MaskEditBalansReqCMD;
    QLabel *Label50;
    TMaskEdit *MaskEditBalansIdWord;
    QLabel *Label41;
    QLineEdit *EditBalansMinVal;
    QLabel *Label42;
    QLineEdit *EditReqPeriodH;
    QGroupBox *GroupBox16;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QRadioButton *RadioButton4;
    QLabel *StaticText1;

    QGroupBox *GroupBox12;
    QLabel *Label128;
    QComboBox *ComboBoxCall2CallPauseX10S;
    QLabel *Label129;
    QComboBox *ComboBoxDialPriority;
    QGroupBox *GroupBoxOutDataParam;
    QComboBox *ComboBoxDATAProtocol;

private:
    void ApplyBalancePreset(int preset);

    pagectl::FieldBindings fields_;
};
