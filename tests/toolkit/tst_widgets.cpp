#include "toolkit/widgets/CloseOnSignal.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/MaskEdit.h"
#include "toolkit/widgets/StringGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QHeaderView>
#include <QTest>

#include <memory>
#include <csignal>
#include <unistd.h>

namespace {
class ScriptedDialogs : public IDialogProvider {
public:
    int answer = IDNO;
    QString lastText, lastCaption;
    unsigned lastFlags = 0;
    QString chosenFile;
    int ShowMessageBox(QWidget *, const QString &text, const QString &caption, unsigned flags) override
    {
        lastText = text;
        lastCaption = caption;
        lastFlags = flags;
        return answer;
    }
    bool ShowFileDialog(QWidget *, TFileDialog &dialog) override
    {
        if (chosenFile.isEmpty())
            return false;
        dialog.FileName = chosenFile;
        return true;
    }
};
// A window holding one masked edit, wide enough to click far right of its text.
struct EditWindow {
    QWidget window;
    TMaskEdit *edit = new TMaskEdit(&window);

    explicit EditWindow(const QString &mask)
    {
        edit->SetEditMask(mask);
        edit->setGeometry(10, 10, 400, 30);
        window.resize(420, 50);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    // A click and typing as the window system delivers them.
    void Click(int x)
    {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, edit->mapTo(&window, QPoint(x, 15)));
    }
    void Type(const QString &keys)
    {
        for (QChar c : keys)
            QTest::keyClick(window.windowHandle(), Qt::Key(c.toUpper().unicode()), {}, c.toLatin1());
    }
};

// Cell (2, 1) of a 3 x 3 grid holds text under the mask; its in-place editor
// is opened, as F2 opens it. Null when no editor opened.
QLineEdit *OpenEditor(TStringGrid &grid, const QString &text, const QString &mask)
{
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCell(2, 1, text);
    grid.OnGetEditMask = [mask](int, int) { return mask; };
    grid.SetEditing(true);
    grid.show();
    if (!QTest::qWaitForWindowExposed(&grid))
        return nullptr;
    grid.SetCurrentCell(2, 1);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_F2);
    return grid.findChild<QLineEdit *>();
}

// Counts the close requests; takes them unless told to refuse.
class ClosingWindow : public QWidget {
public:
    bool refuse = false;
    int requests = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++requests;
        event->setAccepted(!refuse);
    }
};
} // namespace

class TstWidgets : public QObject {
    Q_OBJECT
private slots:
    void editMasks_data();
    void editMasks();
    void maskedTextKeepsPositions();
    void givenTextOutlivesTheMask_data();
    void givenTextOutlivesTheMask();
    void clickPastTheTypedTextTypesOnThere_data();
    void clickPastTheTypedTextTypesOnThere();
    void gridCellsIncludeFixedRowAndColumn();
    void gridObjectsSitOverCells();
    void draggedRowMovesItsCells();
    void typingInPlaceFollowsTheMask();
    void cellOnlyLookedAtKeepsItsText();
    void shownGridGoesWhole();
    void dialogsGoThroughTheProvider();
    void signalWaitsForTheModalDialog();
    void refusedSignalCloseIsCarriedOutLater();
};

void TstWidgets::editMasks_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("qt");
    QTest::addColumn<bool>("saveLiterals");
    QTest::newRow("time") << "!99:99;1;-" << "00:00;-" << true;
    QTest::newRow("key code") << "!>aaaaaaaaaaaaaaaa;1; " << ">nnnnnnnnnnnnnnnn; " << true;
    QTest::newRow("digits only") << "99999;0; " << "00000; " << false;
    QTest::newRow("date") << "!99/99/00 99:99:99;1;_" << "00.00.99 00:00:00;_" << true;
    QTest::newRow("none") << "" << "" << true;
}

void TstWidgets::editMasks()
{
    QFETCH(QString, mask);
    QFETCH(QString, qt);
    QFETCH(bool, saveLiterals);
    const EditMask parsed = ParseEditMask(mask);
    QCOMPARE(parsed.qtMask, qt);
    QCOMPARE(parsed.saveLiterals, saveLiterals);
}

void TstWidgets::maskedTextKeepsPositions()
{
    TMaskEdit code;
    code.SetEditMask(QStringLiteral("!>aaaaaaaaaaaaaaaa;1; "));
    code.setText(QString(16, QLatin1Char(' ')));
    QCOMPARE(code.Text(), QString(16, QLatin1Char(' ')));
    code.setText(QStringLiteral("2f00"));
    QCOMPARE(code.Text(), QStringLiteral("2F00") + QString(12, QLatin1Char(' ')));

    TMaskEdit time;
    time.SetEditMask(QStringLiteral("!99:99;1;-"));
    time.setText(QStringLiteral("0705"));
    QCOMPARE(time.Text(), QStringLiteral("07:05"));
    time.setText(QString());
    QCOMPARE(time.Text(), QStringLiteral("  :  "));

    TMaskEdit digits;
    digits.SetEditMask(QStringLiteral("99999;0; "));
    digits.setText(QStringLiteral("12"));
    QCOMPARE(digits.Text(), QStringLiteral("12"));
}

void TstWidgets::givenTextOutlivesTheMask_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("afterTyping");
    QTest::newRow("password") << "aaaaaaaa;1; " << "ab-c" << "x-y" << "abcxy   ";
    QTest::newRow("digits") << "9999;1; " << "12a4" << "5" << "1245";
    QTest::newRow("phone") << "#99999999999999;1; " << "*100#" << "7" << "1007           ";
    QTest::newRow("name, blanks not kept") << "aaaaaaaaaaaaaaaa;0; " << "Ivan Petrov" << "1" << "IvanPetrov1";
}

// Shown and read back untouched, the text is what was given; what the user
// types goes through the mask.
void TstWidgets::givenTextOutlivesTheMask()
{
    QFETCH(QString, mask);
    QFETCH(QString, given);
    QFETCH(QString, typed);
    QFETCH(QString, afterTyping);
    EditWindow w(mask);
    w.edit->SetText(given);
    QVERIFY(w.edit->displayText() != given);
    QCOMPARE(w.edit->Text(), given);
    w.Click(390);
    QCOMPARE(w.edit->Text(), given); // entered, not changed
    w.Type(typed);
    QCOMPARE(w.edit->Text(), afterTyping);
    w.edit->setText(given); // set by the program, not kept
    QVERIFY(w.edit->Text() != given);
}

void TstWidgets::clickPastTheTypedTextTypesOnThere_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("x"); // where the click lands in the edit
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty PIN, click far right") << "99999999;1; " << "" << 390 << "12" << "12      ";
    QTest::newRow("empty PIN, click in the blanks") << "99999999;1; " << "" << 30 << "12" << "12      ";
    QTest::newRow("empty time, click far right") << "!99/99/99 99:99:99;1;-" << "" << 390 << "010224"
                                                 << "01.02.24   :  :  ";
    QTest::newRow("half a phone, click far right") << "#99999999999999;1; " << "+7916" << 390 << "12"
                                                   << "+791612        ";
    QTest::newRow("click at the start") << "99999999;1; " << "1234" << 1 << "5" << "5234    ";
}

void TstWidgets::clickPastTheTypedTextTypesOnThere()
{
    QFETCH(QString, mask);
    QFETCH(QString, shown);
    QFETCH(int, x);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    EditWindow w(mask);
    w.edit->setText(shown);
    w.Click(x);
    w.Type(typed);
    QCOMPARE(w.edit->Text(), text);
}

void TstWidgets::gridCellsIncludeFixedRowAndColumn()
{
    TStringGrid grid;
    grid.SetColCount(14);
    grid.SetRowCount(9);
    QCOMPARE(grid.ColCount(), 14);
    QCOMPARE(grid.RowCount(), 9);
    QCOMPARE(grid.columnCount(), 13);
    grid.SetCell(0, 0, QStringLiteral(" №"));
    grid.SetCell(2, 0, QStringLiteral("Время"));
    grid.SetCell(0, 3, QStringLiteral(" 3"));
    grid.SetCell(2, 3, QStringLiteral("07:05"));
    QCOMPARE(grid.Cell(0, 0), QStringLiteral(" №"));
    QCOMPARE(grid.Cell(2, 0), QStringLiteral("Время"));
    QCOMPARE(grid.horizontalHeaderItem(1)->text(), QStringLiteral("Время"));
    QCOMPARE(grid.Cell(0, 3), QStringLiteral(" 3"));
    QCOMPARE(grid.Cell(2, 3), QStringLiteral("07:05"));
    QCOMPARE(grid.Cell(5, 5), QString());
    QCOMPARE(grid.Cell(99, 1), QString());
    grid.SetCell(99, 1, QStringLiteral("ignored"));

    int selectedCol = -1, selectedRow = -1;
    grid.OnSelectCell = [&](int c, int r) {
        selectedCol = c;
        selectedRow = r;
    };
    grid.SetCurrentCell(4, 2);
    QCOMPARE(grid.Col(), 4);
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(selectedCol, 4);
    QCOMPARE(selectedRow, 2);
}

void TstWidgets::gridObjectsSitOverCells()
{
    TStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    auto *box = new QCheckBox;
    grid.SetObject(1, 2, box);
    QCOMPARE(grid.Object(1, 2), box);
    QCOMPARE(grid.Object(2, 2), nullptr);
    QCOMPARE(grid.Object(0, 2), nullptr);
}

void TstWidgets::draggedRowMovesItsCells()
{
    TStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(6);
    for (int r = 1; r < 6; ++r) {
        grid.SetCell(0, r, QString::number(r));
        grid.SetCell(1, r, QStringLiteral("code%1").arg(r));
    }
    grid.SetRowMoving(true);
    int from = 0, to = 0;
    grid.OnRowMoved = [&](int f, int t) {
        from = f;
        to = t;
    };
    // What a drag of row 5 to row 2 does to the header.
    grid.verticalHeader()->moveSection(4, 1);
    QCOMPARE(from, 5);
    QCOMPARE(to, 2);
    QCOMPARE(grid.Cell(1, 1), QStringLiteral("code1"));
    QCOMPARE(grid.Cell(1, 2), QStringLiteral("code5"));
    QCOMPARE(grid.Cell(1, 3), QStringLiteral("code2"));
    QCOMPARE(grid.Cell(0, 2), QStringLiteral("5"));
    QCOMPARE(grid.verticalHeader()->logicalIndex(1), 1);
}

// Each keystroke reaches the cell at once, and the next one still lands
// after it.
void TstWidgets::typingInPlaceFollowsTheMask()
{
    TStringGrid grid;
    QStringList seen;
    grid.OnSetEditText = [&](int, int, const QString &text) { seen << text; };
    QLineEdit *editor = OpenEditor(grid, QStringLiteral("00:00"), QStringLiteral("!99:99;1;-"));
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("1830"));
    QCOMPARE(seen.first(), QStringLiteral("1 :  "));
    QCOMPARE(seen.last(), QStringLiteral("18:30"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.Cell(2, 1), QStringLiteral("18:30"));
}

// Opening a cell's editor and leaving it without typing keeps what the cell
// held, even where its mask would not hold it.
void TstWidgets::cellOnlyLookedAtKeepsItsText()
{
    TStringGrid grid;
    QLineEdit *editor = OpenEditor(grid, QStringLiteral("Ivan Petrov-1"), QStringLiteral("aaaaaaaaaaaaaaaa;0; "));
    QVERIFY(editor != nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(grid.findChild<QLineEdit *>() == nullptr); // committed and closed
    QCOMPARE(grid.Cell(2, 1), QStringLiteral("Ivan Petrov-1"));
}

// The headers and scroll bars still signal while the base classes take a
// shown grid down; the checked build of this test (tst_widgets_checked)
// stops at any call into the part of the grid already gone.
void TstWidgets::shownGridGoesWhole()
{
    auto grid = std::make_unique<TStringGrid>();
    grid->SetColCount(4);
    grid->SetRowCount(40);
    grid->SetCell(1, 0, QStringLiteral("Код"));
    int topLeftChanges = 0;
    grid->OnTopLeftChanged = [&topLeftChanges] { ++topLeftChanges; };
    grid->resize(200, 120);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->SetCurrentCell(2, 39); // scrolled
    QVERIFY(topLeftChanges > 0);
    grid.reset();
}

void TstWidgets::dialogsGoThroughTheProvider()
{
    ScriptedDialogs scripted;
    SetDialogProvider(&scripted);
    QCOMPARE(MessageBox(nullptr, QStringLiteral("text"), QStringLiteral("caption"), MB_YESNO | MB_ICONWARNING), IDNO);
    QCOMPARE(scripted.lastFlags, 0x34u);
    TOpenDialog open;
    QVERIFY(!open.Execute());
    scripted.chosenFile = QStringLiteral("/tmp/a.cnt");
    QVERIFY(open.Execute());
    QCOMPARE(open.FileName, QStringLiteral("/tmp/a.cnt"));
    SetDialogProvider(nullptr);
}

void TstWidgets::signalWaitsForTheModalDialog()
{
    ClosingWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CloseOnSignal closer(&window);
    QDialog dialog(&window);
    dialog.setModal(true);
    dialog.show();
    QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);

    QCOMPARE(::kill(::getpid(), SIGTERM), 0);
    QTest::qWait(300);
    QCOMPARE(window.requests, 0);
    QVERIFY(window.isVisible());
    dialog.close();
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(window.requests, 1);
}

// As while a device action runs: the window refuses, the signal is not forgotten.
void TstWidgets::refusedSignalCloseIsCarriedOutLater()
{
    ClosingWindow window;
    window.refuse = true;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CloseOnSignal closer(&window);

    QCOMPARE(::kill(::getpid(), SIGHUP), 0);
    QTRY_VERIFY(window.requests > 0);
    QTest::qWait(300);
    QVERIFY(window.isVisible());
    window.refuse = false;
    QTRY_VERIFY(!window.isVisible());
}

QTEST_MAIN(TstWidgets)
#include "tst_widgets.moc"
