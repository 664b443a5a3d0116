#pragma once
// One serial port: its settings, open and close, blocking and requested
// transfers bounded by the port's time-outs, queue purges and line control,
// and the event thread that announces comm events while the port is open.
// Every failure raises EComPort. The object has no lock: one thread uses it at
// a time, except that AbortAllAsync may end a transfer that another thread
// waits for, and the event thread runs the notification hooks.
#include "serial/ComError.h"
#include "serial/ComSettings.h"
#include "serial/ComTypes.h"
#include "serial/CommRecords.h"
#include "serial/SerialDevice.h"
#include "toolkit/Thread.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QEvent;
class TComNotifyWindow;
class TComThread;
class TStopEvent;

// The designing and loading flags of a component, which its setters look at.
struct TComponentState {
    bool Designing = false;
    bool Loading = false;
};

// The record of one requested transfer (InitAsync .. DoneAsync).
struct TAsync {
    TOperationKind Kind = okWrite;
    IoRequest Request;
};
using PAsync = TAsync *;

void InitAsync(PAsync &async);
void DoneAsync(PAsync &async);

class TCustomComPort {
public:
    TCustomComPort();
    TCustomComPort(const TCustomComPort &) = delete;
    TCustomComPort &operator=(const TCustomComPort &) = delete;
    virtual ~TCustomComPort();

    // ---- component state
    TComponentState ComponentState() const { return state_; }
    void SetComponentState(TComponentState state) { state_ = state; }
    // End of loading: a port that was set Connected while loading opens now;
    // a failure goes to the application's exception report.
    virtual void Loaded();

    // ---- open and close
    void Open();
    void Close();
    bool Connected() const { return connected_; }
    void SetConnected(bool value);

    void BeginUpdate();
    void EndUpdate();

    // ---- settings
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate value);
    std::int32_t CustomBaudRate() const { return customBaudRate_; }
    void SetCustomBaudRate(std::int32_t value);
    QString Port() const { return port_; }
    void SetPort(const QString &value);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits value);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits value);
    bool DiscardNull() const { return discardNull_; }
    void SetDiscardNull(bool value);
    char EventChar() const { return eventChar_; }
    void SetEventChar(char value);
    // Takes effect at the next Open.
    TComEvents Events() const { return events_; }
    void SetEvents(TComEvents value) { events_ = value; }
    TSyncMethod SyncMethod() const { return syncMethod_; }
    void SetSyncMethod(TSyncMethod value);
    TThreadPriority EventThreadPriority() const { return eventThreadPriority_; }
    void SetEventThreadPriority(TThreadPriority value);
    bool TriggersOnRxChar() const { return triggersOnRxChar_; }
    void SetTriggersOnRxChar(bool value) { triggersOnRxChar_ = value; }

    TComTimeouts *Timeouts() { return &timeouts_; }
    TComBuffer *Buffer() { return &buffer_; }
    TComParity *Parity() { return &parity_; }
    TComFlowControl *FlowControl() { return &flowControl_; }
    const TComTimeouts *Timeouts() const { return &timeouts_; }
    const TComBuffer *Buffer() const { return &buffer_; }
    const TComParity *Parity() const { return &parity_; }
    const TComFlowControl *FlowControl() const { return &flowControl_; }
    // Copy the given group in, then apply it.
    void SetTimeouts(const TComTimeouts &value);
    void SetBuffer(const TComBuffer &value);
    void SetParity(const TComParity &value);
    void SetFlowControl(const TComFlowControl &value);

    // Apply one group to the open device; nothing while closed, in an update,
    // designing or loading. Raise 9, 7, 8 when the device refuses.
    virtual void ApplyBuffer();
    virtual void ApplyDCB();
    virtual void ApplyTimeouts();

    // ---- transfers
    // Block until the port's time-outs end them; return the bytes moved.
    std::int32_t Read(void *buffer, std::int32_t count);
    std::int32_t Write(const void *buffer, std::int32_t count);
    std::int32_t ReadStr(QByteArray &text, std::int32_t count);
    std::int32_t WriteStr(const QByteArray &text);

    // Requested transfers: the buffer stays valid until the request completes.
    std::int32_t WriteAsync(const void *buffer, std::int32_t count, PAsync async);
    std::int32_t ReadAsync(void *buffer, std::int32_t count, PAsync async);
    std::int32_t WaitForAsync(PAsync async);
    bool IsAsyncCompleted(PAsync async);
    // Ends every pending transfer, also those waited for on other threads.
    void AbortAllAsync();

    // ---- queues and lines
    void ClearBuffer(bool input, bool output);
    std::int32_t InputCount();
    std::int32_t OutputCount();
    std::uint8_t StateFlags();
    TComErrors LastErrors();
    TComSignals Signals();
    void SetDTR(bool state);
    void SetRTS(bool state);
    void SetBreak(bool state);
    void SetXonXoff(bool state);
    void TransmitChar(char c);

    // ---- events without the event thread
    // Waits for one of events, until stop is set (nullptr: no stop) or timeoutMs
    // passes (-1: no time-out); events becomes those that occurred, empty after
    // a time-out or a stop. Raises 20 while an event thread runs, 21 when the
    // wait fails.
    void WaitForEvent(TComEvents &events, TStopEvent *stop, std::int32_t timeoutMs);

    // ---- the device behind the port
    // Replaces the way a COM name becomes an open device (tests give a fake).
    void SetDeviceOpener(SerialDeviceOpener opener);

    // ---- free notification
    // Tells the client once, from the destructor, that the port goes away.
    // One registration per client; a later one replaces it.
    void FreeNotification(const void *client, std::function<void(TCustomComPort *)> notify);
    void RemoveFreeNotification(const void *client);

    // ---- notifications
    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComErrorEvent OnError;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnAfterClose;
    TNotifyEvent OnBeforeOpen;
    TNotifyEvent OnBeforeClose;
    TNotifyEvent OnRx80Full;

protected:
    virtual void CreateHandle();
    virtual void DestroyHandle();
    virtual void SetupComPort();

    virtual void DoAfterClose();
    virtual void DoAfterOpen();
    virtual void DoBeforeClose();
    virtual void DoBeforeOpen();
    virtual void DoRxChar(std::int32_t count);
    virtual void DoRxBuf(const void *buffer, std::int32_t count);
    virtual void DoTxEmpty();
    virtual void DoBreak();
    virtual void DoRing();
    virtual void DoRxFlag();
    virtual void DoCTSChange(bool onOff);
    virtual void DoDSRChange(bool onOff);
    virtual void DoError(TComErrors errors);
    virtual void DoRLSDChange(bool onOff);
    virtual void DoRx80Full();

    // The routines that the event dispatch calls, one per event; each ends
    // in its Do... hook. The line routines read the modem lines and report
    // their line's present state.
    void CallRxChar();
    void CallTxEmpty();
    void CallBreak();
    void CallRing();
    void CallRxFlag();
    void CallRx80Full();
    void CallCTSChange();
    void CallDSRChange();
    void CallRLSDChange();
    void CallError();

    // The notification window's message handler: true when it was an event
    // notification, which runs its routine only while the port is open.
    bool WindowMethod(QEvent *message);

    // Whether a batch of these events has anything for the hooks to hand to:
    // a handler assigned for one of them. A batch that has nothing is
    // dispatched by the event thread itself, without a hand-over. A class
    // whose hooks act without a handler answers for them here.
    virtual bool Listens(TComEvents events) const;
    // The EV_ bits of the events that only a handler would hear, where none is assigned.
    std::uint32_t UnheardEvents() const;

private:
    friend class TComThread;
    friend class TComNotifyWindow;

    struct EventRoutine {
        TComEvent event;
        std::uint32_t message; // the EV_ value
        void (TCustomComPort::*call)();
    };
    // In the order of dispatch.
    static const std::array<EventRoutine, 10> &EventRoutines();

    void StartEventThread();
    void StopEventThread();

    bool CanApply() const;
    void CallBeforeOpen();
    void CallAfterOpen();
    void CallBeforeClose();
    void CallAfterClose();
    void CheckSignals(bool open);
    template <typename T>
    void ChangeLineSetting(T &field, T value);
    // The device, or EComPort(code, EBADF) on a port that is not open.
    ISerialDevice &Device(std::int32_t code);
    // Calls the device; a failure is raised as EComPort(code, error).
    template <typename... Params, typename... Args>
    void DeviceCall(std::int32_t code, int (ISerialDevice::*call)(Params...), Args &&...args);
    // The body of ReadAsync and WriteAsync.
    std::int32_t StartAsync(TOperationKind kind, void *buffer, std::int32_t count, PAsync async);
    void Escape(std::uint32_t function);
    COMSTAT QueueStatus(std::uint32_t *errors = nullptr);

    std::unique_ptr<TComThread> eventThread_;
    bool threadRunning_ = false;
    std::unique_ptr<ISerialDevice> device_;
    TComNotifyWindow *notifyWindow_ = nullptr;
    // Reused for OnRxBuf, so that a batch costs no allocation.
    std::vector<char> rxBuffer_;
    SerialDeviceOpener opener_;
    TComponentState state_;
    std::int32_t updateCount_ = 0;
    bool triggersOnRxChar_ = true;
    TThreadPriority eventThreadPriority_ = TThreadPriority::tpNormal;
    bool connected_ = false;
    TBaudRate baudRate_ = br9600;
    std::int32_t customBaudRate_ = 9600;
    QString port_ = QStringLiteral("COM1");
    TStopBits stopBits_ = sbOneStopBit;
    TDataBits dataBits_ = dbEight;
    bool discardNull_ = false;
    char eventChar_ = 0;
    TComEvents events_ = TComEvents::All();
    TComBuffer buffer_;
    TComParity parity_;
    TComTimeouts timeouts_;
    TComFlowControl flowControl_;
    TSyncMethod syncMethod_ = smThreadSync;
    std::vector<std::pair<const void *, std::function<void(TCustomComPort *)>>> freeNotifies_;
};

class TComPort : public TCustomComPort {};

// The line state that ApplyDCB hands to the device.
DCB BuildDCB(const TCustomComPort &port);
// The time-outs that ApplyTimeouts hands to the device (-1 becomes MAXDWORD).
COMMTIMEOUTS BuildCommTimeouts(const TComTimeouts &timeouts);
