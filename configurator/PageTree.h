#pragma once
// The navigation tree of the main window: every node is a page, and a page's
// number is its node's absolute index in the tree. Pages that share a panel
// show one record each.
#include <QString>

class QTreeWidget;

inline constexpr int PageCount = 25;
// PreviousPage before the first page is entered.
inline constexpr int NoPage = -1;

enum class PanelId {
    LiveState,  // page 0
    General,    // 1
    Connection, // 2..9
    Clock,      // 10
    Power,      // 11
    ArmIn,      // 12
    Inputs,     // 13
    Input,      // 14..17
    Outputs,    // 18
    Output,     // 19..22
    Scenarios,  // 23
    System,     // 24
    LargerModel // no page: the larger model's controls, hidden
};
inline constexpr int PanelCount = int(PanelId::LargerModel) + 1;

// The panel of page 0..24.
PanelId PanelOfPage(int page);

// Whether leaving the page stores its controls: every page but the root (0)
// and the outputs overview (18), which hold no configuration.
bool PageStoresValues(int page);

// The 25 nodes: lines separated by CR LF, the depth given by leading tabs.
const QString &BuiltInTreeText();

// Replaces the tree's nodes by those of a tab-indented text. A line indented
// deeper than one level below its predecessor hangs one level below it.
void LoadTreeItems(QTreeWidget &tree, const QString &text);
