#pragma once
// Page 23: the 14 output-control scenarios in one grid, one row per
// scenario and one column per pulse step, with the pulse diagram of the
// current row drawn into the grid's header row.
#include "configurator/pages/ConfigPage.h"

#include <QColor>

class QPlainTextEdit;
class TStringGrid;

// Where the pulse diagram is drawn, in the grid's coordinates.
class DiagramCanvas {
public:
    virtual ~DiagramCanvas() = default;
    virtual void SetPen(const QColor &colour, int width) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
};

class PageScenarios : public ConfigPage {
    Q_OBJECT
public:
    // Columns of StringGrid2; rows 1..14 are scenarios 1..14.
    enum Column { ColTitle = 0, ColCycle = 1, ColRepeat = 2, ColLevel = 3, ColFirstStep = 4, ColLastStep = 19 };

    explicit PageScenarios(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label79; }
    void Enter(int page) override;
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // Handlers of StringGrid2.
    QString StringGrid2GetEditMask(int col, int row) const;
    void StringGrid2SelectCell(int col, int row);
    void StringGrid2DblClick();
    void StringGrid2SetEditText(int col, int row, const QString &text);
    void StringGrid2Click();
    void StringGrid2TopLeftChanged();
    // Has the pulse diagram of the current row drawn again.
    void StringGrid2DrawDiagram();
    // Draws the pulse diagram of the current row.
    void DrawDiagram(DiagramCanvas &canvas) const;
    // A column's width and a row's height without the grid line.
    int CellWidth(int col) const;
    int CellHeight(int row) const;

    QLabel *Label79;
    TStringGrid *StringGrid2;
    QPlainTextEdit *Memo2;

private:
    void SetUpGrid();
    int Number(int col, int row) const;
    bool IsCyclic(int row) const;
};
