#pragma once
// The controls of the larger model's pages (perimeters, their keys, linked
// inputs and reactions): the form carries them hidden; no tree node shows
// them, and they edit nothing of this controller's configuration.
#include "configurator/pages/ConfigPage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;
class TStringGrid;

class PageLargerModel : public ConfigPage {
    Q_OBJECT
public:
    explicit PageLargerModel(PageContext &context, QWidget *parent = nullptr);

    bool HasValues(int page) const override;

    QGroupBox *GroupBox46;
    QLabel *Label164, *Label192, *Label166, *Label165, *LabelRedirectToOut, *Label69;
    QRadioButton *RadioButtonPerimPulsAD, *RadioButtonPerimPulsARM, *RadioButtonPerimTouchAD;
    // Keys of a perimeter: "#", "L", key code, user name.
    TStringGrid *StringGridPerimTouch;
    QGroupBox *GroupBoxLinkedInsToPers;
    std::array<QCheckBox *, 16> CheckBoxInputLinkType{}; // CheckBoxInput<n>LinkType
    // Reactions of a perimeter: countdown, "ОХРАНА", "НАБЛЮДЕНИЕ".
    QGroupBox *GroupBox48, *GroupBox49, *GroupBox47;
    std::array<QComboBox *, 7> ComboBoxPCDtoRele{}, ComboBoxPArmToRele{}, ComboBoxPDisarmToRele{};
};
