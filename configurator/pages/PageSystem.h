#pragma once
// Page 24: system parameters.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

class PageSystem : public ConfigPage {
    Q_OBJECT
public:
    explicit PageSystem(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label86; }
    // The system parameters only; the image is not touched.
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // Uncovers the parameter controls for the rest of the run.
    void Button1Click();

    QLabel *Label86;
    QPushButton *Button1;
    // The overlay over the parameter controls until Button1 is clicked.
    QFrame *Panel13;
    QLabel *Label108, *Label110, *Label109;

    QGroupBox *GroupBox24; // clock correction
    QLabel *Label106, *Label107;
    QLineEdit *EditCALVAL;
    QComboBox *ComboBoxCALDIR;
    QGroupBox *GroupBox41; // battery type
    QComboBox *ComboBoxBatteryType;
    QCheckBox *CheckBoxFWUpdateEnable, *CheckBoxCRCCheckDisable;

    // Reading and programming the parameters (the main window's handlers).
    QLabel *LabelSysParMsg;
    QProgressBar *ProgressBarSysPar;
    QPushButton *BitBtnReadSysPar, *BitBtnProgSysPar;

private:
    pagectl::FieldBindings fields_;
};
