#pragma once
// Page 0: root page, live state, identity, device action status.
#include "configurator/pages/ConfigPage.h"
#include "toolkit/TextRules.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLocale;
class QProgressBar;
class QPushButton;

// The money format of a locale: its currency symbol and where it stands,
// its decimal and group separators, two decimals.
CurrencyFormat LocaleCurrencyFormat(const QLocale &locale);

class PageLiveState : public ConfigPage {
    Q_OBJECT
public:
    explicit PageLiveState(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label30; }
    void Enter(int page) override;
    bool HasValues(int page) const override;

    // Live-state display, GUI thread; the polling thread posts these.
    void ShowSignalQuality(quint8 quality);
    void ShowBalance(bool valid, float balance);
    void ShowArmState(quint8 state);
    void ShowLedMask(quint16 mask);
    void ShowOutputMask(quint8 mask);

    // ComboBoxTestOut := the first four output names, ComboBoxTestScen := the
    // 14 scenario actions, both at item 0; from the current (translated) texts.
    void FillTestCombos();

    QLabel *Label30;

    // Identity of the controller last identified (filled by the main window).
    QGroupBox *GroupBox15;
    QLabel *Label48, *Label51, *Label52, *Label54, *Label22, *Label55, *Label105, *Label57, *Label56, *Label68;
    QLabel *iDeviceNameLabel, *iModificationLabel, *iHardVerLabel, *iSoftVerLabel, *iBLLabel, *iDateLabel,
        *iLabelCountryCode, *iLabelDevSNLocked, *iGSMIMEILabel, *iLabelDevSN;
    QPushButton *Button21;

    QGroupBox *GroupBoxGSM;
    QProgressBar *ProgressBarSignalQuality;
    QLabel *LabelGSMState;
    QLabel *LabelBalans;

    // Mode, hidden until the main window shows it at start-up.
    QGroupBox *GroupBoxMaunPerimInfo;
    QLabel *Label111;
    QLabel *PanelArmDisarmStatus;
    QPushButton *Button18, *Button19, *Button22;
    // The larger model's perimeter modes; hidden.
    QGroupBox *GroupBoxPerimetersInfo;
    QPushButton *Button23, *Button24;

    // Inputs 1..16: PanelLed[i] is PanelLed<i+1>, its caption label
    // LedLabels[i] ("5" is Label117), and InputButtons[t] the button whose Tag
    // is t (Button25, Button27..Button32, Button26, Button33, Button35..Button40, Button34).
    QGroupBox *GroupBoxInputIndicator;
    QFrame *BevelInputIndicator;
    std::array<QLabel *, 16> PanelLed{};
    std::array<QLabel *, 16> LedLabels{};
    std::array<QPushButton *, 16> InputButtons{};

    // Relays and outputs 1..7: PanelOut[i] is PanelOut<i+1>; OutputOnButtons[t]
    // is Button<4+2t> "Вкл.", OutputOffButtons[t] Button<5+2t> "Выкл.", Tag t.
    QGroupBox *GroupBoxOutIndicator;
    std::array<QLabel *, 7> PanelOut{};
    std::array<QLabel *, 7> OutLabels{};
    std::array<QPushButton *, 7> OutputOnButtons{};
    std::array<QPushButton *, 7> OutputOffButtons{};

    QGroupBox *GroupBox28;
    QComboBox *ComboBoxTestOut;
    QComboBox *ComboBoxTestScen;
    QPushButton *Button20;

    // Device actions report here.
    QLabel *ActionName;
    QProgressBar *ProgressBar1;
    QCheckBox *CheckBoxClearSaveArea;
    QLabel *Label112;
    // Status label of the background operations; never shown.
    QLabel *TMPLabel;

private:
    void BuildIdentity(QWidget *body);
    void BuildInputIndicators(QWidget *body);
    void BuildOutputIndicators(QWidget *body);
};
