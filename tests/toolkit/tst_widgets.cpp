#include "CloseOnSignal.h"
#include "Dialogs.h"
#include "MaskEdit.h"
#include "StringGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QHeaderView>
#include <QTest>

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
    void gridCellsIncludeFixedRowAndColumn();
    void gridObjectsSitOverCells();
    void draggedRowMovesItsCells();
    void typingInPlaceFollowsTheMask();
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
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCell(2, 1, QStringLiteral("00:00"));
    QStringList seen;
    grid.OnGetEditMask = [](int, int) { return QStringLiteral("!99:99;1;-"); };
    grid.OnSetEditText = [&](int, int, const QString &text) { seen << text; };
    grid.SetEditing(true);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.SetCurrentCell(2, 1);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_F2);
    auto *editor = grid.findChild<QLineEdit *>();
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("1830"));
    QCOMPARE(seen.first(), QStringLiteral("1 :  "));
    QCOMPARE(seen.last(), QStringLiteral("18:30"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.Cell(2, 1), QStringLiteral("18:30"));
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
