#include "configurator/pages/PageScenarios.h"
#include "configurator/pages/PageControls.h"
#include "toolkit/widgets/StringGrid.h"
#include "toolkit/TextRules.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include <climits>

using namespace pagectl;

namespace {

constexpr int ColCount = 20;
constexpr int RowCount = 1 + ScenarioRecord::Count;
// Cell sizes without the grid line; the grid's sections include their line,
// so a column of width 46 is a section of 47 and columns follow each other
// every W + 1 pixels, as the diagram's geometry counts them.
constexpr int GridLine = 1;
constexpr int TitleColWidth = 110;
constexpr int HeaderRowHeight = 28;
constexpr int StepColWidth = 46;
constexpr int ScenarioRowHeight = 16;
constexpr quint32 LevelBit = 0x8000;
constexpr quint32 MaxDuration = 0x7FFF;

// The diagram's distance of the two levels from the header row's edges.
constexpr int LevelMargin = 6;
constexpr int ArrowLength = 12;
constexpr int ArrowHalfWidth = 3;

class PainterCanvas : public DiagramCanvas {
public:
    explicit PainterCanvas(QPainter &painter) : painter_(painter) {}
    void SetPen(const QColor &colour, int width) override
    {
        painter_.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    }
    void MoveTo(int x, int y) override { at_ = QPoint(x, y); }
    void LineTo(int x, int y) override
    {
        const QPoint to(x, y);
        painter_.drawLine(at_, to);
        at_ = to;
    }

private:
    QPainter &painter_;
    QPoint at_;
};

} // namespace

PageScenarios::PageScenarios(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel12"), parent)
{
    Label79 = Title(this, QStringLiteral("Label79"));

    StringGrid2 = Make<TStringGrid>(this, QStringLiteral("StringGrid2"));
    StringGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid2->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    StringGrid2->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid2->horizontalHeader()->setMinimumSectionSize(StepColWidth + GridLine);
    StringGrid2->verticalHeader()->setMinimumSectionSize(ScenarioRowHeight + GridLine);
    SetUpGrid();
    StringGrid2->setFixedHeight(HeaderRowHeight + RowCount * GridLine + ScenarioRecord::Count * ScenarioRowHeight +
                                2 * StringGrid2->frameWidth() + StringGrid2->horizontalScrollBar()->sizeHint().height());

    StringGrid2->OnGetEditMask = [this](int col, int row) { return StringGrid2GetEditMask(col, row); };
    StringGrid2->OnSelectCell = [this](int col, int row) { StringGrid2SelectCell(col, row); };
    StringGrid2->OnDblClick = [this] { StringGrid2DblClick(); };
    StringGrid2->OnSetEditText = [this](int col, int row, const QString &text) { StringGrid2SetEditText(col, row, text); };
    StringGrid2->OnClick = [this] { StringGrid2Click(); };
    StringGrid2->OnTopLeftChanged = [this] { StringGrid2TopLeftChanged(); };
    // Whenever the grid paints its header row, the diagram goes over it.
    StringGrid2->OnPaintFixedRow = [this](QPainter &painter) {
        PainterCanvas canvas(painter);
        DrawDiagram(canvas);
    };

    Memo2 = Make<QPlainTextEdit>(this, QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setPlainText(QStringLiteral(
        "Сценарий задает последовательность импульсов управления выходом: начальный уровень и длительности до 16 "
        "шагов, уровень каждого следующего шага противоположен предыдущему. Пустая ячейка или 0 завершает "
        "последовательность. Двойной щелчок в столбце повтора включает или выключает циклическое выполнение, в "
        "столбце уровня - меняет начальный уровень. Над таблицей показана форма сигнала выбранного сценария."));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label79);
    layout->addWidget(StringGrid2);
    layout->addWidget(Memo2, 1);
}

void PageScenarios::SetUpGrid()
{
    StringGrid2->SetColCount(ColCount);
    StringGrid2->SetRowCount(RowCount);
    StringGrid2->SetColWidth(ColTitle, TitleColWidth + GridLine);
    StringGrid2->SetRowHeight(0, HeaderRowHeight + GridLine);
    for (int c = 1; c < ColCount; ++c) {
        StringGrid2->SetColWidth(c, StepColWidth + GridLine);
        StringGrid2->SetCell(c, 0, QString());
    }
    for (int r = 1; r < RowCount; ++r)
        StringGrid2->SetRowHeight(r, ScenarioRowHeight + GridLine);
}

int PageScenarios::CellWidth(int col) const
{
    return StringGrid2->ColWidth(col) - GridLine;
}

int PageScenarios::CellHeight(int row) const
{
    return StringGrid2->RowHeight(row) - GridLine;
}

void PageScenarios::Enter(int page)
{
    ConfigPage::Enter(page);
    SetUpGrid();
    StringGrid2->SetCell(0, 0, texts().SignalShapeText);
    StringGrid2->SetCurrentCell(ColCycle, 1);
}

void PageScenarios::StorePage(int page, ControllerConfig &config)
{
    if (page != Pages::Scenarios)
        return;
    using R = ScenarioRecord;
    for (int row = 1; row < RowCount; ++row) {
        const FieldView r = RecordView<ScenarioRecord>(config.ConfigImage, row - 1);
        bool high = StringGrid2->Cell(ColLevel, row) == texts().HighLevelText;
        int endMark = -1;
        for (int i = 0; i < R::StepCount; ++i) {
            const qint64 duration = TypedInteger(StringGrid2->Cell(ColFirstStep + i, row));
            if (duration == 0) {
                r.Set(R::Step(i), high ? LevelBit : 0);
                endMark = i;
                break;
            }
            // A duration the step word cannot hold is kept at its largest.
            const quint32 bits = duration > qint64(MaxDuration) ? MaxDuration : quint32(duration) & MaxDuration;
            r.Set(R::Step(i), (high ? LevelBit : 0) | bits);
            high = !high;
        }
        if (IsCyclic(row)) {
            // A cyclic train's end mark carries the level of its last step.
            if (endMark >= 0)
                r.Set(R::StepLevel(endMark), high ? 0 : 1);
            r.SetNumber(R::Repeat, TypedInteger(StringGrid2->Cell(ColRepeat, row)));
        } else {
            r.Set(R::Repeat, 1);
        }
    }
}

void PageScenarios::ShowPage(int page, ControllerConfig &config)
{
    if (page != Pages::Scenarios)
        return;
    using R = ScenarioRecord;
    for (int row = 1; row < RowCount; ++row) {
        const ConstFieldView r = RecordView<ScenarioRecord>(std::as_const(config.ConfigImage), row - 1);
        StringGrid2->SetCell(ColTitle, row, texts().ScenarioNumberText + QLatin1Char(' ') + QString::number(row));
        for (int c = 1; c < ColCount; ++c)
            StringGrid2->SetCell(c, row, QString());
        const quint32 repeat = r.Get(R::Repeat);
        if (repeat != 1) {
            StringGrid2->SetCell(ColCycle, row, texts().CycleText);
            StringGrid2->SetCell(ColRepeat, row, QString::number(qint16(quint16(repeat))));
        }
        for (int k = 0; k < R::StepCount; ++k) {
            const quint32 duration = r.Get(R::StepDuration(k));
            if (duration == 0)
                break;
            if (k == 0)
                StringGrid2->SetCell(ColLevel, row,
                                     r.Get(R::StepLevel(0)) != 0 ? texts().HighLevelText : texts().LowLevelText);
            StringGrid2->SetCell(ColFirstStep + k, row, QString::number(duration));
        }
    }
    StringGrid2->viewport()->update();
    StringGrid2DrawDiagram();
}

QString PageScenarios::StringGrid2GetEditMask(int, int) const
{
    return QStringLiteral("99999;0; ");
}

void PageScenarios::StringGrid2SelectCell(int col, int row)
{
    if (col == ColCycle || col == ColLevel)
        StringGrid2->SetEditing(false);
    else if (col == ColRepeat)
        StringGrid2->SetEditing(IsCyclic(row));
    else
        StringGrid2->SetEditing(true);
    // The diagram follows the current row.
    StringGrid2DrawDiagram();
}

void PageScenarios::StringGrid2DblClick()
{
    const int col = StringGrid2->Col(), row = StringGrid2->Row();
    if (row < 1)
        return;
    if (col == ColCycle) {
        if (IsCyclic(row)) {
            StringGrid2->SetCell(ColCycle, row, QString());
            StringGrid2->SetCell(ColRepeat, row, QString());
        } else {
            StringGrid2->SetCell(ColCycle, row, texts().CycleText);
            StringGrid2->SetCell(ColRepeat, row, QStringLiteral("0"));
        }
    } else if (col == ColLevel) {
        const bool high = StringGrid2->Cell(ColLevel, row) == texts().HighLevelText;
        StringGrid2->SetCell(ColLevel, row, high ? texts().LowLevelText : texts().HighLevelText);
    }
    StringGrid2->viewport()->update();
    StringGrid2TopLeftChanged();
}

void PageScenarios::StringGrid2SetEditText(int, int row, const QString &)
{
    // A count of 1 means "once", and only a repeating row keeps a count.
    if (TypedInteger(StringGrid2->Cell(ColRepeat, row)) == 1 || !IsCyclic(row)) {
        StringGrid2->SetCell(ColCycle, row, QString());
        StringGrid2->SetCell(ColRepeat, row, QString());
        StringGrid2->SetEditing(false);
    }
    StringGrid2->viewport()->update();
    StringGrid2TopLeftChanged();
}

void PageScenarios::StringGrid2Click()
{
    StringGrid2->viewport()->update();
    StringGrid2TopLeftChanged();
}

void PageScenarios::StringGrid2TopLeftChanged()
{
    const int left = StringGrid2->LeftCol();
    if (StringGrid2->Row() >= 1 && StringGrid2->Col() < left)
        StringGrid2->SetCurrentCell(left, StringGrid2->Row());
    StringGrid2DrawDiagram();
}

void PageScenarios::StringGrid2DrawDiagram()
{
    StringGrid2->RepaintFixedRow();
}

void PageScenarios::DrawDiagram(DiagramCanvas &canvas) const
{
    const int row = StringGrid2->Row();
    if (row < 1 || row >= RowCount)
        return;
    const int left = StringGrid2->LeftCol();
    auto pitch = [this](int col) { return CellWidth(col) + GridLine; };

    int x0 = CellWidth(ColTitle);
    for (int c = ColCycle; c <= ColLevel; ++c)
        if (c >= left)
            x0 += pitch(c);

    const int first = left <= ColFirstStep ? ColFirstStep : left;
    // A train that ended out of view has nothing to show.
    for (int c = ColFirstStep; c < first; ++c)
        if (Number(c, row) == 0)
            return;

    const int height = CellHeight(0);
    const int highY = LevelMargin, lowY = height - LevelMargin;
    const bool startHigh = StringGrid2->Cell(ColLevel, row) == texts().HighLevelText;
    // Column 4 + n shows step n + 1; every other step has the start level.
    const bool firstHigh = first % 2 == 0 ? startHigh : !startHigh;
    const bool cyclic = IsCyclic(row);

    int x = x0, y = firstHigh ? highY : lowY;
    canvas.SetPen(QColor(0, 0, 255), 2);
    canvas.MoveTo(x, y);
    bool drawn = false;
    for (int c = first; c <= ColLastStep && Number(c, row) != 0; ++c) {
        x += pitch(c);
        canvas.LineTo(x, y);
        y = y == highY ? lowY : highY;
        drawn = true;
        const bool continues = c + 1 <= ColLastStep && Number(c + 1, row) != 0;
        // A train that runs once ends on the level after its last step.
        if (continues || !cyclic)
            canvas.LineTo(x, y);
    }
    if (!drawn || !cyclic)
        return;
    const int midY = height / 2;
    canvas.SetPen(QColor(128, 0, 0), 1);
    canvas.MoveTo(x, midY);
    canvas.LineTo(x0, midY);
    if (left <= ColFirstStep) {
        canvas.LineTo(x0 + ArrowLength, midY + ArrowHalfWidth);
        canvas.LineTo(x0 + ArrowLength, midY - ArrowHalfWidth);
        canvas.LineTo(x0, midY);
    }
}

int PageScenarios::Number(int col, int row) const
{
    return int(qBound<qint64>(qint64(INT_MIN), TypedInteger(StringGrid2->Cell(col, row)), qint64(INT_MAX)));
}

bool PageScenarios::IsCyclic(int row) const
{
    return StringGrid2->Cell(ColCycle, row) == texts().CycleText;
}
