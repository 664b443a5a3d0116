#pragma once
// The event thread of an open port: it waits for the port's comm events and
// hands each batch to the port's notification hooks, in the thread that the
// port's SyncMethod names.
#include "serial/ComTypes.h"
#include "toolkit/Thread.h"
#include "serial/posix/StopEvent.h"

#include <QEvent>
#include <QObject>
#include <atomic>
#include <cstdint>
#include <exception>

class TCustomComPort;

// The notification of one event (WM_USER + 1); its word parameter is the
// event's EV_ value.
constexpr QEvent::Type ComEventMessage = static_cast<QEvent::Type>(0x0400 + 1);

class TComEventMessage : public QEvent {
public:
    explicit TComEventMessage(std::uint32_t wParam) : QEvent(ComEventMessage), WParam(wParam) {}
    const std::uint32_t WParam;
    const std::intptr_t LParam = 0;
};

// The hidden notification window of smWindowSync. It belongs to the thread
// that opened the port, whose event loop runs the hooks; once detached from
// its port it drops what still arrives.
class TComNotifyWindow : public QObject {
public:
    explicit TComNotifyWindow(TCustomComPort *port) : port_(port) {}
    void Detach() { port_.store(nullptr); }

protected:
    bool event(QEvent *e) override;

private:
    std::atomic<TCustomComPort *> port_;
};

class TComThread : public TThread {
public:
    // Sets the device's event mask from the port's Events and starts at the
    // port's priority. Raises std::system_error when no stop event can be had.
    explicit TComThread(TCustomComPort *port);
    // Stops the thread and waits for its end.
    ~TComThread() override;

    // Only signals; the destructor waits.
    void Stop();

protected:
    void Execute() override;

private:
    void DispatchComMsg();
    void DoEvents();
    void SendEvents();

    TCustomComPort *port_;
    TStopEvent stop_;
    TComEvents events_;
    // Set when the device has gone; it is watched no more.
    std::atomic<bool> gone_{false};
};

// The failure of a notification routine goes to the exception report, unless
// the device has gone: the link tells of that with its own message. True for
// a device that has gone.
bool ReportDispatchFailure(std::exception_ptr error);
