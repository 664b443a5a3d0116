#pragma once
// A control of a window as the language file and the tests know it: by its
// object name.
#include <QString>
#include <QWidget>

// The control named `name` anywhere in the window, or null.
template <class T>
T *FindControl(const QWidget *window, const QString &name)
{
    return window != nullptr ? window->findChild<T *>(name) : nullptr;
}
