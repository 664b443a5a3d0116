#pragma once
// Menu items and tool buttons bound to an action: they run the action and
// follow its enabled state, but keep a caption of their own (the language
// file sets the items' captions, not the actions').
#include <QString>

class QAbstractButton;
class QAction;

// The item shows caption and the action's shortcut and hint.
void LinkToAction(QAction *item, QAction *action, const QString &caption);
void LinkToAction(QAbstractButton *button, QAction *action, const QString &caption);
