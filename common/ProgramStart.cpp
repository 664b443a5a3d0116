#include "common/ProgramStart.h"
#include "toolkit/ExceptionReport.h"

#include <exception>

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ApplicationHandleException(std::current_exception());
        return false;
    }
}
