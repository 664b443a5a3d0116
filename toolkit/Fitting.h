#pragma once
// How a window and the parts of a window share the room a screen gives
// them. Plain rules on sizes, so that they can be checked without a screen.
#include <QMargins>
#include <QSize>

#include <vector>

// How a main window of a designed size opens: the window manager puts its
// frame around the window, and the framed window has to stay inside the
// screen's available area.
struct WindowFit {
    // The window's own size without the frame; maximised, its size when restored.
    QSize size;
    bool maximised = false;
    friend bool operator==(const WindowFit &, const WindowFit &) = default;
};

// At the designed size where that fits with the frame; otherwise maximised,
// and restored no larger than the area leaves inside the frame.
WindowFit FitWindow(QSize designed, QSize available, QMargins frame);

// A column of a grid: the width it is designed with, and the least it can
// do with (its heading and its controls still whole). least > need counts as need.
struct ColumnRoom {
    int least;
    int need;
};

// The widths of a grid's columns in a view `width` wide. Where all fit at
// their needs, the needs. Otherwise the columns that fit in view at their
// least, counted from the left, give up width in proportion to what each can
// give, as far as it takes for the view to end where one of them ends; the
// columns beyond keep their needs, for the grid to scroll to them.
std::vector<int> ColumnWidths(const std::vector<ColumnRoom> &columns, int width);

// A panel of a status bar: the least width it is designed with, the width
// its text takes, and its share of spare width.
struct PanelRoom {
    int least;
    int text;
    int stretch;
};

// The widths of the panels in a bar `width` wide, the gaps between them not
// counted. Where every panel fits at its least width and its text, the bar's
// width is shared by stretch, none narrower than that. Where not, each keeps
// its least width, and those whose texts need more share the rest in
// proportion to what more they need.
std::vector<int> PanelWidths(const std::vector<PanelRoom> &panels, int width);
