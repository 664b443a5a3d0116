// Page 23: the scenario grid, its editing rules and the pulse diagram.
#include "tests/configurator/PageFixture.h"
#include "configurator/pages/PageScenarios.h"
#include "toolkit/widgets/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

namespace {

// Records what the diagram draws.
class RecordingCanvas : public DiagramCanvas {
public:
    QStringList ops;
    void SetPen(const QColor &colour, int width) override
    {
        ops << QStringLiteral("pen %1 %2").arg(colour.name()).arg(width);
    }
    void MoveTo(int x, int y) override { ops << QStringLiteral("M %1,%2").arg(x).arg(y); }
    void LineTo(int x, int y) override { ops << QStringLiteral("L %1,%2").arg(x).arg(y); }
};

const QString Blue = QStringLiteral("pen #0000ff 2");
const QString Maroon = QStringLiteral("pen #800000 1");

// One scenario row as the grid holds it: cycle mark, count, level, steps.
struct Row {
    QString cycle, count, level;
    QStringList steps;
};

} // namespace

class TstPageScenarios : public PageTest {
    Q_OBJECT
private slots:
    void namedControlsExist();
    void enteringSetsUpTheGrid();
    void roundTripLeavesImage_data();
    void roundTripLeavesImage();
    void showFillsTheGrid();
    void storeRow_data();
    void storeRow();
    void storeKeepsWordsAfterTheEndMark();
    void textsAreReadWhenUsed();

    void selectingSwitchesEditing_data();
    void selectingSwitchesEditing();
    void doubleClickToggles();
    void typingARepeatCount();
    void typingIntoAOneShotRow();

    void diagram_data();
    void diagram();
    void diagramWhenScrolled_data();
    void diagramWhenScrolled();
    void scrollingMovesTheCurrentColumn();
    void diagramIsPaintedIntoTheHeaderRow();

private:
    void MakePages() override;
    void PutRow(int row, const Row &cells);
    QStringList Draw();
    void ShowGrid();

    PageScenarios *page = nullptr;
    TStringGrid *grid = nullptr;
    ControllerConfig config;
};

void TstPageScenarios::MakePages()
{
    page = new PageScenarios(*context_, context_->form.get());
    page->resize(800, 500);
    grid = page->StringGrid2;
    config = DefaultConfig();
    page->Enter(Pages::Scenarios);
}

void TstPageScenarios::PutRow(int row, const Row &cells)
{
    grid->SetCell(1, row, cells.cycle);
    grid->SetCell(2, row, cells.count);
    grid->SetCell(3, row, cells.level);
    for (int c = 4; c < 20; ++c)
        grid->SetCell(c, row, cells.steps.value(c - 4));
}

QStringList TstPageScenarios::Draw()
{
    RecordingCanvas canvas;
    page->DrawDiagram(canvas);
    return canvas.ops;
}

void TstPageScenarios::ShowGrid()
{
    // Narrow enough to scroll by several columns.
    page->resize(600, 500);
    context_->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(context_->form.get()));
}

void TstPageScenarios::namedControlsExist()
{
    const std::pair<const char *, const char *> controls[] = {
        {"Panel12", "PageScenarios"}, {"Label79", "QLabel"}, {"StringGrid2", "TStringGrid"}, {"Memo2", "QPlainTextEdit"}};
    for (const auto &[name, className] : controls)
        VerifyNamedControl(context_->form.get(), QString::fromLatin1(name), QString::fromLatin1(className));
    QVERIFY(!page->Memo2->toPlainText().isEmpty());
}

void TstPageScenarios::enteringSetsUpTheGrid()
{
    QCOMPARE(page->Label79->text(), QStringLiteral("Сценарии управления"));
    QCOMPARE(grid->ColCount(), 20);
    QCOMPARE(grid->RowCount(), 15);
    QCOMPARE(grid->Cell(0, 0), QStringLiteral("Форма сигнала"));
    QCOMPARE(page->CellWidth(0), 110);
    QCOMPARE(page->CellHeight(0), 28);
    QCOMPARE(page->CellWidth(4), 46);
    QCOMPARE(page->CellHeight(14), 16);
    // The grid's sections hold the cell and its grid line.
    QCOMPARE(grid->ColWidth(4), 47);
    QCOMPARE(grid->Cell(4, 0), QString());
    QCOMPARE(grid->Col(), 1);
    QCOMPARE(grid->Row(), 1);
    QVERIFY(!grid->Editing());
    context_->texts.SignalShapeText = QStringLiteral("Shape");
    page->Enter(Pages::Scenarios);
    QCOMPARE(grid->Cell(0, 0), QStringLiteral("Shape"));
}

void TstPageScenarios::roundTripLeavesImage_data()
{
    QTest::addColumn<bool>("pattern");
    QTest::newRow("default") << false;
    QTest::newRow("pattern") << true;
}

void TstPageScenarios::roundTripLeavesImage()
{
    QFETCH(bool, pattern);
    ControllerConfig before = DefaultConfig();
    if (pattern) {
        for (int s = 0; s < ScenarioRecord::Count; ++s) {
            const FieldView r = RecordView<ScenarioRecord>(before.ConfigImage, s);
            const bool cyclic = s % 3 != 0;
            const int steps = s == 13 ? 16 : s + 1;
            bool high = s % 2 == 0;
            for (int i = 0; i < steps; ++i) {
                r.Set(ScenarioRecord::Step(i), (high ? 0x8000 : 0) | ((s * 977 + i * 131) % 32767 + 1));
                high = !high;
            }
            if (steps < 16) {
                // The end mark: a cyclic train's carries the last step's level.
                r.Set(ScenarioRecord::Step(steps), (cyclic ? !high : high) ? 0x8000 : 0);
                for (int i = steps + 1; i < 16; ++i)
                    r.Set(ScenarioRecord::Step(i), 0x1111 * (i % 16));
            }
            r.Set(ScenarioRecord::Repeat, cyclic ? (s == 4 ? 0xFFFF : s * 1000) : 1);
        }
    }
    ControllerConfig after = before;
    page->ShowPage(Pages::Scenarios, after);
    page->StorePage(Pages::Scenarios, after);
    QCOMPARE(DifferingBytes(before.ConfigImage, after.ConfigImage), QList<int>());
}

void TstPageScenarios::showFillsTheGrid()
{
    page->ShowPage(Pages::Scenarios, config);
    QCOMPARE(grid->Cell(0, 1), QStringLiteral("Сценарий № 1"));
    QCOMPARE(grid->Cell(0, 14), QStringLiteral("Сценарий № 14"));
    // Scenario 1: repeat 0, high 1, low 1.
    QCOMPARE(grid->Cell(1, 1), QStringLiteral("ЦИКЛ"));
    QCOMPARE(grid->Cell(2, 1), QStringLiteral("0"));
    QCOMPARE(grid->Cell(3, 1), QStringLiteral("ВЫС"));
    QCOMPARE(grid->Cell(4, 1), QStringLiteral("1"));
    QCOMPARE(grid->Cell(5, 1), QStringLiteral("1"));
    QCOMPARE(grid->Cell(6, 1), QString());
    // Scenario 5: once, low 1, high 1, low 2.
    QCOMPARE(grid->Cell(1, 5), QString());
    QCOMPARE(grid->Cell(2, 5), QString());
    QCOMPARE(grid->Cell(3, 5), QStringLiteral("НИЗ"));
    QCOMPARE(grid->Cell(6, 5), QStringLiteral("2"));
    // A count beyond 32767 reads as a signed number; old cell texts go.
    RecordView<ScenarioRecord>(config.ConfigImage, 4).Set(ScenarioRecord::Repeat, 0xFFFF);
    RecordView<ScenarioRecord>(config.ConfigImage, 4).Set(ScenarioRecord::Step(0), 0);
    page->ShowPage(Pages::Scenarios, config);
    QCOMPARE(grid->Cell(2, 5), QStringLiteral("-1"));
    QCOMPARE(grid->Cell(3, 5), QString());
    QCOMPARE(grid->Cell(5, 5), QString());
}

void TstPageScenarios::storeRow_data()
{
    QTest::addColumn<QString>("cycle");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QList<int>>("words");

    QTest::newRow("once") << "" << "" << "ВЫС" << QStringList{"5", "5", "10", ""} << 1
                          << QList<int>{0x8005, 0x0005, 0x800A, 0x0000};
    QTest::newRow("cyclic") << "ЦИКЛ" << "3" << "ВЫС" << QStringList{"5", "5", "10", ""} << 3
                            << QList<int>{0x8005, 0x0005, 0x800A, 0x8000};
    QTest::newRow("low start") << "" << "" << "" << QStringList{"7", "8"} << 1 << QList<int>{0x0007, 0x8008, 0x0000};
    QTest::newRow("count without cycle mark") << "" << "9" << "НИЗ" << QStringList{"1"} << 1
                                              << QList<int>{0x0001, 0x8000};
    QTest::newRow("no number ends the train") << "ЦИКЛ" << "x" << "ВЫС" << QStringList{"2", "zz", "4"} << 0
                                              << QList<int>{0x8002, 0x8000};
    QTest::newRow("empty cyclic row") << "ЦИКЛ" << "0" << "ВЫС" << QStringList{} << 0 << QList<int>{0x0000};
    QTest::newRow("empty one-shot row") << "" << "" << "ВЫС" << QStringList{} << 1 << QList<int>{0x8000};
    QTest::newRow("duration kept at its largest") << "" << "" << "ВЫС" << QStringList{"32768", "99999", "32767"} << 1
                                                  << QList<int>{0xFFFF, 0x7FFF, 0xFFFF, 0x0000};
    QTest::newRow("count kept at its largest") << "ЦИКЛ" << "70000" << "НИЗ" << QStringList{"3"} << 0xFFFF
                                               << QList<int>{0x0003, 0x0000};
    QTest::newRow("count shown as -1") << "ЦИКЛ" << "-1" << "НИЗ" << QStringList{"3"} << 0xFFFF
                                       << QList<int>{0x0003, 0x0000};
    QStringList sixteen;
    QList<int> once, cyclic;
    for (int i = 0; i < 16; ++i) {
        sixteen << QString::number(i + 1);
        once << ((i % 2 == 0 ? 0x8000 : 0) | (i + 1));
    }
    QTest::newRow("16 steps once") << "" << "" << "ВЫС" << sixteen << 1 << once;
    QTest::newRow("16 steps cyclic") << "ЦИКЛ" << "12" << "ВЫС" << sixteen << 12 << once;
}

void TstPageScenarios::storeRow()
{
    QFETCH(QString, cycle);
    QFETCH(QString, count);
    QFETCH(QString, level);
    QFETCH(QStringList, steps);
    QFETCH(int, repeat);
    QFETCH(QList<int>, words);
    page->ShowPage(Pages::Scenarios, config);
    PutRow(9, {cycle, count, level, steps});
    page->StorePage(Pages::Scenarios, config);
    const ConstFieldView r = RecordView<ScenarioRecord>(std::as_const(config.ConfigImage), 8);
    QCOMPARE(int(r.Get(ScenarioRecord::Repeat)), repeat);
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(int(r.Get(ScenarioRecord::Step(i))), words[i]);
}

void TstPageScenarios::storeKeepsWordsAfterTheEndMark()
{
    const FieldView r = RecordView<ScenarioRecord>(config.ConfigImage, 13);
    for (int i = 0; i < 16; ++i)
        r.Set(ScenarioRecord::Step(i), 0x1234 + i);
    page->ShowPage(Pages::Scenarios, config);
    PutRow(14, {QString(), QString(), QStringLiteral("ВЫС"), {QStringLiteral("2"), QStringLiteral("3")}});
    page->StorePage(Pages::Scenarios, config);
    QCOMPARE(r.Get(ScenarioRecord::Step(2)), 0x8000u);
    for (int i = 3; i < 16; ++i)
        QCOMPARE(r.Get(ScenarioRecord::Step(i)), quint32(0x1234 + i));
}

void TstPageScenarios::textsAreReadWhenUsed()
{
    context_->texts.CycleText = QStringLiteral("LOOP");
    context_->texts.HighLevelText = QStringLiteral("HI");
    context_->texts.LowLevelText = QStringLiteral("LO");
    context_->texts.ScenarioNumberText = QStringLiteral("Scenario #");
    page->ShowPage(Pages::Scenarios, config);
    QCOMPARE(grid->Cell(0, 3), QStringLiteral("Scenario # 3"));
    QCOMPARE(grid->Cell(1, 3), QStringLiteral("LOOP"));
    QCOMPARE(grid->Cell(3, 5), QStringLiteral("LO"));
    PutRow(2, {QStringLiteral("ЦИКЛ"), QStringLiteral("4"), QStringLiteral("ВЫС"), {QStringLiteral("6")}});
    PutRow(3, {QStringLiteral("LOOP"), QStringLiteral("4"), QStringLiteral("HI"), {QStringLiteral("6")}});
    page->StorePage(Pages::Scenarios, config);
    // The built-in words no longer count.
    QCOMPARE(RecordView<ScenarioRecord>(config.ConfigImage, 1).Get(ScenarioRecord::Repeat), 1u);
    QCOMPARE(RecordView<ScenarioRecord>(config.ConfigImage, 1).Get(ScenarioRecord::Step(0)), 0x0006u);
    QCOMPARE(RecordView<ScenarioRecord>(config.ConfigImage, 2).Get(ScenarioRecord::Repeat), 4u);
    QCOMPARE(RecordView<ScenarioRecord>(config.ConfigImage, 2).Get(ScenarioRecord::Step(0)), 0x8006u);
}

void TstPageScenarios::selectingSwitchesEditing_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("cyclicRow");
    QTest::addColumn<bool>("editing");
    QTest::newRow("cycle column") << 1 << true << false;
    QTest::newRow("level column") << 3 << true << false;
    QTest::newRow("count of a cyclic row") << 2 << true << true;
    QTest::newRow("count of a one-shot row") << 2 << false << false;
    QTest::newRow("first step") << 4 << false << true;
    QTest::newRow("last step") << 19 << true << true;
}

void TstPageScenarios::selectingSwitchesEditing()
{
    QFETCH(int, col);
    QFETCH(bool, cyclicRow);
    QFETCH(bool, editing);
    page->ShowPage(Pages::Scenarios, config); // row 1 cyclic, row 4 once
    const int row = cyclicRow ? 1 : 4;
    grid->SetCurrentCell(col, row + 1);
    grid->SetEditing(!editing);
    grid->SetCurrentCell(col, row);
    QCOMPARE(grid->Editing(), editing);
}

void TstPageScenarios::doubleClickToggles()
{
    ShowGrid();
    page->ShowPage(Pages::Scenarios, config);
    auto doubleClick = [this](int col, int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, col - 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    };
    doubleClick(1, 4); // scenario 4 runs once
    QCOMPARE(grid->Cell(1, 4), QStringLiteral("ЦИКЛ"));
    QCOMPARE(grid->Cell(2, 4), QStringLiteral("0"));
    doubleClick(1, 4);
    QCOMPARE(grid->Cell(1, 4), QString());
    QCOMPARE(grid->Cell(2, 4), QString());

    grid->SetCell(3, 6, QString());
    doubleClick(3, 6);
    QCOMPARE(grid->Cell(3, 6), QStringLiteral("ВЫС"));
    doubleClick(3, 6);
    QCOMPARE(grid->Cell(3, 6), QStringLiteral("НИЗ"));
    doubleClick(3, 6);
    QCOMPARE(grid->Cell(3, 6), QStringLiteral("ВЫС"));
    // Elsewhere a double click changes nothing.
    const QString before = grid->Cell(2, 1);
    doubleClick(2, 1);
    QTest::keyClick(grid->viewport()->focusWidget() ? grid->viewport()->focusWidget() : grid, Qt::Key_Escape);
    QCOMPARE(grid->Cell(2, 1), before);
}

void TstPageScenarios::typingARepeatCount()
{
    ShowGrid();
    page->ShowPage(Pages::Scenarios, config); // row 2: ЦИКЛ, 0
    grid->setFocus();
    grid->SetCurrentCell(2, 2);
    QVERIFY(grid->Editing());
    QTest::keyClick(grid, Qt::Key_5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(grid->Cell(1, 2), QStringLiteral("ЦИКЛ"));
    QCOMPARE(grid->Cell(2, 2), QStringLiteral("5"));

    grid->SetCurrentCell(4, 2);
    grid->SetCurrentCell(2, 2);
    QTest::keyClick(grid, Qt::Key_1);
    // A count of 1 means "once": the row loses its mark and count at once.
    QCOMPARE(grid->Cell(1, 2), QString());
    QCOMPARE(grid->Cell(2, 2), QString());
    QVERIFY(!grid->Editing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(grid->Cell(2, 2), QString());
    page->StorePage(Pages::Scenarios, config);
    QCOMPARE(RecordView<ScenarioRecord>(config.ConfigImage, 1).Get(ScenarioRecord::Repeat), 1u);
}

void TstPageScenarios::typingIntoAOneShotRow()
{
    ShowGrid();
    page->ShowPage(Pages::Scenarios, config); // row 7: once, high 5
    grid->setFocus();
    grid->SetCurrentCell(5, 7);
    QVERIFY(grid->Editing());
    QTest::keyClick(grid, Qt::Key_1);
    // The editor that opened keeps the keys.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(grid->Cell(5, 7), QStringLiteral("12"));
    // The rule switched editing off; the next selection decides again.
    QVERIFY(!grid->Editing());
    grid->SetCurrentCell(6, 7);
    QVERIFY(grid->Editing());
    page->StorePage(Pages::Scenarios, config);
    const ConstFieldView r = RecordView<ScenarioRecord>(std::as_const(config.ConfigImage), 6);
    QCOMPARE(r.Get(ScenarioRecord::Step(1)), 12u);
    QCOMPARE(r.Get(ScenarioRecord::Step(2)), 0x8000u);
}

void TstPageScenarios::diagram_data()
{
    QTest::addColumn<QString>("cycle");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("ops");
    // x0 = 110 + 3 x (46 + 1); each step adds 47.
    QTest::newRow("once, high start") << "" << "ВЫС" << QStringList{"4", "4"}
                                      << QStringList{Blue, "M 251,6", "L 298,6", "L 298,22", "L 345,22", "L 345,6"};
    QTest::newRow("cyclic") << "ЦИКЛ" << "ВЫС" << QStringList{"4", "4"}
                            << QStringList{Blue,      "M 251,6",  "L 298,6",  "L 298,22", "L 345,22", Maroon,
                                           "M 345,14", "L 251,14", "L 263,17", "L 263,11", "L 251,14"};
    QTest::newRow("empty level is low") << "" << "" << QStringList{"9"}
                                        << QStringList{Blue, "M 251,22", "L 298,22", "L 298,6"};
    QTest::newRow("other level text is low") << "" << "HIGH" << QStringList{"9"}
                                             << QStringList{Blue, "M 251,22", "L 298,22", "L 298,6"};
    QTest::newRow("no first step") << "ЦИКЛ" << "ВЫС" << QStringList{"", "4"} << QStringList{Blue, "M 251,6"};
    QTest::newRow("zero ends the train") << "" << "НИЗ" << QStringList{"3", "0", "5"}
                                         << QStringList{Blue, "M 251,22", "L 298,22", "L 298,6"};
    QStringList sixteen(16, QStringLiteral("1"));
    QStringList ops = {Blue, "M 251,6"};
    int x = 251, y = 6;
    for (int i = 0; i < 16; ++i) {
        x += 47;
        ops << QStringLiteral("L %1,%2").arg(x).arg(y);
        y = y == 6 ? 22 : 6;
        ops << QStringLiteral("L %1,%2").arg(x).arg(y);
    }
    QTest::newRow("16 steps once") << "" << "ВЫС" << sixteen << ops;
}

void TstPageScenarios::diagram()
{
    QFETCH(QString, cycle);
    QFETCH(QString, level);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, ops);
    page->ShowPage(Pages::Scenarios, config);
    PutRow(3, {cycle, cycle.isEmpty() ? QString() : QStringLiteral("2"), level, steps});
    grid->SetCurrentCell(4, 3);
    QCOMPARE(grid->LeftCol(), 1);
    QCOMPARE(Draw(), ops);
}

void TstPageScenarios::diagramWhenScrolled_data()
{
    QTest::addColumn<int>("leftCol");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("ops");
    QTest::newRow("column 6 first: step 3 on the start level")
        << 6 << QStringList{"1", "2", "3", "4"}
        << QStringList{Blue, "M 110,6", "L 157,6", "L 157,22", "L 204,22", Maroon, "M 204,14", "L 110,14"};
    QTest::newRow("column 5 first: step 2 on the other level")
        << 5 << QStringList{"1", "2"} << QStringList{Blue, "M 110,22", "L 157,22", Maroon, "M 157,14", "L 110,14"};
    QTest::newRow("column 4 first: the arrow head is in view")
        << 4 << QStringList{"1"}
        << QStringList{Blue, "M 110,6", "L 157,6", Maroon, "M 157,14", "L 110,14", "L 122,17", "L 122,11", "L 110,14"};
    QTest::newRow("column 3 first") << 3 << QStringList{"1"}
                                    << QStringList{Blue,      "M 157,6",  "L 204,6",  Maroon,  "M 204,14",
                                                   "L 157,14", "L 169,17", "L 169,11", "L 157,14"};
    QTest::newRow("train ended out of view") << 6 << QStringList{"1", "0", "3", "4"} << QStringList{};
    QTest::newRow("train ended just out of view") << 6 << QStringList{"1", "2"} << QStringList{Blue, "M 110,6"};
}

void TstPageScenarios::diagramWhenScrolled()
{
    QFETCH(int, leftCol);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, ops);
    ShowGrid();
    page->ShowPage(Pages::Scenarios, config);
    PutRow(3, {QStringLiteral("ЦИКЛ"), QStringLiteral("2"), QStringLiteral("ВЫС"), steps});
    grid->SetCurrentCell(19, 3);
    grid->horizontalScrollBar()->setValue(leftCol - 1);
    QCOMPARE(grid->LeftCol(), leftCol);
    QCOMPARE(Draw(), ops);
}

void TstPageScenarios::scrollingMovesTheCurrentColumn()
{
    ShowGrid();
    page->ShowPage(Pages::Scenarios, config);
    grid->SetCurrentCell(2, 5);
    grid->horizontalScrollBar()->setValue(5);
    QCOMPARE(grid->LeftCol(), 6);
    QCOMPARE(grid->Col(), 6);
    QCOMPARE(grid->Row(), 5);
    QVERIFY(grid->Editing());
}

void TstPageScenarios::diagramIsPaintedIntoTheHeaderRow()
{
    ShowGrid();
    page->ShowPage(Pages::Scenarios, config);
    PutRow(2, {QStringLiteral("ЦИКЛ"), QStringLiteral("2"), QStringLiteral("ВЫС"), {QStringLiteral("4"), QStringLiteral("4")}});
    grid->SetCurrentCell(4, 2);
    const QImage header = grid->horizontalHeader()->grab().toImage();
    // The header starts at the grid's first scrollable column, right of the
    // fixed column and its line.
    auto at = [&header](int gridX, int y) { return QColor(header.pixel(gridX - 111, y)); };
    QCOMPARE(at(275, 6), QColor(0, 0, 255));  // high step
    QCOMPARE(at(320, 22), QColor(0, 0, 255)); // low step
    QCOMPARE(at(298, 10), QColor(0, 0, 255)); // the edge between them
    QCOMPARE(at(300, 14), QColor(128, 0, 0)); // the return line
    QVERIFY(at(330, 6) != QColor(0, 0, 255));
    QVERIFY(at(360, 22) != QColor(0, 0, 255));
}

QTEST_MAIN(TstPageScenarios)
#include "tst_page_scenarios.moc"
