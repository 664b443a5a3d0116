#pragma once
// Pages 2-9: connections 1..8, one set of controls for the eight records.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class TMaskEdit;
struct NotificationSources;

// The message-source boxes of one kind of notification. Input[n - 1] is
// CheckBoxMask?Input<n>; Arm[0] is CheckBoxMask?Arm, Arm[k] CheckBoxMask?Arm<k + 1>,
// and the same of Disarm.
struct SourceBoxes {
    std::array<QCheckBox *, 16> Input{};
    std::array<QCheckBox *, 4> Arm{};
    std::array<QCheckBox *, 4> Disarm{};
    QCheckBox *RestrictedArm = nullptr;
    QCheckBox *Power = nullptr;
    QCheckBox *Test = nullptr;
    QCheckBox *GPS = nullptr;
    // In the group box's child order; property "Tag" holds each box's
    // exclusivity group.
    std::vector<QCheckBox *> Ordered;
};

class PageConnection : public ConfigPage {
    Q_OBJECT
public:
    explicit PageConnection(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label74; }
    void Enter(int page) override;
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // The incoming-call combo box's hint := its text.
    void ComboBoxIncomungCallActionChange();
    // "Голосовое SB": one group of voice sources, and a dropped call counts as delivered.
    void ComboBoxConnectionTypeChange();
    // A voice-source box clicked by the user: in "Голосовое SB" the boxes of
    // the other groups are unchecked.
    void CheckBoxMaskDInput1Click(QCheckBox *sender);

    QLabel *Label74;
    QLabel *Label75;
    TMaskEdit *MaskEditPhone;
    QLabel *Label85;
    QComboBox *ComboBoxTransportPriority;
    QLabel *Label161;
    QComboBox *ComboBoxGroupNum;
    QLabel *Label32;
    QComboBox *ComboBoxIncomungCallAction;
    QLabel *LabelConnType;
    QComboBox *ComboBoxConnectionType;
    QGroupBox *GroupBoxInCallToOutsAction;
    QComboBox *ComboBoxICToOUOutN;
    QComboBox *ComboBoxICToOUScnN;

    QGroupBox *GroupBoxConSharD;
    QCheckBox *CheckBoxCallEn;
    QLabel *Label81;
    QComboBox *ComboBoxOnLineTime;
    QLabel *Label77;
    QComboBox *ComboBoxDialTranspWaitTime;
    QCheckBox *CheckBoxNotACK;
    QGroupBox *GroupBoxConDial;
    SourceBoxes MaskD; // CheckBoxMaskD*, "ЗАЩИТА" is CheckBoxMaskCRestrictedArm

    QGroupBox *GroupBoxConSharS;
    QCheckBox *CheckBoxSMSEn;
    QLabel *Label78;
    QComboBox *ComboBoxSMSTranspWaitTime;
    QLabel *LabelProtocolAlias;
    QComboBox *ComboBoxLang;
    QLabel *Label67;
    QComboBox *ComboBoxUserId;
    QCheckBox *CheckBoxDebugMode;
    QCheckBox *CheckBoxJointUse;
    QGroupBox *GroupBoxConSMS;
    SourceBoxes MaskS; // CheckBoxMaskS*

private:
    void UncheckOtherGroups(QCheckBox *kept);
    void StoreSources(FieldView record, const NotificationSources &fields, const SourceBoxes &boxes);
    void ShowSources(ConstFieldView record, const NotificationSources &fields, const SourceBoxes &boxes, bool clicks);

    pagectl::FieldBindings fields_;
    // Set while the page is filled: the program's changes are no clicks.
    bool filling_ = false;
};
