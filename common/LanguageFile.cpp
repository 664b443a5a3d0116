#include "common/LanguageFile.h"
#include "common/Framed.h"
#include "toolkit/ExceptionReport.h"
#include "toolkit/WholeFile.h"
#include "toolkit/Win1251.h"
#include "toolkit/widgets/StringGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QWidget>

#include <stdexcept>
#include <utility>

namespace language {

namespace {

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
QStringList TouchedNames(Rule rule, const char *targets)
{
    if (rule != Rule::CopyCaption)
        return Names(targets);
    QStringList names;
    for (const auto &[to, from] : Pairs(targets))
        names << to << from;
    return names;
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

void Select(QComboBox *combo, int index)
{
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
}

template <class W>
W *First(const Targets &targets, const QStringList &names)
{
    return targets.Get<W>(names.value(0));
}

template <class W>
QList<W *> Each(const Targets &targets, const QStringList &names)
{
    QList<W *> found;
    for (const QString &name : names)
        if (W *w = targets.Get<W>(name))
            found << w;
    return found;
}

} // namespace

QStringList SplitLines(QByteArrayView bytes, LineEnds ends)
{
    const QString text = FromWin1251(bytes);
    const auto endsLine = [ends](QChar c) {
        return c == QLatin1Char('\n') || (ends == LineEnds::CrLfCrOrLf && c == QLatin1Char('\r'));
    };
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !endsLine(text[end]))
            ++end;
        QStringView line = QStringView(text).sliced(start, end - start);
        // Only where a CR alone stays in its line: the CR of a CR LF, or at the very end.
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines << line.toString();
        if (end < text.size() && text[end] == QLatin1Char('\r'))
            ++end;
        if (end < text.size() && text[end] == QLatin1Char('\n'))
            ++end;
        start = end;
    }
    return lines;
}

std::optional<QStringList> ReadFile(const QString &path, const Format &format)
{
    const OptionalFile file = ReadOptionalFile(path, MaxFileSize);
    if (file.status == OptionalFile::Unreadable && format.unreadable == Unreadable::Reported)
        ApplicationHandleException(std::make_exception_ptr(std::runtime_error(
            QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(path, file.error).toStdString())));
    if (file.status != OptionalFile::Read)
        return std::nullopt;
    QStringList lines = SplitLines(file.bytes, format.lineEnds);
    if (lines.size() != format.lineCount || lines[0] != QLatin1String(format.header))
        return std::nullopt;
    return lines;
}

QStringList Names(const char *targets)
{
    const QString text = QLatin1String(targets);
    QStringList names;
    for (QStringView token : Tokens(text))
        names << Expand(token);
    return names;
}

// ---- targets

Targets::Targets(const QWidget &window, std::optional<Qt::TextFormat> labels) : labels_(labels)
{
    for (QWidget *widget : window.findChildren<QWidget *>())
        if (!widget->objectName().isEmpty() && !widgets_.contains(widget->objectName()))
            widgets_.insert(widget->objectName(), widget);
    for (QAction *action : window.findChildren<QAction *>())
        if (!action->objectName().isEmpty() && !actions_.contains(action->objectName()))
            actions_.insert(action->objectName(), action);
}

QObject *Targets::Object(const QString &name) const
{
    QObject *object = widgets_.value(name);
    return object != nullptr ? object : actions_.value(name);
}

QAction *Targets::Action(const QString &name) const
{
    return actions_.value(name);
}

std::optional<QString> Targets::Caption(const QObject *target)
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

void Targets::SetCaption(QObject *target, const QString &text) const
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
        if (labels_)
            label->setTextFormat(*labels_);
        label->setText(text);
    }
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(target))
        memo->setPlainText(text);
}

QString Targets::Fault(const QString &name, Target target) const
{
    const QObject *object = target == Target::MenuItem ? Action(name) : Object(name);
    if (object == nullptr)
        return QStringLiteral("missing");
    switch (target) {
    case Target::Captioned: return Caption(object) ? QString() : QStringLiteral("has no caption");
    case Target::Combo: return Get<QComboBox>(name) ? QString() : QStringLiteral("not a combo box");
    case Target::Grid: return Get<TStringGrid>(name) ? QString() : QStringLiteral("not a string grid");
    case Target::Widget: return Get<QWidget>(name) ? QString() : QStringLiteral("not a control");
    default: return QString();
    }
}

void AddFaults(QStringList &faults, const Targets &targets, Rule rule, const char *names, Target target)
{
    for (const QString &name : TouchedNames(rule, names)) {
        const QString fault = targets.Fault(name, target);
        const QString entry = name + QStringLiteral(": ") + fault;
        if (!fault.isEmpty() && !faults.contains(entry))
            faults << entry;
    }
}

// ---- combo boxes

void SetItems(QComboBox *combo, const QStringList &texts, int first)
{
    const QSignalBlocker blocker(combo);
    for (int i = 0; i < texts.size() && first + i < combo->count(); ++i)
        combo->setItemText(first + i, texts[i]);
}

void ReplaceItems(QComboBox *combo, const QStringList &texts)
{
    ClearItems(combo);
    AppendItems(combo, texts);
}

// ---- the rules

void ApplyRule(QWidget &window, const Targets &targets, const StepView &step, const QStringList &taken)
{
    const QString line = taken.value(0);
    QStringList *list = step.list;
    const QStringList names = Names(step.targets);
    switch (step.rule) {
    case Rule::Caption:
    case Rule::Framed:
        for (qsizetype i = 0; i < names.size() && i < taken.size(); ++i)
            targets.SetCaption(names[i], step.rule == Rule::Framed ? Framed(taken[i]) : taken[i]);
        break;
    case Rule::Menu:
        for (qsizetype i = 0; i < names.size() && i < taken.size(); ++i)
            targets.SetCaption(targets.Action(names[i]), taken[i]);
        break;
    case Rule::Hint:
        for (qsizetype i = 0; i < names.size() && i < taken.size(); ++i)
            if (auto *widget = targets.Get<QWidget>(names[i]))
                widget->setToolTip(taken[i]);
        break;
    case Rule::Items:
        if (auto *combo = First<QComboBox>(targets, names))
            SetItems(combo, taken, step.first);
        break;
    case Rule::AppendItems:
        if (auto *combo = First<QComboBox>(targets, names))
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
    case Rule::Text: *step.text = line; break;
    case Rule::HeaderCells:
        if (auto *grid = First<TStringGrid>(targets, names))
            for (qsizetype i = 0; i < taken.size(); ++i)
                grid->SetCell(step.first + int(i), 0, taken[i]);
        break;
    case Rule::WindowCaption: window.setWindowTitle(QString(QLatin1String(step.value)).arg(line)); break;
    case Rule::CopyCaption:
        for (const auto &[to, from] : Pairs(step.targets))
            if (const auto caption = Targets::Caption(targets.Object(from)))
                targets.SetCaption(to, *caption);
        break;
    case Rule::Hide:
        for (QWidget *widget : Each<QWidget>(targets, names))
            widget->hide();
        break;
    case Rule::NoHint:
        for (QWidget *widget : Each<QWidget>(targets, names))
            widget->setToolTip(QString());
        break;
    case Rule::ItemsFrom:
        for (QComboBox *combo : Each<QComboBox>(targets, names))
            SetItems(combo, *list);
        break;
    case Rule::CaptionsFromEntries:
        for (qsizetype i = 0; i < names.size() && step.first + i < list->size(); ++i)
            targets.SetCaption(names[i], list->at(step.first + i));
        break;
    case Rule::EntriesFromCaptions:
        for (qsizetype i = 0; i < names.size() && step.first + i < list->size(); ++i)
            if (const auto caption = Targets::Caption(targets.Object(names[i])))
                (*list)[step.first + i] = *caption;
        break;
    case Rule::ClearItems:
        for (QComboBox *combo : Each<QComboBox>(targets, names))
            ClearItems(combo);
        break;
    case Rule::ClearEntries: list->clear(); break;
    case Rule::SelectFirst:
        if (auto *combo = First<QComboBox>(targets, names))
            Select(combo, 0);
        break;
    case Rule::FixedCell:
        if (auto *grid = First<TStringGrid>(targets, names))
            grid->SetCell(step.first, 0, QLatin1String(step.value));
        break;
    case Rule::Own: break;
    }
}

} // namespace language
