#pragma once
// Page 12: Arm In, touch keys.
#include "configurator/pages/ConfigPage.h"
#include "configurator/pages/PageControls.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class TStringGrid;
class TUpDown;

// The key-code text of a free row of the key table: 16 blanks.
extern const QString FreeKeyCode;

class PageArmIn : public ConfigPage {
    Q_OBJECT
public:
    explicit PageArmIn(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label21; }
    void Enter(int page) override;
    void AfterShow(int page) override;
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // Reactions of the key table and the arming delay.
    QString StringGrid1GetEditMask(int col, int row) const;
    void StringGrid1SelectCell(int col, int row);
    void StringGrid1RowMoved(int fromRow, int toRow);
    void StringGrid1TopLeftChanged();
    void EditDelayARMChange();

    // Live-state display, GUI thread: a key read by the controller goes into
    // the first free row unless the table knows it already.
    void LearnTouchKey(const QString &code);
    // Label21 and Label163 turn red while a key is being read, else take
    // their parent's colour.
    void MarkKeyRead(bool read);

    QLabel *Label21;

    QGroupBox *GroupBox11;
    QComboBox *ComboBoxArmInMode;
    QLabel *Label25;
    QLineEdit *EditDelayARM;
    TUpDown *UpDownDelayARM;

    // Reactions of the relays and outputs 1..7 (index 0..6) and the profile
    // applied: countdown started, "ОХРАНА", "НАБЛЮДЕНИЕ", and (hidden) "ЗАЩИТА".
    QGroupBox *GroupBox4, *GroupBox5, *GroupBox7, *GroupBox43;
    std::array<QComboBox *, 7> ComboBoxCDtoRele{}, ComboBoxArmToRele{}, ComboBoxDisarmToRele{}, ComboBoxRAtoRele{};
    std::array<QLabel *, 7> CDtoLabels{}, ArmToLabels{}, DisarmToLabels{}, RAtoLabels{};
    QComboBox *ComboBoxCDtoProfile, *ComboBoxArmToProfile, *ComboBoxDisarmToProfile, *ComboBoxRAtoProfile;

    // Inputs watched in the "ЗАЩИТА" mode; hidden. Boxes 1..8 are stored.
    QGroupBox *GroupBoxProtectModeLink;
    std::array<QCheckBox *, 16> CheckBoxRestrArmMode{};

    // Rows 1..32: column 1 the key code, column 2 the user name.
    TStringGrid *StringGrid1;
    QLabel *LabelTouchActionDiscription;
    QLabel *Label163;

private:
    void BuildKeyTable(QWidget *body);

    pagectl::FieldBindings perimeter_;
};
