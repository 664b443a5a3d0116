#include "toolkit/InputBarrier.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Sits in front of every receiver of the GUI thread, so that the event goes
// nowhere, not to a window, its widgets or their filters.
class Dropper : public QObject {
protected:
    bool eventFilter(QObject *, QEvent *event) override { return IsUserInput(event->type()); }
};

int depth = 0;
Dropper *dropper = nullptr;

} // namespace

InputBarrier::InputBarrier()
{
    if (depth++ > 0)
        return;
    if (QCoreApplication *app = QCoreApplication::instance()) {
        dropper = new Dropper;
        app->installEventFilter(dropper);
    }
}

InputBarrier::~InputBarrier()
{
    if (--depth > 0)
        return;
    delete dropper; // takes itself out of the application's filters
    dropper = nullptr;
}

bool InputBarrier::Active()
{
    return depth > 0;
}
