#pragma once
// The language files of both programs: a Windows-1251 text of a fixed number
// of lines, the first a fixed header, whose line n always replaces the same
// text. Each program keeps a table of steps (which lines go where, by rule
// and target names, in file order); this engine reads the file, finds the
// targets by name and applies the steps. A program's rules that no other
// file has stay with its table.
#include <QByteArrayView>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <Qt>

#include <algorithm>
#include <optional>
#include <string_view>

class QAction;
class QComboBox;
class QWidget;

namespace language {

enum class LineEnds {
    CrLfCrOrLf, // CR LF, or a CR or an LF alone
    CrLfOrLf,   // CR LF or LF; any other CR stays in its line, unless it ends the text
};

enum class Unreadable {
    Reported, // a file that exists but cannot be read goes to the exception report
    Ignored,  // it counts as no file
};

struct Format {
    int lineCount;
    const char *header; // line 0, exactly
    LineEnds lineEnds;
    Unreadable unreadable;
    // The format a label takes with its new caption; none: it keeps its own.
    std::optional<Qt::TextFormat> labels;
};

// A real file is a few tens of kilobytes.
inline constexpr qint64 MaxFileSize = 1024 * 1024;

// The lines of a text; a break after the last line adds no empty line.
QStringList SplitLines(QByteArrayView bytes, LineEnds ends);

// The lines of an acceptable file (the format's line count, line 0 its
// header); none when the file is missing, unreadable, no regular file,
// larger than MaxFileSize or not acceptable.
std::optional<QStringList> ReadFile(const QString &path, const Format &format);

// How a step changes its targets. The rules that read lines take them from
// the step's line on; the others read none and run right after the step
// before them. Own marks a rule of the program's own.
enum class Rule {
    Caption,             // each target's caption := its line
    Framed,              // each target's caption := " " + line + " "
    Menu,                // each menu item's caption := its line (not its action's)
    Hint,                // each control's hint := its line
    Items,               // items first.. of the combo box := the lines
    AppendItems,         // the lines appended to the combo box
    Entries,             // entries first.. of a text list := the lines
    FramedEntries,       // the same, framed
    EntriesAlike,        // entries first..first+count-1 := one line
    AppendEntries,       // the lines appended to a text list
    Text,                // a single text := the line
    HeaderCells,         // cells (first.., 0) of the grid := the lines
    WindowCaption,       // the window's caption := value, "%1" standing for the line

    CopyCaption,         // "target=source": the target's caption := the source's
    Hide,
    NoHint,
    ItemsFrom,           // every item i of the combo boxes := entry i of the list
    CaptionsFromEntries, // caption of target i := entry first + i of the list
    EntriesFromCaptions, // entry first + i of the list := caption of target i
    ClearItems,          // the combo boxes' items and edit text go
    ClearEntries,
    SelectFirst,
    FixedCell,           // cell (first, 0) of the grid := value

    Own,
};

// What the targets of a rule must be.
enum class Target { None, Captioned, MenuItem, Combo, Grid, Widget };

// A rule of a program's own: the lines it reads and the kind of its targets.
struct OwnRule {
    int lines;
    Target target;
};

// For a program without rules of its own.
struct NoOwnRules {
    enum class Own {};
    static constexpr OwnRule Describe(Own) { return {0, Target::None}; }
};

// A step that reads no line.
inline constexpr int After = 0;

// A step of a program's table. Program names its Texts (the struct whose
// lists and texts steps change), its own rules (an enum Own) and
// Describe(Own) for each of them.
template <class Program>
struct Step {
    using Texts = typename Program::Texts;
    using Own = typename Program::Own;
    struct RuleOrOwn {
        constexpr RuleOrOwn(Rule r) : rule(r) {}
        constexpr RuleOrOwn(Own o) : rule(Rule::Own), own(o) {}
        Rule rule;
        Own own{};
    };

    int line; // the first line read, or After
    RuleOrOwn rule;
    // Blank-separated names; "Name{1-16}" stands for Name1 .. Name16.
    const char *targets = "";
    QStringList Texts::*list = nullptr;
    QString Texts::*text = nullptr;
    int first = 0;
    int count = 0;
    const char *value = "";
};

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

constexpr int LinesOf(Rule rule, std::string_view targets, int count)
{
    switch (rule) {
    case Rule::Caption:
    case Rule::Framed:
    case Rule::Menu:
    case Rule::Hint: return NameCount(targets);
    case Rule::Items:
    case Rule::AppendItems:
    case Rule::Entries:
    case Rule::FramedEntries:
    case Rule::AppendEntries:
    case Rule::HeaderCells: return count;
    case Rule::EntriesAlike:
    case Rule::Text:
    case Rule::WindowCaption: return 1;
    default: return 0;
    }
}

constexpr Target TargetOf(Rule rule)
{
    switch (rule) {
    case Rule::Caption:
    case Rule::Framed:
    case Rule::CopyCaption:
    case Rule::CaptionsFromEntries:
    case Rule::EntriesFromCaptions: return Target::Captioned;
    case Rule::Menu: return Target::MenuItem;
    case Rule::Items:
    case Rule::AppendItems:
    case Rule::ItemsFrom:
    case Rule::ClearItems:
    case Rule::SelectFirst: return Target::Combo;
    case Rule::HeaderCells:
    case Rule::FixedCell: return Target::Grid;
    case Rule::Hint:
    case Rule::Hide:
    case Rule::NoHint: return Target::Widget;
    default: return Target::None;
    }
}

template <class Program>
constexpr int LinesOf(const Step<Program> &step)
{
    return step.rule.rule == Rule::Own ? Program::Describe(step.rule.own).lines
                                       : LinesOf(step.rule.rule, step.targets, step.count);
}

template <class Program>
constexpr Target TargetOf(const Step<Program> &step)
{
    return step.rule.rule == Rule::Own ? Program::Describe(step.rule.own).target : TargetOf(step.rule.rule);
}

// The steps read their lines in file order from line 1, none twice, the
// last one lastLine; a step either reads from its line or is After.
template <class Steps>
constexpr bool InFileOrder(const Steps &steps, int lastLine)
{
    int next = 1;
    for (const auto &step : steps) {
        const int lines = LinesOf(step);
        if (step.line == After) {
            if (lines != 0)
                return false;
            continue;
        }
        if (lines == 0 || step.line < next)
            return false;
        next = step.line + lines;
    }
    return next == lastLine + 1;
}

// "Name{1-3} Other" -> Name1, Name2, Name3, Other.
QStringList Names(const char *targets);

// The window's named objects (widgets first, then actions: a menu and its
// action may share a name) and the caption setter the rules use.
class Targets {
public:
    Targets(const QWidget &window, std::optional<Qt::TextFormat> labels);

    QObject *Object(const QString &name) const;
    QAction *Action(const QString &name) const;
    template <class W>
    W *Get(const QString &name) const
    {
        return qobject_cast<W *>(widgets_.value(name));
    }

    void SetCaption(QObject *target, const QString &text) const;
    void SetCaption(const QString &name, const QString &text) const { SetCaption(Object(name), text); }
    static std::optional<QString> Caption(const QObject *target);

    // Why the name is no target of the kind; empty when it is.
    QString Fault(const QString &name, Target target) const;

private:
    QHash<QString, QWidget *> widgets_;
    QHash<QString, QAction *> actions_;
    std::optional<Qt::TextFormat> labels_;
};

// None of these runs the combo box's handlers.
void SetItems(QComboBox *combo, const QStringList &texts, int first = 0);
void ReplaceItems(QComboBox *combo, const QStringList &texts);

// A step of the engine's rules with its list and text found.
struct StepView {
    Rule rule;
    const char *targets;
    QStringList *list;
    QString *text;
    int first;
    int count;
    const char *value;
};
void ApplyRule(QWidget &window, const Targets &targets, const StepView &step, const QStringList &taken);

// Adds "name: reason" for each name of a step that is no target of the kind
// its rule changes, once each.
void AddFaults(QStringList &faults, const Targets &targets, Rule rule, const char *names, Target target);

// Puts accepted lines into the window and the texts, step by step; the
// program applies its own rules: own(step, taken lines, targets).
template <class Steps, class Texts, class OwnRules>
void Apply(const Steps &steps, const QStringList &lines, QWidget &window, const Format &format, Texts &texts,
           OwnRules &&own)
{
    const Targets targets(window, format.labels);
    for (const auto &step : steps) {
        const QStringList taken = step.line == After ? QStringList() : lines.mid(step.line, LinesOf(step));
        if (step.rule.rule == Rule::Own)
            own(step, taken, targets);
        else
            ApplyRule(window, targets,
                      {step.rule.rule, step.targets, step.list != nullptr ? &(texts.*step.list) : nullptr,
                       step.text != nullptr ? &(texts.*step.text) : nullptr, step.first, step.count, step.value},
                      taken);
    }
}

template <class Steps, class Texts>
void Apply(const Steps &steps, const QStringList &lines, QWidget &window, const Format &format, Texts &texts)
{
    Apply(steps, lines, window, format, texts, [](const auto &, const QStringList &, const Targets &) {});
}

// What the steps name but the window lacks, or has of a kind the step's rule
// cannot change: "name: reason", one entry each.
template <class Steps>
QStringList Faults(const QWidget &window, const Steps &steps)
{
    const Targets targets(window, std::nullopt);
    QStringList faults;
    for (const auto &step : steps)
        AddFaults(faults, targets, step.rule.rule, step.targets, TargetOf(step));
    return faults;
}

} // namespace language
