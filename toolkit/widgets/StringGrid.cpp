#include "toolkit/widgets/StringGrid.h"
#include "toolkit/widgets/MaskEdit.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

// The fixed row is the horizontal header; it lets the grid paint over it.
class TStringGrid::Header : public QHeaderView {
public:
    Header(TStringGrid *grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {}

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QHeaderView::paintEvent(event);
        if (!grid_->OnPaintFixedRow)
            return;
        QPainter painter(viewport());
        // Grid coordinates: the fixed column spans 0..W(0), and the first
        // scrollable column in view starts right after it.
        painter.translate(-grid_->ColWidth(0), 0);
        grid_->OnPaintFixedRow(painter);
    }

private:
    TStringGrid *grid_;
};

class TStringGrid::Delegate : public QStyledItemDelegate {
public:
    Delegate(TStringGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *edit = new TMaskEdit(parent);
        const int col = index.column() + 1, row = index.row() + 1;
        edit->SetEditMask(grid_->OnGetEditMask ? grid_->OnGetEditMask(col, row) : QString());
        QObject::connect(edit, &QLineEdit::textEdited, grid_, [this, edit, col, row] {
            const QString text = edit->Text();
            if (QTableWidgetItem *item = grid_->ItemAt(col, row, true))
                item->setText(text);
            if (grid_->OnSetEditText)
                grid_->OnSetEditText(col, row, text);
        });
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *edit = static_cast<TMaskEdit *>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        // Each keystroke comes back here through the cell: setting the same
        // text again would move the cursor to the end.
        if (edit->Text() != text)
            edit->SetText(text);
    }

    // A cell only looked at keeps its text, whatever its mask would make of it.
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        model->setData(index, static_cast<TMaskEdit *>(editor)->Text(), Qt::EditRole);
    }

private:
    TStringGrid *grid_;
};

TStringGrid::TStringGrid(QWidget *parent) : QTableWidget(parent), top_(new Header(this)), corner_(new QLabel(this))
{
    setHorizontalHeader(top_);
    top_->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top_->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    setCornerButtonEnabled(false);
    setItemDelegate(new Delegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    corner_->setIndent(3);
    corner_->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The base classes' destructors still signal (the headers' geometry,
    // the scroll bars, the current cell): every connection ends with the
    // grid's own part, not with the whole widget.
    const QObject *grid = &connections_;
    connect(this, &QTableWidget::currentCellChanged, grid, [this](int row, int col) {
        if (row >= 0 && col >= 0 && OnSelectCell)
            OnSelectCell(col + 1, row + 1);
    });
    connect(this, &QTableWidget::cellClicked, grid, [this] {
        if (OnClick)
            OnClick();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, grid, [this] {
        if (OnTopLeftChanged)
            OnTopLeftChanged();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, grid, [this] {
        if (OnTopLeftChanged)
            OnTopLeftChanged();
    });
    connect(verticalHeader(), &QHeaderView::sectionMoved, grid,
            [this](int logical, int oldVisual, int newVisual) { RowSectionMoved(logical, oldVisual, newVisual); });
    connect(top_, &QHeaderView::geometriesChanged, grid, [this] { PlaceCorner(); });
    connect(verticalHeader(), &QHeaderView::geometriesChanged, grid, [this] { PlaceCorner(); });
}

void TStringGrid::SetColCount(int count)
{
    setColumnCount(qMax(0, count - 1));
}

void TStringGrid::SetRowCount(int count)
{
    setRowCount(qMax(0, count - 1));
}

QTableWidgetItem *TStringGrid::ItemAt(int col, int row, bool create)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount() || (col == 0 && row == 0))
        return nullptr;
    QTableWidgetItem *item = nullptr;
    if (row == 0)
        item = horizontalHeaderItem(col - 1);
    else if (col == 0)
        item = verticalHeaderItem(row - 1);
    else
        item = this->item(row - 1, col - 1);
    if (item != nullptr || !create)
        return item;
    item = new QTableWidgetItem;
    if (row == 0)
        setHorizontalHeaderItem(col - 1, item);
    else if (col == 0)
        setVerticalHeaderItem(row - 1, item);
    else
        setItem(row - 1, col - 1, item);
    return item;
}

QString TStringGrid::Cell(int col, int row) const
{
    if (col == 0 && row == 0)
        return corner_->text();
    auto *self = const_cast<TStringGrid *>(this);
    QTableWidgetItem *item = self->ItemAt(col, row, false);
    return item != nullptr ? item->text() : QString();
}

void TStringGrid::SetCell(int col, int row, const QString &text)
{
    if (col == 0 && row == 0) {
        corner_->setText(text);
        return;
    }
    if (QTableWidgetItem *item = ItemAt(col, row, true))
        item->setText(text);
}

QWidget *TStringGrid::Object(int col, int row) const
{
    if (col < 1 || row < 1)
        return nullptr;
    return cellWidget(row - 1, col - 1);
}

void TStringGrid::SetObject(int col, int row, QWidget *control)
{
    if (col >= 1 && row >= 1)
        setCellWidget(row - 1, col - 1, control);
}

int TStringGrid::ColWidth(int col) const
{
    if (col == 0)
        return verticalHeader()->width();
    return columnWidth(col - 1);
}

void TStringGrid::SetColWidth(int col, int width)
{
    if (col == 0)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col - 1, width);
}

int TStringGrid::LeastColWidth(int col) const
{
    if (col < 1 || col >= ColCount())
        return 0;
    // The margins the item delegate leaves around a cell's text.
    const int textMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    int least = top_->sectionSizeHint(col - 1);
    for (int row = 1; row < RowCount(); ++row) {
        if (const QWidget *control = Object(col, row))
            least = std::max(least, control->sizeHint().width() + 1);
        else
            least = std::max(least, fontMetrics().horizontalAdvance(Cell(col, row)) + textMargins + 1);
    }
    return least;
}

int TStringGrid::RowHeight(int row) const
{
    if (row == 0)
        return top_->height();
    return rowHeight(row - 1);
}

void TStringGrid::SetRowHeight(int row, int height)
{
    if (row == 0)
        top_->setFixedHeight(height);
    else
        setRowHeight(row - 1, height);
}

int TStringGrid::Col() const
{
    return currentColumn() + 1;
}

int TStringGrid::Row() const
{
    return currentRow() + 1;
}

void TStringGrid::SetCurrentCell(int col, int row)
{
    setCurrentCell(row - 1, col - 1);
}

int TStringGrid::LeftCol() const
{
    const int visual = top_->visualIndexAt(0);
    return visual < 0 ? 1 : top_->logicalIndex(visual) + 1;
}

void TStringGrid::SetEditing(bool on)
{
    editing_ = on;
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                       : QAbstractItemView::NoEditTriggers);
}

void TStringGrid::SetRowMoving(bool on)
{
    verticalHeader()->setSectionsMovable(on);
}

void TStringGrid::RepaintFixedRow()
{
    top_->viewport()->update();
}

void TStringGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    PlaceCorner();
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    if (OnDblClick)
        OnDblClick();
}

void TStringGrid::PlaceCorner()
{
    const int frame = frameWidth();
    corner_->setGeometry(frame, frame, verticalHeader()->width(), top_->height());
    corner_->raise();
}

void TStringGrid::RowSectionMoved(int, int oldVisual, int newVisual)
{
    if (movingRow_)
        return;
    // Keep the view's order and the data's order the same: undo the header
    // move and move the row's cells instead, so that row r is what shows as row r.
    movingRow_ = true;
    verticalHeader()->moveSection(newVisual, oldVisual);
    const int cols = columnCount();
    QList<QTableWidgetItem *> moved;
    for (int c = 0; c < cols; ++c)
        moved << takeItem(oldVisual, c);
    QTableWidgetItem *head = takeVerticalHeaderItem(oldVisual);
    removeRow(oldVisual);
    insertRow(newVisual);
    for (int c = 0; c < cols; ++c)
        setItem(newVisual, c, moved[c]);
    setVerticalHeaderItem(newVisual, head);
    movingRow_ = false;
    if (OnRowMoved)
        OnRowMoved(oldVisual + 1, newVisual + 1);
}
