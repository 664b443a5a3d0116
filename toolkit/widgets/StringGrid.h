#pragma once
// A string grid in the shape the forms use: cells addressed (column, row)
// with row 0 and column 0 fixed (they stay in view when the grid scrolls),
// controls placed over cells, a grid-wide in-place editing switch, per-cell
// edit masks and rows the user can drag.
#include <QTableWidget>
#include <functional>

class QLabel;
class QPainter;

class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget *parent = nullptr);

    // Counts include the fixed row and column.
    int ColCount() const { return columnCount() + 1; }
    int RowCount() const { return rowCount() + 1; }
    void SetColCount(int count);
    void SetRowCount(int count);

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString &text);
    // The control placed over a (scrollable) cell, or null. The grid owns it.
    QWidget *Object(int col, int row) const;
    void SetObject(int col, int row, QWidget *control);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    // The least width that shows a scrollable column's heading and every
    // cell whole: its text, or the control placed over it beside the grid line.
    int LeastColWidth(int col) const;
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);

    // The current cell, in grid coordinates (both at least 1 once one is chosen).
    int Col() const;
    int Row() const;
    void SetCurrentCell(int col, int row);
    // The first scrollable column in view.
    int LeftCol() const;

    // In-place editing on or off for the whole grid.
    void SetEditing(bool on);
    bool Editing() const { return editing_; }
    void SetRowMoving(bool on);

    // Hooks; each may be left empty.
    std::function<QString(int col, int row)> OnGetEditMask;
    std::function<void(int col, int row)> OnSelectCell;
    std::function<void(int col, int row, const QString &text)> OnSetEditText;
    std::function<void(int fromRow, int toRow)> OnRowMoved;
    std::function<void()> OnTopLeftChanged;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // Called after the fixed row has been painted; in the painter's
    // coordinates the fixed column spans 0..ColWidth(0) and the first
    // scrollable column in view (LeftCol) starts at ColWidth(0).
    std::function<void(QPainter &painter)> OnPaintFixedRow;

    // Repaints the fixed row, so that OnPaintFixedRow draws again.
    void RepaintFixedRow();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    class Header;
    class Delegate;
    friend class Delegate;

    QTableWidgetItem *ItemAt(int col, int row, bool create);
    void PlaceCorner();
    void RowSectionMoved(int logical, int oldVisual, int newVisual);

    // The context of the grid's own connections: it goes with ~TStringGrid.
    QObject connections_;
    Header *top_;
    QLabel *corner_;
    bool editing_ = false;
    bool movingRow_ = false;
};
