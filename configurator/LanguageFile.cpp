#include "configurator/LanguageFile.h"
#include "toolkit/ExceptionReport.h"
#include "configurator/Main.h"
#include "toolkit/widgets/StringGrid.h"
#include "configurator/SupportedVersions.h"
#include "toolkit/WholeFile.h"
#include "toolkit/Win1251.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTreeWidgetItem>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace {

// How a step of the line table changes its targets. The first group reads
// lines; the second reads none and runs right after the step before it.
enum class Rule {
    Caption,              // each target's caption := its line
    Framed,               // each target's caption := " " + line + " "
    Menu,                 // each menu item's caption := its line (not its action's)
    Items,                // items first.. of the combo box := the lines
    AppendItems,          // the lines appended to the combo box
    Entries,              // entries first.. of a text list := the lines
    FramedEntries,        // the same, framed
    EntriesAlike,         // entries first..first+count-1 := one line
    AppendEntries,        // the lines appended to a text list
    Text,                 // a single text := the line
    HeaderCells,          // cells (first.., 0) of the grid := the lines
    WindowCaption,        // the window's caption := line + " QRV240"
    TreeTexts,            // the 44 node texts of the larger model's tree, into the 25 nodes
    SchedulerCorner,      // cell (0, 0) := " " + line, cell (1, 0) := ""
    CommType,             // the switching types: the line, then the 14 scenario texts

    CopyCaption,          // "target=source": the target's caption := the source's
    Hide,
    NoHint,
    ItemsFrom,            // every item i of the combo boxes := entry i of the list
    CaptionsFromEntries,  // caption of target i := entry first + i of the list
    EntriesFromCaptions,  // entry first + i of the list := caption of target i
    ClearItems,           // the combo boxes' items and edit text go
    ClearEntries,
    SelectFirst,
    FixedCell,            // cell (first, 0) of the grid := value
    TimeZones,            // the 26 offsets without place names, none selected
    SchedulerCombos,      // the grid's cell combo boxes from the action lists
    PerimeterHeader,      // the perimeter key table's header from the key table's
    NodeCaption,          // the target's caption := the text of tree node `first`
};

constexpr int After = 0;

struct Step {
    int line; // the first line read, or After
    Rule rule;
    // Blank-separated names; "Name{1-16}" stands for Name1 .. Name16.
    const char *targets = "";
    QStringList FormTexts::*list = nullptr;
    QString FormTexts::*text = nullptr;
    int first = 0;
    int count = 0;
    const char *value = "";
};

using R = Rule;
using T = FormTexts;

// The file's lines in file order; lines no step names are not used.
constexpr Step steps[] = {
    {After, R::Hide, "GroupBoxRsOutsStimulus"},
    {1, R::WindowCaption},
    {3, R::Menu, "N1 N2 N3 N13 N7 N8 COMPortSetup N9 N10 N11 N12 ReadIMEICode1 Reconfigurate1 Reset1 N5 N15"},
    {After, R::CopyCaption,
     "SpeedButton6=N10 SpeedButton8=N11 SpeedButton1=N12 SpeedButton4=Reconfigurate1 SpeedButton9=Reset1"},
    {After, R::NoHint,
     "SpeedButton6 SpeedButton8 SpeedButton1 SpeedButton4 SpeedButton9 SpeedButton7 SpeedButton2 SpeedButton3"},
    {20, R::TreeTexts, "Label30"},

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
    {After, R::TimeZones, "ComboBoxTimeZone"},
    {199, R::Caption, "CheckBoxDSTEnable"},
    {200, R::Framed, "GroupBoxInfoMsgContent"},
    {After, R::CopyCaption, "CheckBoxInfoIn{1-16}=CheckBoxMaskDInput{1-16} CheckBoxInfoR{1-7}=Label{121-127}"},
    {201, R::Framed, "GroupBox3"},
    {202, R::SchedulerCorner, "StringGrid3"},
    {203, R::HeaderCells, "StringGrid3", nullptr, nullptr, 2, 12},
    {215, R::Entries, "", &T::EventActionNames, nullptr, 0, 10},
    {After, R::SchedulerCombos, "StringGrid3"},

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
    {After, R::PerimeterHeader, "StringGridPerimTouch StringGrid1"},
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
    {After, R::NodeCaption, "Label69", nullptr, nullptr, 13},

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
    {345, R::CommType, "ComboBoxCommType"},
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

constexpr int TreeTextCount = 44;
constexpr int LastLineRead = 408;

// ---- names

// The number of names a target list stands for.
constexpr int NameCount(std::string_view targets)
{
    int count = 0;
    std::size_t at = 0;
    while (at < targets.size()) {
        const std::size_t end = std::min(targets.find(' ', at), targets.size());
        const std::string_view token = targets.substr(at, end - at);
        at = end + 1;
        if (token.empty())
            continue;
        const std::size_t open = token.find('{');
        if (open == std::string_view::npos) {
            ++count;
            continue;
        }
        int from = 0;
        int to = 0;
        int *number = &from;
        for (std::size_t i = open + 1; i < token.size() && token[i] != '}'; ++i) {
            if (token[i] == '-')
                number = &to;
            else
                *number = *number * 10 + (token[i] - '0');
        }
        count += to - from + 1;
    }
    return count;
}

constexpr bool ReadsLines(Rule rule)
{
    return rule < Rule::CopyCaption;
}

constexpr int LinesOf(const Step &step)
{
    switch (step.rule) {
    case Rule::Caption:
    case Rule::Framed:
    case Rule::Menu: return NameCount(step.targets);
    case Rule::Items:
    case Rule::AppendItems:
    case Rule::Entries:
    case Rule::FramedEntries:
    case Rule::AppendEntries:
    case Rule::HeaderCells: return step.count;
    case Rule::TreeTexts: return TreeTextCount;
    default: return ReadsLines(step.rule) ? 1 : 0;
    }
}

// The steps read their lines in file order, none twice, none past LastLineRead.
constexpr bool StepsInFileOrder()
{
    int next = 1;
    for (const Step &step : steps) {
        if (step.line == After) {
            if (ReadsLines(step.rule))
                return false;
            continue;
        }
        if (!ReadsLines(step.rule) || step.line < next)
            return false;
        next = step.line + LinesOf(step);
    }
    return next == LastLineRead + 1;
}
static_assert(StepsInFileOrder());
static_assert(LastLineRead < LanguageFileLineCount);

// "Name{1-3}" -> Name1, Name2, Name3.
QStringList Expand(QStringView token)
{
    const qsizetype open = token.indexOf(QLatin1Char('{'));
    if (open < 0)
        return {token.toString()};
    const qsizetype dash = token.indexOf(QLatin1Char('-'), open);
    const qsizetype close = token.indexOf(QLatin1Char('}'), open);
    const int from = token.sliced(open + 1, dash - open - 1).toInt();
    const int to = token.sliced(dash + 1, close - dash - 1).toInt();
    QStringList names;
    for (int n = from; n <= to; ++n)
        names << token.first(open).toString() + QString::number(n) + token.sliced(close + 1).toString();
    return names;
}

QList<QStringView> Tokens(const QString &targets)
{
    return QStringView(targets).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList Names(const char *targets)
{
    const QString text = QLatin1String(targets);
    QStringList names;
    for (QStringView token : Tokens(text))
        names << Expand(token);
    return names;
}

// "Target{1-2}=Source{1-2}" -> (Target1, Source1), (Target2, Source2).
QList<std::pair<QString, QString>> Pairs(const char *targets)
{
    const QString text = QLatin1String(targets);
    QList<std::pair<QString, QString>> pairs;
    for (QStringView token : Tokens(text)) {
        const qsizetype equals = token.indexOf(QLatin1Char('='));
        const QStringList to = Expand(token.first(equals));
        const QStringList from = Expand(token.sliced(equals + 1));
        for (qsizetype i = 0; i < to.size() && i < from.size(); ++i)
            pairs.append({to[i], from[i]});
    }
    return pairs;
}

// Every name a step touches, in the roles its rule gives them.
QStringList TouchedNames(const Step &step)
{
    if (step.rule != Rule::CopyCaption)
        return Names(step.targets);
    QStringList names;
    for (const auto &[to, from] : Pairs(step.targets))
        names << to << from;
    return names;
}

// ---- captions

QString Framed(const QString &text)
{
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

std::optional<QString> Caption(const QObject *target)
{
    if (const auto *action = qobject_cast<const QAction *>(target))
        return action->text();
    if (const auto *menu = qobject_cast<const QMenu *>(target))
        return menu->title();
    if (const auto *box = qobject_cast<const QGroupBox *>(target))
        return box->title();
    if (const auto *button = qobject_cast<const QAbstractButton *>(target))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(target))
        return label->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(target))
        return memo->toPlainText();
    return std::nullopt;
}

void SetCaption(QObject *target, const QString &text)
{
    if (auto *action = qobject_cast<QAction *>(target))
        action->setText(text);
    else if (auto *menu = qobject_cast<QMenu *>(target))
        menu->setTitle(text);
    else if (auto *box = qobject_cast<QGroupBox *>(target))
        box->setTitle(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(target)) {
        // A line is shown as written, never read as markup.
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
    }
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(target))
        memo->setPlainText(text);
}

// ---- combo boxes: none of these changes runs the box's handlers

void SetItems(QComboBox *combo, const QStringList &texts, int first = 0)
{
    const QSignalBlocker blocker(combo);
    for (int i = 0; i < texts.size() && first + i < combo->count(); ++i)
        combo->setItemText(first + i, texts[i]);
}

// Appends keep the selection (an emptied list keeps none).
void AppendItems(QComboBox *combo, const QStringList &texts)
{
    const QSignalBlocker blocker(combo);
    const int selected = combo->currentIndex();
    combo->addItems(texts);
    combo->setCurrentIndex(selected);
}

void ClearItems(QComboBox *combo)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->clearEditText();
}

void ReplaceItems(QComboBox *combo, const QStringList &texts)
{
    ClearItems(combo);
    AppendItems(combo, texts);
}

void Select(QComboBox *combo, int index)
{
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
}

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

// ---- applying

// The window's named objects: widgets first, then actions (a menu and its
// action share a name).
class Targets {
public:
    explicit Targets(const QWidget &form)
    {
        for (QWidget *widget : form.findChildren<QWidget *>())
            if (!widget->objectName().isEmpty() && !widgets_.contains(widget->objectName()))
                widgets_.insert(widget->objectName(), widget);
        for (QAction *action : form.findChildren<QAction *>())
            if (!action->objectName().isEmpty() && !actions_.contains(action->objectName()))
                actions_.insert(action->objectName(), action);
    }

    QObject *Object(const QString &name) const
    {
        QObject *object = widgets_.value(name);
        return object != nullptr ? object : actions_.value(name);
    }
    QAction *Action(const QString &name) const { return actions_.value(name); }
    template <class W>
    W *Get(const QString &name) const
    {
        return qobject_cast<W *>(widgets_.value(name));
    }

private:
    QHash<QString, QWidget *> widgets_;
    QHash<QString, QAction *> actions_;
};

class Application {
public:
    explicit Application(TForm1 &form) : form_(form), texts_(form.Texts()), targets_(form) {}

    // In file order (StepsInFileOrder): each step takes its own lines.
    void Run(const QStringList &lines)
    {
        for (const Step &step : steps)
            Apply(step, step.line == After ? QStringList() : lines.mid(step.line, LinesOf(step)));
    }

private:
    template <class W>
    QList<W *> Each(const Step &step) const
    {
        QList<W *> found;
        for (const QString &name : Names(step.targets))
            if (W *w = targets_.Get<W>(name))
                found << w;
        return found;
    }
    template <class W>
    W *One(const Step &step) const
    {
        return targets_.Get<W>(Names(step.targets).value(0));
    }

    void Apply(const Step &step, const QStringList &taken)
    {
        const QString line = taken.value(0);
        QStringList *list = step.list != nullptr ? &(texts_.*step.list) : nullptr;
        const QStringList names = Names(step.targets);
        switch (step.rule) {
        case Rule::Caption:
        case Rule::Framed:
            for (qsizetype i = 0; i < names.size() && i < taken.size(); ++i)
                SetCaption(targets_.Object(names[i]), step.rule == Rule::Framed ? Framed(taken[i]) : taken[i]);
            break;
        case Rule::Menu:
            for (qsizetype i = 0; i < names.size() && i < taken.size(); ++i)
                SetCaption(targets_.Action(names[i]), taken[i]);
            break;
        case Rule::Items:
            if (auto *combo = One<QComboBox>(step))
                SetItems(combo, taken, step.first);
            break;
        case Rule::AppendItems:
            if (auto *combo = One<QComboBox>(step))
                AppendItems(combo, taken);
            break;
        case Rule::Entries:
        case Rule::FramedEntries:
            for (qsizetype i = 0; i < taken.size() && step.first + i < list->size(); ++i)
                (*list)[step.first + i] = step.rule == Rule::FramedEntries ? Framed(taken[i]) : taken[i];
            break;
        case Rule::EntriesAlike:
            for (int i = step.first; i < step.first + step.count && i < list->size(); ++i)
                (*list)[i] = line;
            break;
        case Rule::AppendEntries: *list << taken; break;
        case Rule::Text: texts_.*step.text = line; break;
        case Rule::HeaderCells:
            if (auto *grid = One<TStringGrid>(step))
                for (qsizetype i = 0; i < taken.size(); ++i)
                    grid->SetCell(step.first + int(i), 0, taken[i]);
            break;
        case Rule::WindowCaption:
            form_.setWindowTitle(line + QLatin1Char(' ') + QLatin1String(SupportedModel));
            break;
        case Rule::TreeTexts: ApplyTreeTexts(taken); break;
        case Rule::SchedulerCorner:
            if (auto *grid = One<TStringGrid>(step)) {
                grid->SetCell(0, 0, QLatin1Char(' ') + line);
                grid->SetCell(1, 0, QString());
            }
            break;
        case Rule::CommType:
            if (auto *combo = One<QComboBox>(step))
                ReplaceItems(combo,
                             QStringList{line} + texts_.OutputActionNames.mid(ScenarioTextsFirst, ScenarioTextCount));
            break;
        case Rule::CopyCaption:
            for (const auto &[to, from] : Pairs(step.targets))
                if (const auto caption = Caption(targets_.Object(from)))
                    SetCaption(targets_.Object(to), *caption);
            break;
        case Rule::Hide:
            for (QWidget *widget : Each<QWidget>(step))
                widget->hide();
            break;
        case Rule::NoHint:
            for (QWidget *widget : Each<QWidget>(step))
                widget->setToolTip(QString());
            break;
        case Rule::ItemsFrom:
            for (QComboBox *combo : Each<QComboBox>(step))
                SetItems(combo, *list);
            break;
        case Rule::CaptionsFromEntries:
            for (qsizetype i = 0; i < names.size() && step.first + i < list->size(); ++i)
                SetCaption(targets_.Object(names[i]), list->at(step.first + i));
            break;
        case Rule::EntriesFromCaptions:
            for (qsizetype i = 0; i < names.size() && step.first + i < list->size(); ++i)
                if (const auto caption = Caption(targets_.Object(names[i])))
                    (*list)[step.first + i] = *caption;
            break;
        case Rule::ClearItems:
            for (QComboBox *combo : Each<QComboBox>(step))
                ClearItems(combo);
            break;
        case Rule::ClearEntries: list->clear(); break;
        case Rule::SelectFirst:
            if (auto *combo = One<QComboBox>(step))
                Select(combo, 0);
            break;
        case Rule::FixedCell:
            if (auto *grid = One<TStringGrid>(step))
                grid->SetCell(step.first, 0, QLatin1String(step.value));
            break;
        case Rule::TimeZones:
            if (auto *combo = One<QComboBox>(step))
                ReplaceItems(combo, TimeZoneItems());
            break;
        case Rule::SchedulerCombos: ApplySchedulerCombos(One<TStringGrid>(step)); break;
        case Rule::PerimeterHeader:
            ApplyPerimeterHeader(targets_.Get<TStringGrid>(names.value(0)), targets_.Get<TStringGrid>(names.value(1)));
            break;
        case Rule::NodeCaption: SetCaption(targets_.Object(names.value(0)), form_.NodeText(step.first)); break;
        }
    }

    void ApplyTreeTexts(const QStringList &treeTexts)
    {
        for (int node = 0; node < PageCount; ++node)
            if (QTreeWidgetItem *item = form_.Node(node))
                item->setText(0, treeTexts.value(TreeTextEntry(node)));
        if (QTreeWidgetItem *root = form_.Node(0)) {
            root->setText(0, treeTexts.value(0) + ModelSuffix());
            SetCaption(targets_.Object(QStringLiteral("Label30")), root->text(0));
        }
    }

    void ApplySchedulerCombos(TStringGrid *grid)
    {
        if (grid == nullptr)
            return;
        for (int row = 1; row < grid->RowCount(); ++row) {
            if (auto *reaction = qobject_cast<QComboBox *>(grid->Object(SchedulerReactionColumn, row)))
                SetItems(reaction, texts_.OutputActionNames);
            if (auto *action = qobject_cast<QComboBox *>(grid->Object(SchedulerActionColumn, row)))
                SetItems(action, texts_.EventActionNames);
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

    TForm1 &form_;
    FormTexts &texts_;
    Targets targets_;
};

// ---- the kinds of target each rule can change

enum class Kind { None, Captioned, MenuItem, Combo, Grid, Widget };

Kind KindOf(Rule rule)
{
    switch (rule) {
    case Rule::Caption:
    case Rule::Framed:
    case Rule::TreeTexts:
    case Rule::CopyCaption:
    case Rule::CaptionsFromEntries:
    case Rule::EntriesFromCaptions:
    case Rule::NodeCaption: return Kind::Captioned;
    case Rule::Menu: return Kind::MenuItem;
    case Rule::Items:
    case Rule::AppendItems:
    case Rule::CommType:
    case Rule::ItemsFrom:
    case Rule::ClearItems:
    case Rule::SelectFirst:
    case Rule::TimeZones: return Kind::Combo;
    case Rule::HeaderCells:
    case Rule::SchedulerCorner:
    case Rule::FixedCell:
    case Rule::SchedulerCombos:
    case Rule::PerimeterHeader: return Kind::Grid;
    case Rule::Hide:
    case Rule::NoHint: return Kind::Widget;
    default: return Kind::None;
    }
}

QString KindFault(const Targets &targets, const QString &name, Kind kind)
{
    QObject *object = kind == Kind::MenuItem ? targets.Action(name) : targets.Object(name);
    if (object == nullptr)
        return QStringLiteral("missing");
    switch (kind) {
    case Kind::Captioned: return Caption(object) ? QString() : QStringLiteral("has no caption");
    case Kind::Combo: return targets.Get<QComboBox>(name) ? QString() : QStringLiteral("not a combo box");
    case Kind::Grid: return targets.Get<TStringGrid>(name) ? QString() : QStringLiteral("not a string grid");
    case Kind::Widget: return targets.Get<QWidget>(name) ? QString() : QStringLiteral("not a control");
    default: return QString();
    }
}

} // namespace

QStringList SplitLanguageLines(QByteArrayView bytes)
{
    const QString text = FromWin1251(bytes);
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        lines << text.sliced(start, end - start);
        if (end < text.size() && text[end] == QLatin1Char('\r'))
            ++end;
        if (end < text.size() && text[end] == QLatin1Char('\n'))
            ++end;
        start = end;
    }
    return lines;
}

std::optional<QStringList> ReadLanguageFile(const QString &fileName)
{
    const OptionalFile file = ReadOptionalFile(fileName, MaxLanguageFileSize);
    if (file.status == OptionalFile::Missing)
        return std::nullopt;
    if (file.status == OptionalFile::Unreadable)
        throw std::runtime_error(
            QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(fileName, file.error).toStdString());
    QStringList lines = SplitLanguageLines(file.bytes);
    if (lines.size() != LanguageFileLineCount || lines[0] != QLatin1String(LanguageFileHeader))
        return std::nullopt;
    return lines;
}

void ApplyLanguageLines(TForm1 &form, const QStringList &lines)
{
    if (lines.size() != LanguageFileLineCount)
        return;
    Application(form).Run(lines);
}

void ApplyLanguageFileTo(TForm1 &form, const QString &fileName)
{
    std::optional<QStringList> lines;
    try {
        lines = ReadLanguageFile(fileName);
    } catch (const std::exception &) {
        ApplicationHandleException(std::current_exception());
        return;
    }
    if (lines)
        ApplyLanguageLines(form, *lines);
}

QStringList LanguageTargetFaults(const TForm1 &form)
{
    const Targets targets(form);
    QStringList faults;
    auto note = [&faults](const QString &name, const QString &fault) {
        const QString entry = name + QStringLiteral(": ") + fault;
        if (!fault.isEmpty() && !faults.contains(entry))
            faults << entry;
    };
    for (const Step &step : steps)
        for (const QString &name : TouchedNames(step))
            note(name, KindFault(targets, name, KindOf(step.rule)));

    const auto *scheduler = targets.Get<TStringGrid>(QStringLiteral("StringGrid3"));
    for (int row = 1; scheduler != nullptr && row < scheduler->RowCount(); ++row)
        for (int col : {SchedulerActionColumn, SchedulerReactionColumn})
            if (qobject_cast<QComboBox *>(scheduler->Object(col, row)) == nullptr)
                note(QStringLiteral("StringGrid3"), QStringLiteral("no combo box over cell (%1, %2)").arg(col).arg(row));
    if (form.Node(PageCount - 1) == nullptr || form.Node(PageCount) != nullptr)
        note(QStringLiteral("TreeView1"), QStringLiteral("does not hold %1 nodes").arg(PageCount));
    return faults;
}
