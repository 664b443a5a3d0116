#include "common/ActionLinks.h"

#include <QAbstractButton>
#include <QAction>

void LinkToAction(QAction *item, QAction *action, ItemShows shows)
{
    if (shows == ItemShows::ShortcutAndHint) {
        item->setShortcut(action->shortcut());
        item->setStatusTip(action->statusTip());
    }
    item->setEnabled(action->isEnabled());
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
}

void LinkToAction(QAbstractButton *button, QAction *action)
{
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(action->toolTip());
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
}
