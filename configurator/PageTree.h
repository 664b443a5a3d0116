#pragma once
// The navigation tree of the main window: every node is a page, and a page's
// number is its node's absolute index in the tree. Pages that share a panel
// show one record each.
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

inline constexpr int PageCount = 25;
// PreviousPage before the first page is entered.
inline constexpr int NoPage = -1;

// The pages the code names, by their place in the tree.
namespace Pages {
inline constexpr int LiveState = 0; // the root: the controller, its identity and live state
inline constexpr int General = 1;
inline constexpr int FirstConnection = 2; // connections 1..8
inline constexpr int ConnectionCount = 8;
inline constexpr int Clock = 10;
inline constexpr int Power = 11;
inline constexpr int ArmIn = 12;
inline constexpr int Inputs = 13;
inline constexpr int FirstInput = 14; // inputs 1..4
inline constexpr int InputCount = 4;
inline constexpr int Outputs = 18;
inline constexpr int FirstOutput = 19; // relays 1, 2 and outputs 1, 2
inline constexpr int OutputCount = 4;
inline constexpr int Scenarios = 23;
inline constexpr int SystemParameters = 24;
} // namespace Pages

enum class PanelId {
    LiveState,
    General,
    Connection, // the eight connection pages
    Clock,
    Power,
    ArmIn,
    Inputs,
    Input, // the four input pages
    Outputs,
    Output, // the four relay and output pages
    Scenarios,
    System,
    LargerModel // no page: the larger model's controls, hidden
};
inline constexpr int PanelCount = int(PanelId::LargerModel) + 1;

// The panel of a page 0..PageCount - 1.
PanelId PanelOfPage(int page);

// Whether leaving the page stores its controls: every page but the root and
// the outputs overview, which hold no configuration.
bool PageStoresValues(int page);

// The 25 nodes: lines separated by CR LF, the depth given by leading tabs.
const QString &BuiltInTreeText();

// Replaces the tree's nodes by those of a tab-indented text. A line indented
// deeper than one level below its predecessor hangs one level below it.
void LoadTreeItems(QTreeWidget &tree, const QString &text);

// The node of a page number, or null.
QTreeWidgetItem *PageNode(const QTreeWidget &tree, int page);
