#pragma once
// Menu items and tool buttons bound to an action: they run the action and
// follow its enabled state. Their captions are their own, given where they
// are made (a language file sets the items' captions, not the actions').
class QAbstractButton;
class QAction;

// What a menu item shows of its action besides the state.
enum class ItemShows {
    StateOnly,
    ShortcutAndHint, // the shortcut beside the caption, the hint in the status bar
};

void LinkToAction(QAction *item, QAction *action, ItemShows shows);
// The button shows the action's tooltip. A speed button: a key pressed in
// the window never presses it.
void LinkToAction(QAbstractButton *button, QAction *action);
