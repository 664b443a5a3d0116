#include "serial/ComThread.h"
#include "serial/ComConvert.h"
#include "serial/ComPort.h"
#include "toolkit/ExceptionReport.h"

#include <QCoreApplication>
#include <algorithm>

bool TComNotifyWindow::event(QEvent *e)
{
    TCustomComPort *port = port_.load();
    if (port != nullptr && port->WindowMethod(e))
        return true;
    return QObject::event(e);
}

TComThread::TComThread(TCustomComPort *port) : port_(port)
{
    SetPriority(port->EventThreadPriority());
    port->device_->SetCommMask(EventsToMask(port->Events()));
    port->device_->SetUnheardEvents(port->UnheardEvents());
    Resume();
}

TComThread::~TComThread()
{
    Stop();
    WaitFor();
}

void TComThread::Stop()
{
    stop_.Set();
}

void TComThread::Execute()
{
    ISerialDevice &device = *port_->device_;
    std::int32_t retryMs = 0;
    while (!gone_.load()) {
        // A handler assigned meanwhile is heard from here on.
        device.SetUnheardEvents(port_->UnheardEvents());
        std::uint32_t mask = 0;
        const int e = device.WaitCommEvent(mask, &stop_, -1);
        if (stop_.IsSet())
            break;
        if (DeviceGone(e)) {
            gone_.store(true);
            break;
        }
        if (e != 0) {
            // A wait that fails at once is tried again later, never in a tight loop.
            retryMs = std::clamp(retryMs * 2, 10, 1000);
            if (stop_.Wait(retryMs))
                break;
            continue;
        }
        retryMs = 0;
        events_ = MaskToEvents(mask);
        if (!events_.Empty())
            DispatchComMsg();
    }
    // A device that has gone has nothing more to tell; the port's Close ends the thread.
    if (gone_.load())
        stop_.Wait(-1);
    device.SetCommMask(0);
    device.Purge(PURGE_TXCLEAR | PURGE_RXCLEAR);
}

void TComThread::DispatchComMsg()
{
    try {
        // Nothing to hand over: the routines' driver queries run here.
        if (!port_->Listens(events_)) {
            DoEvents();
            return;
        }
        switch (port_->SyncMethod()) {
        case smThreadSync:
            Synchronize([this] { DoEvents(); });
            break;
        case smWindowSync:
            SendEvents();
            break;
        case smNone:
            DoEvents();
            break;
        }
    } catch (...) {
        if (ReportDispatchFailure(std::current_exception()))
            gone_.store(true);
    }
}

void TComThread::DoEvents()
{
    // Each routine on its own, as the notification window takes them: a
    // failing one costs the batch nothing else, unless the device has gone.
    for (const auto &routine : TCustomComPort::EventRoutines()) {
        if (!events_.Contains(routine.event))
            continue;
        try {
            (port_->*routine.call)();
        } catch (...) {
            if (ReportDispatchFailure(std::current_exception())) {
                gone_.store(true);
                return;
            }
        }
    }
}

void TComThread::SendEvents()
{
    for (const auto &routine : TCustomComPort::EventRoutines()) {
        if (events_.Contains(routine.event))
            QCoreApplication::postEvent(port_->notifyWindow_, new TComEventMessage(routine.message));
    }
}

bool ReportDispatchFailure(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EComPort &e) {
        if (DeviceGone(e.WinErrorCode()))
            return true;
    } catch (...) {
    }
    ApplicationHandleException(error);
    return false;
}
