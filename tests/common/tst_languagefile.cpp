// The language-file engine both programs share: splitting lines by each
// program's line ends, how labels show a new caption, the check of a table's
// line order and of the names it uses.
#include "common/LanguageFile.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

struct Texts {
    QStringList List;
};

struct Program : language::NoOwnRules {
    using Texts = ::Texts;
};

using Step = language::Step<Program>;
using R = language::Rule;
constexpr int After = language::After;

// The order check refuses a line read twice, an After step that reads, a
// numbered step that reads none and a last line other than the one named.
constexpr Step inOrder[] = {
    {1, R::Caption, "A B"}, {After, R::Hide, "A"}, {4, R::Entries, "", &Texts::List, nullptr, 0, 2}};
constexpr Step readTwice[] = {{1, R::Caption, "A B"}, {2, R::Caption, "C"}};
constexpr Step afterReads[] = {{1, R::Caption, "A"}, {After, R::Caption, "B"}};
constexpr Step readsNone[] = {{1, R::Caption, "A"}, {2, R::Hide, "B"}};
constexpr Step expanded[] = {{1, R::Caption, "A{1-16} B{3-4}"}};
static_assert(language::InFileOrder(inOrder, 5));
static_assert(!language::InFileOrder(inOrder, 4));
static_assert(!language::InFileOrder(readTwice, 2));
static_assert(!language::InFileOrder(afterReads, 1));
static_assert(!language::InFileOrder(readsNone, 2));
static_assert(language::InFileOrder(expanded, 18));

language::Format FormatWith(std::optional<Qt::TextFormat> labels)
{
    return {2, "header", language::LineEnds::CrLfOrLf, language::Unreadable::Ignored, labels};
}

} // namespace

class TstLanguageFile : public QObject {
    Q_OBJECT
private slots:
    void splitsLinesAtEachProgramsLineEnds_data();
    void splitsLinesAtEachProgramsLineEnds();
    void labelsShowCaptionsInTheFormatsTextFormat_data();
    void labelsShowCaptionsInTheFormatsTextFormat();
    void faultsNameWhatIsMissingOrOfAnotherKind();
};

void TstLanguageFile::splitsLinesAtEachProgramsLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("anyBreak"); // CR LF, CR or LF
    QTest::addColumn<QStringList>("lfBreak");  // CR LF or LF
    QTest::newRow("empty") << QByteArray() << QStringList{} << QStringList{};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << QStringList{"a", "b"};
    QTest::newRow("no break after last") << QByteArray("a\r\nb") << QStringList{"a", "b"} << QStringList{"a", "b"};
    QTest::newRow("LF and CR alone") << QByteArray("a\nb\rc") << QStringList{"a", "b", "c"}
                                     << QStringList{"a", "b\rc"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"}
                                         << QStringList{"a", "\rb"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\n") << QStringList{"a", ""} << QStringList{"a\r"};
    QTest::newRow("CR at the very end") << QByteArray("a\nb\r") << QStringList{"a", "b"} << QStringList{"a", "b"};
    QTest::newRow("trailing empty line") << QByteArray("a\r\n\r\n") << QStringList{"a", ""}
                                         << QStringList{"a", ""};
    QTest::newRow("only a break") << QByteArray("\n") << QStringList{""} << QStringList{""};
    QTest::newRow("blanks kept") << QByteArray("  a \t\r\n") << QStringList{"  a \t"} << QStringList{"  a \t"};
    QTest::newRow("Windows-1251") << QByteArray("\xc2\xfb\xf5\xee\xe4 1\r\n")
                                  << QStringList{QStringLiteral("Выход 1")} << QStringList{QStringLiteral("Выход 1")};
}

void TstLanguageFile::splitsLinesAtEachProgramsLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, anyBreak);
    QFETCH(QStringList, lfBreak);
    QCOMPARE(language::SplitLines(bytes, language::LineEnds::CrLfCrOrLf), anyBreak);
    QCOMPARE(language::SplitLines(bytes, language::LineEnds::CrLfOrLf), lfBreak);
}

void TstLanguageFile::labelsShowCaptionsInTheFormatsTextFormat_data()
{
    QTest::addColumn<int>("format"); // -1: none
    QTest::addColumn<int>("shown");
    QTest::newRow("plain text") << int(Qt::PlainText) << int(Qt::PlainText);
    QTest::newRow("the label's own") << -1 << int(Qt::RichText);
}

void TstLanguageFile::labelsShowCaptionsInTheFormatsTextFormat()
{
    QFETCH(int, format);
    QFETCH(int, shown);
    QWidget window;
    auto *label = new QLabel(QStringLiteral("built in"), &window);
    label->setObjectName(QStringLiteral("Label1"));
    label->setTextFormat(Qt::RichText);
    Texts texts;
    constexpr Step steps[] = {{1, R::Caption, "Label1"}};
    language::Apply(steps, {QStringLiteral("header"), QStringLiteral("<b>L1</b>")}, window,
                    FormatWith(format < 0 ? std::nullopt : std::optional(Qt::TextFormat(format))), texts);
    QCOMPARE(label->text(), QStringLiteral("<b>L1</b>"));
    QCOMPARE(int(label->textFormat()), shown);
}

void TstLanguageFile::faultsNameWhatIsMissingOrOfAnotherKind()
{
    QWidget window;
    auto *label = new QLabel(&window);
    label->setObjectName(QStringLiteral("Label1"));
    auto *combo = new QComboBox(&window);
    combo->setObjectName(QStringLiteral("Combo1"));
    auto *menu = new QMenu(&window);
    menu->setObjectName(QStringLiteral("Menu1"));
    auto *item = menu->addAction(QStringLiteral("item"));
    item->setObjectName(QStringLiteral("Item1"));

    constexpr Step steps[] = {
        {1, R::Caption, "Label1 Menu1 Item1 Combo1 Label2"},
        {6, R::Menu, "Item1 Menu1"},
        {8, R::Items, "Combo1", nullptr, nullptr, 0, 1},
        {9, R::Items, "Label1", nullptr, nullptr, 0, 1},
        {10, R::HeaderCells, "Combo1", nullptr, nullptr, 0, 1},
        {After, R::CopyCaption, "Label1=Combo1 Label{3-4}=Label{1-2}"},
        {After, R::Hide, "Item1"},
    };
    QCOMPARE(language::Faults(window, steps), (QStringList{
                                                  "Combo1: has no caption",
                                                  "Label2: missing",
                                                  "Menu1: missing",
                                                  "Label1: not a combo box",
                                                  "Combo1: not a string grid",
                                                  "Label3: missing",
                                                  "Label4: missing",
                                                  "Item1: not a control",
                                              }));
}

QTEST_MAIN(TstLanguageFile)
#include "tst_languagefile.moc"
