#pragma once
// Input and close requests as the platform hands them over: queued in the
// window system's own queue and delivered when the GUI thread next serves it,
// as real input is. Events sent straight to a widget would skip that queue.
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>
#include <qpa/qwindowsysteminterface_p.h>

namespace wsi {

using Later = QWindowSystemInterface::AsynchronousDelivery;

inline QWindow *WindowOf(const QWidget *widget)
{
    return widget->window()->windowHandle();
}

// A press and a release; text as the key types it (" " for Space, "\r" for Return).
inline void Key(const QWidget *window, int key, const QString &text = QString(),
                Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWindow *w = WindowOf(window);
    QWindowSystemInterface::handleKeyEvent<Later>(w, QEvent::KeyPress, key, modifiers, text);
    QWindowSystemInterface::handleKeyEvent<Later>(w, QEvent::KeyRelease, key, modifiers, text);
}

// A left click at a point of the widget, the pointer moved there first.
inline void ClickAt(const QWidget *target, const QPoint &at)
{
    QWindow *w = WindowOf(target);
    const Qt::MouseButton button = Qt::LeftButton;
    const QPointF local = target->mapTo(target->window(), at);
    const QPointF global = target->mapToGlobal(at);
    QWindowSystemInterface::handleMouseEvent<Later>(w, local, global, Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
    QWindowSystemInterface::handleMouseEvent<Later>(w, local, global, button, button, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Later>(w, local, global, Qt::NoButton, button,
                                                     QEvent::MouseButtonRelease);
}

inline void Click(const QWidget *target)
{
    ClickAt(target, target->rect().center());
}

// True while the window system's queue holds events not yet delivered.
inline bool Queued()
{
    return QWindowSystemInterfacePrivate::windowSystemEventsQueued() > 0;
}

// The window manager's close request (the close button, WM_DELETE_WINDOW).
inline void Close(const QWidget *window)
{
    QWindowSystemInterface::handleCloseEvent<Later>(WindowOf(window));
}

} // namespace wsi
