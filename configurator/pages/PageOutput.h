#pragma once
// Pages 19-22: relay 1, relay 2, output 1, output 2, one set of controls for
// the four output records. Showing a page also lists every configured event
// that drives this relay or output.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;

class PageOutput : public ConfigPage {
    Q_OBJECT
public:

    explicit PageOutput(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label6; }
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // The lines of MemoRsOutsStimulus for output `output` (OutputNumber).
    QStringList StimulusLines(const ConfigImage &image, int output) const;

    QLabel *Label6;
    QCheckBox *CheckBoxReleEn;
    QLabel *Label7;
    QComboBox *ComboBoxReleName;
    QLabel *Label92;
    QComboBox *ComboBoxReleNameAct;
    QLabel *Label104;
    QComboBox *ComboBoxReleNameDeact;
    QCheckBox *CheckBoxReleInversion;
    QLabel *Label90;
    QComboBox *ComboBoxCommType;
    QCheckBox *CheckBoxRemoteControlEn;
    QGroupBox *GroupBoxRsOutsStimulus;
    QPlainTextEdit *MemoRsOutsStimulus;

private:
    pagectl::FieldBindings fields_;
};
