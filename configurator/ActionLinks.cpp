#include "configurator/ActionLinks.h"

#include <QAbstractButton>
#include <QAction>

void LinkToAction(QAction *item, QAction *action, const QString &caption)
{
    item->setText(caption);
    item->setShortcut(action->shortcut());
    item->setStatusTip(action->statusTip());
    item->setEnabled(action->isEnabled());
    QObject::connect(item, &QAction::triggered, action, [action] { action->trigger(); });
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
}

void LinkToAction(QAbstractButton *button, QAction *action, const QString &caption)
{
    button->setText(caption);
    button->setToolTip(action->toolTip());
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
    QObject::connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
}
