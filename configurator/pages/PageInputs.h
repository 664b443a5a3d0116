#pragma once
// Page 13: settings common to all inputs, and the input wiring picture.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

class QComboBox;
class QGroupBox;
class QLabel;

class PageInputs : public ConfigPage {
    Q_OBJECT
public:

    explicit PageInputs(PageContext &context, QWidget *parent = nullptr);

    void Enter(int page) override;
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    QGroupBox *GroupBox45;
    QLabel *Label162;
    QComboBox *ComboBoxNoScaningTimeAftArm;
    QComboBox *ComboBoxNoScaningTimeAftReset;
    // " Порт питания датчиков (10VS) "
    QGroupBox *GroupBox17;
    QLabel *Label82;
    QComboBox *ComboBoxPortPwrSensAllOn;
    // " Питание по шлейфу со сбросом "
    QGroupBox *GroupBox18;
    QLabel *Label96;
    QComboBox *ComboBoxLoopPwrResetTime;
    // The wiring picture; the window may replace its picture from a file.
    QLabel *ImageQRV240Ins;

private:
    pagectl::FieldBindings fields_;
};
