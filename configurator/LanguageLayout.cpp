#include "configurator/LanguageLayout.h"
#include "configurator/FormTexts.h"
#include "configurator/PageTree.h"
#include "configurator/core/SupportedVersions.h"
#include "toolkit/widgets/StringGrid.h"

#include <QComboBox>
#include <QTreeWidgetItem>

#include <string_view>

namespace {

constexpr int TreeTextCount = 44;
constexpr int LastLineRead = 408;
// The window's caption: the line, then the model.
constexpr char WindowCaptionPattern[] = "%1 QRV240";
static_assert(std::string_view(WindowCaptionPattern).ends_with(SupportedModel));

struct Language {
    using Texts = FormTexts;
    // The rules only this file has.
    enum class Own {
        TreeTexts,       // the 44 node texts of the larger model's tree, into the 25 nodes
        SchedulerCorner, // cell (0, 0) := " " + line, cell (1, 0) := ""
        CommType,        // the switching types: the line, then the 14 scenario texts
        TimeZones,       // the 26 offsets without place names, none selected
        SchedulerCombos, // the grid's cell combo boxes from the action lists
        PerimeterHeader, // the perimeter key table's header from the key table's
        NodeCaption,     // the target's caption := the text of tree node `first`
    };
    static constexpr language::OwnRule Describe(Own rule)
    {
        using language::Target;
        switch (rule) {
        case Own::TreeTexts: return {TreeTextCount, Target::Captioned};
        case Own::SchedulerCorner: return {1, Target::Grid};
        case Own::CommType: return {1, Target::Combo};
        case Own::TimeZones: return {0, Target::Combo};
        case Own::SchedulerCombos:
        case Own::PerimeterHeader: return {0, Target::Grid};
        case Own::NodeCaption: return {0, Target::Captioned};
        }
        return {0, Target::None};
    }
};

using Step = language::Step<Language>;
using R = language::Rule;
using O = Language::Own;
using T = FormTexts;
constexpr int After = language::After;

// The file's lines in file order; lines no step names are not used.
constexpr Step steps[] = {
    {After, R::Hide, "GroupBoxRsOutsStimulus"},
    {1, R::WindowCaption, "", nullptr, nullptr, 0, 0, WindowCaptionPattern},
    {3, R::Menu, "N1 N2 N3 N13 N7 N8 COMPortSetup N9 N10 N11 N12 ReadIMEICode1 Reconfigurate1 Reset1 N5 N15"},
    {After, R::CopyCaption,
     "SpeedButton6=N10 SpeedButton8=N11 SpeedButton1=N12 SpeedButton4=Reconfigurate1 SpeedButton9=Reset1"},
    {After, R::NoHint,
     "SpeedButton6 SpeedButton8 SpeedButton1 SpeedButton4 SpeedButton9 SpeedButton7 SpeedButton2 SpeedButton3"},
    {20, O::TreeTexts, "Label30"},

    // The root page.
    {65, R::Framed, "GroupBox15"},
    {66, R::Caption, "Label48 Label51 Label52 Label54 Label22 Label55 Label105 Label56 Label68 Button21"},
    {76, R::Framed, "GroupBoxPerimetersInfo"},
    {After, R::CopyCaption, "GroupBoxMaunPerimInfo=GroupBoxPerimetersInfo"},
    {77, R::Caption, "Button18 Button19 Button22"},
    {After, R::CopyCaption, "Button23=Button18 Button24=Button19"},
    {After, R::EntriesFromCaptions, "Button18 Button19 Button22", &T::ModeNames},
    {80, R::Caption, "Label111"},
    {81, R::Framed, "GroupBoxInputIndicator GroupBoxOutIndicator"},
    {83, R::Caption, "Button4"},
    {After, R::CopyCaption,
     "Button6=Button4 Button8=Button4 Button10=Button4 Button12=Button4 Button14=Button4 Button16=Button4"},
    {84, R::Caption, "Button5"},
    {After, R::CopyCaption,
     "Button7=Button5 Button9=Button5 Button11=Button5 Button13=Button5 Button15=Button5 Button17=Button5"},
    {85, R::Framed, "GroupBox28"},
    {86, R::Caption, "Button20 CheckBoxClearSaveArea"},
    {After, R::Hide, "Label112"},
    {88, R::Entries, "", &T::OutputNames, nullptr, 0, 7},
    {95, R::Entries, "", &T::OutputActionNames, nullptr, 0, 17},

    // General connection parameters.
    {113, R::Framed, "GroupBox6"},
    {114, R::Caption,
     "CheckBoxSysPassword Label84 Label72 Label73 Label70 Label8 CheckBoxDTMFControlOnlyList "
     "CheckBoxControlOnlyList CheckBoxACK Label131"},
    {124, R::Framed, "GroupBox13"},
    {After, R::Hide, "GroupBox16"},
    {125, R::Caption, "Label49 Label50 Label41 Label42 StaticText1"},
    {130, R::Framed, "GroupBox12"},
    {131, R::Caption, "Label128"},
    {After, R::ClearItems, "ComboBoxDialPriority"},
    {132, R::AppendItems, "ComboBoxDialPriority", nullptr, nullptr, 0, 4},
    {136, R::Caption, "Label129"},

    // Connections.
    {138, R::Caption, "Label75 Label161 Label85"},
    {141, R::Items, "ComboBoxTransportPriority", nullptr, nullptr, 0, 3},
    {After, R::SelectFirst, "ComboBoxTransportPriority"},
    {144, R::Caption, "Label32"},
    {145, R::Items, "ComboBoxIncomungCallAction", nullptr, nullptr, 0, 4},
    {After, R::SelectFirst, "ComboBoxIncomungCallAction"},
    {149, R::Framed, "GroupBoxInCallToOutsAction"},
    {After, R::ItemsFrom, "ComboBoxICToOUOutN", &T::OutputNames},
    {After, R::ItemsFrom, "ComboBoxICToOUScnN", &T::OutputActionNames},
    {150, R::Framed, "GroupBoxConSharD"},
    {151, R::Caption, "CheckBoxCallEn"},
    {After, R::CopyCaption, "CheckBoxSMSEn=CheckBoxCallEn"},
    {152, R::Caption, "Label81"},
    {153, R::Items, "ComboBoxOnLineTime", nullptr, nullptr, 0, 2},
    {155, R::Caption, "CheckBoxNotACK Label77"},
    {After, R::CopyCaption, "Label78=Label77"},
    {157, R::Framed, "GroupBoxConDial"},
    {After, R::CopyCaption, "GroupBoxConSMS=GroupBoxConDial"},
    {158, R::Caption,
     "CheckBoxMaskDInput{1-16} CheckBoxMaskDPower CheckBoxMaskDTest CheckBoxMaskDArm CheckBoxMaskDDisarm "
     "CheckBoxMaskCRestrictedArm CheckBoxMaskDArm2 CheckBoxMaskDDisarm2 CheckBoxMaskDArm3 CheckBoxMaskDDisarm3 "
     "CheckBoxMaskDArm4 CheckBoxMaskDDisarm4"},
    {After, R::CopyCaption,
     "CheckBoxMaskSInput{1-16}=CheckBoxMaskDInput{1-16} CheckBoxMaskSPower=CheckBoxMaskDPower "
     "CheckBoxMaskSTest=CheckBoxMaskDTest CheckBoxMaskSArm=CheckBoxMaskDArm CheckBoxMaskSDisarm=CheckBoxMaskDDisarm "
     "CheckBoxMaskSRestrictedArm=CheckBoxMaskCRestrictedArm CheckBoxMaskSArm2=CheckBoxMaskDArm2 "
     "CheckBoxMaskSDisarm2=CheckBoxMaskDDisarm2 CheckBoxMaskSArm3=CheckBoxMaskDArm3 "
     "CheckBoxMaskSDisarm3=CheckBoxMaskDDisarm3 CheckBoxMaskSArm4=CheckBoxMaskDArm4 "
     "CheckBoxMaskSDisarm4=CheckBoxMaskDDisarm4"},
    {185, R::Caption, "LabelProtocolAlias"},
    {186, R::Items, "ComboBoxLang", nullptr, nullptr, 0, 2},
    {188, R::Caption, "Label67"},
    {189, R::Items, "ComboBoxUserId", nullptr, nullptr, 0, 2},
    {191, R::Caption, "CheckBoxDebugMode"},

    // Clock and scheduler.
    {193, R::Framed, "GroupBox8"},
    {194, R::Caption, "Label16 Label28 Button2 Button3 Label130"},
    {After, O::TimeZones, "ComboBoxTimeZone"},
    {199, R::Caption, "CheckBoxDSTEnable"},
    {200, R::Framed, "GroupBoxInfoMsgContent"},
    {After, R::CopyCaption, "CheckBoxInfoIn{1-16}=CheckBoxMaskDInput{1-16} CheckBoxInfoR{1-7}=Label{121-127}"},
    {201, R::Framed, "GroupBox3"},
    {202, O::SchedulerCorner, "StringGrid3"},
    {203, R::HeaderCells, "StringGrid3", nullptr, nullptr, 2, 12},
    {215, R::Entries, "", &T::EventActionNames, nullptr, 0, 10},
    {After, O::SchedulerCombos, "StringGrid3"},

    // Power, temperature, indication, tamper.
    {226, R::Framed, "GroupBox9"},
    {227, R::Caption, "CheckBoxExtPowerFault CheckBoxExtPowerRec Label2 Label3"},
    {231, R::Framed, "GroupBox21 GroupBox29"},
    {233, R::Caption, "CheckBoxTemperatureEvent Label133 LabelTemperature Label132 Label134 Label135"},
    {After, R::ItemsFrom, "ComboBoxHiBorderOut ComboBoxLoBorderOut ComboBoxTamperActOutN", &T::OutputNames},
    {After, R::ItemsFrom, "ComboBoxHiBorderScn ComboBoxLoBorderScn ComboBoxTamperActScnN", &T::OutputActionNames},
    {239, R::Framed, "GroupBox1"},
    {240, R::Caption, "CheckBoxBatteryDischargeWarnEventEn CheckBoxBatteryDischargeAlarmEventEn"},
    {242, R::Framed, "GroupBox42"},
    {243, R::Caption, "CheckBoxTamperEnable Label157"},
    {245, R::Framed, "GroupBox23"},
    {246, R::Caption, "CheckBoxDisableLedsAtCoverClose"},
    {After, R::ClearEntries, "", &T::LedModeNames},
    {247, R::AppendEntries, "", &T::LedModeNames, nullptr, 0, 7},
    {254, R::Caption, "CheckBoxAlarmBlinking"},

    // Arm In.
    {256, R::Framed, "GroupBox11"},
    {257, R::Caption, "Label25"},
    {258, R::Framed, "GroupBoxProtectModeLink"},
    {After, R::CopyCaption, "CheckBoxRestrArmMode{1-16}=CheckBoxMaskDInput{1-16}"},
    {259, R::Framed, "GroupBox4 GroupBox5 GroupBox7 GroupBox43"},
    {After, R::CaptionsFromEntries, "Label29 Label9 Label53 Label58 Label59 Label60 Label61", &T::OutputNames},
    {After, R::CaptionsFromEntries, "Label13 Label11 Label43 Label44 Label45 Label46 Label47", &T::OutputNames},
    {After, R::CaptionsFromEntries, "Label154 Label153 Label155 Label156 Label158 Label159 Label160",
     &T::OutputNames},
    {After, R::CaptionsFromEntries, "Label20 Label18 Label62 Label63 Label64 Label65 Label71", &T::OutputNames},
    {After, R::ItemsFrom, "ComboBoxCDtoRele{1-7} ComboBoxArmToRele{1-7} ComboBoxRAtoRele{1-7} ComboBoxDisarmToRele{1-7}",
     &T::OutputActionNames},
    {After, R::FixedCell, "StringGrid1", nullptr, nullptr, 0, 0, "#"},
    {263, R::HeaderCells, "StringGrid1", nullptr, nullptr, 1, 2},
    {265, R::Text, "", nullptr, &T::KeyKnownPrefix},
    {266, R::Text, "", nullptr, &T::KeyKnownSuffix},
    {267, R::Text, "", nullptr, &T::KeyTableFullText},

    // The larger model's perimeters (line 276 is read without effect).
    {269, R::Caption, "Label164"},
    {270, R::Framed, "GroupBox46"},
    {271, R::Caption, "RadioButtonPerimPulsAD Label192"},
    {After, R::CopyCaption, "RadioButtonPerimPulsARM=RadioButtonPerimPulsAD"},
    {273, R::Caption, "Label166"},
    {After, R::CopyCaption, "RadioButtonPerimTouchAD=Label166"},
    {274, R::Caption, "Label165 LabelRedirectToOut"},
    {After, O::PerimeterHeader, "StringGridPerimTouch StringGrid1"},
    {277, R::Framed, "GroupBoxLinkedInsToPers"},
    {After, R::CopyCaption,
     "CheckBoxInput{1-16}LinkType=CheckBoxMaskDInput{1-16} GroupBox48=GroupBox4 GroupBox49=GroupBox5 "
     "GroupBox47=GroupBox7"},
    {After, R::CaptionsFromEntries, "Label175 Label174 Label176 Label177 Label178 Label179 Label180",
     &T::OutputNames},
    {After, R::CaptionsFromEntries, "Label182 Label181 Label183 Label184 Label185 Label186 Label187",
     &T::OutputNames},
    {After, R::CaptionsFromEntries, "Label168 Label167 Label169 Label170 Label171 Label172 Label173",
     &T::OutputNames},
    {After, R::ItemsFrom, "ComboBoxPCDtoRele{1-7} ComboBoxPArmToRele{1-7} ComboBoxPDisarmToRele{1-7}",
     &T::OutputActionNames},
    {After, O::NodeCaption, "Label69", nullptr, nullptr, 13},

    // Inputs.
    {279, R::Framed, "GroupBox45"},
    {280, R::Caption, "Label162"},
    {281, R::Framed, "GroupBox17"},
    {282, R::Caption, "Label82"},
    {283, R::Framed, "GroupBox18"},
    {284, R::Caption, "Label96"},
    {285, R::Items, "ComboBoxPortPwrSensAllOn", nullptr, nullptr, 0, 2},
    {288, R::Caption, "Label87 Label12 Label19 Label26"},
    {292, R::Items, "ComboBoxSensType", nullptr, nullptr, 0, 5},
    {After, R::ClearItems, "ComboBoxSensName ComboBoxSensActSt ComboBoxSensPassSt"},
    {297, R::Framed, "GroupBox2"},
    {298, R::Items, "ComboBoxSensActLevel", nullptr, nullptr, 0, 6},
    {304, R::Framed, "GroupBox10"},
    {305, R::Caption, "Label152 Label151 Label93 Label94 Label95 Label80"},
    {311, R::Items, "ComboBoxSensorPwrSource", nullptr, nullptr, 0, 3},
    {314, R::Caption, "CheckBox24HZone Label88"},
    {316, R::Framed, "GroupBoxFiltr"},
    {317, R::Caption, "Label100 Label103 Label99 Label89 Label91 Label76"},
    {323, R::Items, "ComboBoxAlarmTry", nullptr, nullptr, 0, 4},
    {327, R::Caption, "CheckBoxNotArmingAsActive"},
    {328, R::Framed, "GroupBox14"},
    {329, R::Caption, "StaticText2 Label35 Label193"},
    {332, R::Items, "ComboBoxReleToAlarm", nullptr, nullptr, 0, 3},
    {335, R::Framed, "GroupBoxInActActions GroupBoxInPasActions"},
    {After, R::CaptionsFromEntries, "Label102 Label101 Label24 Label27 Label31 Label33 Label34", &T::OutputNames},
    {After, R::CaptionsFromEntries, "Label98 Label97 Label36 Label37 Label38 Label39 Label40", &T::OutputNames},
    {After, R::ItemsFrom, "ComboBoxActRele{1-7} ComboBoxPassRele{1-7}", &T::OutputActionNames},

    // Relays and outputs.
    {338, R::EntriesAlike, "", &T::EnabledWords, nullptr, 0, 2},
    {339, R::Caption, "CheckBoxReleInversion Label7"},
    {After, R::ClearItems, "ComboBoxReleName"},
    {341, R::Caption, "Label92"},
    {After, R::ClearItems, "ComboBoxReleNameAct"},
    {342, R::Caption, "Label104"},
    {After, R::ClearItems, "ComboBoxReleNameDeact"},
    {343, R::Caption, "CheckBoxRemoteControlEn Label90"},
    {345, O::CommType, "ComboBoxCommType"},
    {346, R::FramedEntries, "", &T::StimulusCaptions, nullptr, 0, 2},

    // Scenarios.
    {349, R::Text, "", nullptr, &T::SignalShapeText},
    {350, R::Text, "", nullptr, &T::ScenarioNumberText},
    {351, R::Text, "", nullptr, &T::CycleText},
    {352, R::Text, "", nullptr, &T::HighLevelText},
    {353, R::Text, "", nullptr, &T::LowLevelText},
    {354, R::Caption, "Memo2"},

    // System parameters.
    {356, R::Caption, "Button1 Label108 Label110 Label109"},
    {360, R::Framed, "GroupBox24"},
    {361, R::Caption, "Label106 Label107"},
    {363, R::Items, "ComboBoxCALDIR", nullptr, nullptr, 0, 2},
    {365, R::Framed, "GroupBox41"},
    {366, R::Items, "ComboBoxBatteryType", nullptr, nullptr, 0, 2},
    {After, R::CopyCaption, "BitBtnProgSysPar=N10 BitBtnReadSysPar=N11"},
    {368, R::Caption, "CheckBoxFWUpdateEnable"},

    // Dialogs and threads.
    {370, R::Text, "", nullptr, &T::PortDialogCaption},
    {371, R::Text, "", nullptr, &T::PortOpenFailureText},
    {373, R::Text, "", nullptr, &T::AboutCaption},
    {374, R::Text, "", nullptr, &T::VersionLabelPrefix},
    {376, R::Entries, "", &T::GsmStateTexts, nullptr, 0, 12},
    {389, R::Entries, "", &T::StatusMessages, nullptr, 0, 20},
};

static_assert(language::InFileOrder(steps, LastLineRead));
static_assert(LastLineRead < LanguageFileLineCount);

QStringList TimeZoneItems()
{
    QStringList items;
    for (int offset = -12; offset <= 13; ++offset)
        items << (offset < 0 ? QStringLiteral("(GMT%1:00)") : QStringLiteral("(GMT+%1:00)")).arg(offset);
    return items;
}

// Node k of the tree takes TreeTexts entry k + the offset of its range.
struct NodeRange {
    int firstNode;
    int entryOffset;
};
constexpr NodeRange nodeRanges[] = {{0, 0}, {13, 4}, {18, 16}, {23, 19}};

int TreeTextEntry(int node)
{
    int offset = 0;
    for (const NodeRange &range : nodeRanges)
        if (node >= range.firstNode)
            offset = range.entryOffset;
    return node + offset;
}

QString ModelSuffix()
{
    return QLatin1Char(' ') + QLatin1String(SupportedModel) + QLatin1Char('-') + QLatin1String(SupportedModification);
}

constexpr int ScenarioTextsFirst = 3;
constexpr int ScenarioTextCount = 14;
constexpr int SchedulerActionColumn = 12;
constexpr int SchedulerReactionColumn = 13;

class OwnRules {
public:
    explicit OwnRules(const LanguageParts &parts) : parts_(parts) {}

    void operator()(const Step &step, const QStringList &taken, const language::Targets &targets) const
    {
        const QString line = taken.value(0);
        const QStringList names = language::Names(step.targets);
        const auto grid = [&](qsizetype i) { return targets.Get<TStringGrid>(names.value(i)); };
        const auto combo = [&] { return targets.Get<QComboBox>(names.value(0)); };
        switch (step.rule.own) {
        case O::TreeTexts: ApplyTreeTexts(taken, targets, names.value(0)); break;
        case O::SchedulerCorner:
            if (TStringGrid *scheduler = grid(0)) {
                scheduler->SetCell(0, 0, QLatin1Char(' ') + line);
                scheduler->SetCell(1, 0, QString());
            }
            break;
        case O::CommType:
            if (QComboBox *types = combo())
                language::ReplaceItems(types, QStringList{line} + parts_.texts.OutputActionNames.mid(
                                                                      ScenarioTextsFirst, ScenarioTextCount));
            break;
        case O::TimeZones:
            if (QComboBox *zones = combo())
                language::ReplaceItems(zones, TimeZoneItems());
            break;
        case O::SchedulerCombos: ApplySchedulerCombos(grid(0)); break;
        case O::PerimeterHeader: ApplyPerimeterHeader(grid(0), grid(1)); break;
        case O::NodeCaption: targets.SetCaption(names.value(0), NodeText(step.first)); break;
        }
    }

private:
    QString NodeText(int page) const
    {
        const QTreeWidgetItem *node = PageNode(parts_.tree, page);
        return node != nullptr ? node->text(0) : QString();
    }

    // The root's text, with the model after it, is also the label's caption.
    void ApplyTreeTexts(const QStringList &treeTexts, const language::Targets &targets, const QString &label) const
    {
        for (int node = 0; node < PageCount; ++node)
            if (QTreeWidgetItem *item = PageNode(parts_.tree, node))
                item->setText(0, treeTexts.value(TreeTextEntry(node)));
        if (QTreeWidgetItem *root = PageNode(parts_.tree, Pages::LiveState)) {
            root->setText(0, treeTexts.value(0) + ModelSuffix());
            targets.SetCaption(label, root->text(0));
        }
    }

    void ApplySchedulerCombos(TStringGrid *grid) const
    {
        if (grid == nullptr)
            return;
        const FormTexts &texts = parts_.texts;
        for (int row = 1; row < grid->RowCount(); ++row) {
            if (auto *reaction = qobject_cast<QComboBox *>(grid->Object(SchedulerReactionColumn, row)))
                language::SetItems(reaction, texts.OutputActionNames);
            if (auto *action = qobject_cast<QComboBox *>(grid->Object(SchedulerActionColumn, row)))
                language::SetItems(action, texts.EventActionNames);
        }
    }

    static void ApplyPerimeterHeader(TStringGrid *perimeter, const TStringGrid *keys)
    {
        if (perimeter == nullptr)
            return;
        perimeter->SetCell(0, 0, QStringLiteral("#"));
        perimeter->SetCell(1, 0, QStringLiteral("L"));
        if (keys != nullptr)
            for (int col = 1; col <= 2; ++col)
                perimeter->SetCell(col + 1, 0, keys->Cell(col, 0));
    }

    const LanguageParts &parts_;
};

} // namespace

void ApplyLanguageFileTo(const LanguageParts &parts, const QString &fileName)
{
    if (const std::optional<QStringList> lines = language::ReadFile(fileName, LanguageFileFormat))
        language::Apply(steps, *lines, parts.window, LanguageFileFormat, parts.texts, OwnRules(parts));
}

QStringList LanguageTargetFaults(const QWidget &window, const QTreeWidget &tree)
{
    QStringList faults = language::Faults(window, steps);
    const language::Targets targets(window, LanguageFileFormat.labels);
    const auto *scheduler = targets.Get<TStringGrid>(QStringLiteral("StringGrid3"));
    for (int row = 1; scheduler != nullptr && row < scheduler->RowCount(); ++row)
        for (int col : {SchedulerActionColumn, SchedulerReactionColumn})
            if (qobject_cast<QComboBox *>(scheduler->Object(col, row)) == nullptr)
                faults << QStringLiteral("StringGrid3: no combo box over cell (%1, %2)").arg(col).arg(row);
    if (PageNode(tree, PageCount - 1) == nullptr || PageNode(tree, PageCount) != nullptr)
        faults << QStringLiteral("TreeView1: does not hold %1 nodes").arg(PageCount);
    return faults;
}
