#include "serial/ComPort.h"
#include "serial/ComConvert.h"
#include "serial/ComThread.h"
#include "toolkit/ExceptionReport.h"
#include "serial/posix/PosixSerialDevice.h"

#include <QThread>
#include <array>
#include <cerrno>
#include <system_error>

// ---- request records

void InitAsync(PAsync &async)
{
    async = new TAsync;
}

void DoneAsync(PAsync &async)
{
    delete async;
    async = nullptr;
}

// ---- records built from the settings

DCB BuildDCB(const TCustomComPort &port)
{
    static constexpr std::array<std::uint32_t, 16> BaudRates = {
        0, 110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    static constexpr std::array<std::uint32_t, 3> DtrControl = {0, DCB_DtrControlEnable, DCB_DtrControlHandshake};
    static constexpr std::array<std::uint32_t, 4> RtsControl = {
        0, DCB_RtsControlEnable, DCB_RtsControlHandshake, DCB_RtsControlToggle};

    const TComParity &parity = *port.Parity();
    const TComFlowControl &flow = *port.FlowControl();
    const bool replace = parity.Check() && parity.Replace();

    DCB dcb;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = port.BaudRate() == brCustom ? static_cast<std::uint32_t>(port.CustomBaudRate())
                                               : BaudRates[port.BaudRate()];
    std::uint32_t flags = DCB_fBinary;
    if (parity.Check())
        flags |= DCB_fParity;
    if (flow.OutCTSFlow())
        flags |= DCB_fOutxCtsFlow;
    if (flow.OutDSRFlow())
        flags |= DCB_fOutxDsrFlow;
    flags |= DtrControl[flow.ControlDTR()];
    if (flow.DSRSensitivity())
        flags |= DCB_fDsrSensitivity;
    if (flow.TxContinueOnXoff())
        flags |= DCB_fTXContinueOnXoff;
    if (flow.XonXoffOut())
        flags |= DCB_fOutX;
    if (flow.XonXoffIn())
        flags |= DCB_fInX;
    if (replace)
        flags |= DCB_fErrorChar;
    if (port.DiscardNull())
        flags |= DCB_fNull;
    flags |= RtsControl[flow.ControlRTS()];
    dcb.Flags = flags;
    dcb.XonLim = static_cast<std::uint16_t>(port.Buffer()->InputSize() / 4);
    dcb.XoffLim = dcb.XonLim;
    dcb.ByteSize = static_cast<std::uint8_t>(5 + port.DataBits());
    dcb.Parity = parity.Bits();
    dcb.StopBits = port.StopBits();
    dcb.XonChar = flow.XonChar();
    dcb.XoffChar = flow.XoffChar();
    dcb.ErrorChar = replace ? parity.ReplaceChar() : 0;
    dcb.EofChar = 0;
    dcb.EvtChar = port.EventChar();
    return dcb;
}

COMMTIMEOUTS BuildCommTimeouts(const TComTimeouts &timeouts)
{
    COMMTIMEOUTS t;
    t.ReadIntervalTimeout = static_cast<std::uint32_t>(timeouts.ReadInterval());
    t.ReadTotalTimeoutMultiplier = static_cast<std::uint32_t>(timeouts.ReadTotalMultiplier());
    t.ReadTotalTimeoutConstant = static_cast<std::uint32_t>(timeouts.ReadTotalConstant());
    t.WriteTotalTimeoutMultiplier = static_cast<std::uint32_t>(timeouts.WriteTotalMultiplier());
    t.WriteTotalTimeoutConstant = static_cast<std::uint32_t>(timeouts.WriteTotalConstant());
    return t;
}

// ---- life

TCustomComPort::TCustomComPort() : opener_(OpenPortDevice)
{
    parity_.SetComPort(this);
    flowControl_.SetComPort(this);
    timeouts_.SetComPort(this);
    buffer_.SetComPort(this);
}

TCustomComPort::~TCustomComPort()
{
    // A destructor cannot raise: a refused close is reported, and the device
    // is let go all the same.
    try {
        Close();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
    // After a refused close the event thread still uses the device.
    StopEventThread();
    device_.reset();
    // Taken first, so that a client may unregister from inside its notice.
    const auto notifies = std::exchange(freeNotifies_, {});
    for (const auto &entry : notifies)
        entry.second(this);
}

void TCustomComPort::FreeNotification(const void *client, std::function<void(TCustomComPort *)> notify)
{
    RemoveFreeNotification(client);
    freeNotifies_.emplace_back(client, std::move(notify));
}

void TCustomComPort::RemoveFreeNotification(const void *client)
{
    std::erase_if(freeNotifies_, [client](const auto &entry) { return entry.first == client; });
}

void TCustomComPort::Loaded()
{
    state_.Loading = false;
    if (connected_ && !state_.Designing) {
        connected_ = false;
        try {
            Open();
        } catch (...) {
            ApplicationHandleException(std::current_exception());
        }
    }
}

void TCustomComPort::SetDeviceOpener(SerialDeviceOpener opener)
{
    opener_ = opener ? std::move(opener) : SerialDeviceOpener(OpenPortDevice);
}

// ---- open and close

void TCustomComPort::Open()
{
    if (connected_ || state_.Designing)
        return;
    CallBeforeOpen();
    CreateHandle();
    connected_ = true;
    try {
        SetupComPort();
    } catch (...) {
        DestroyHandle();
        connected_ = false;
        throw;
    }
    StartEventThread();
    CallAfterOpen();
}

void TCustomComPort::Close()
{
    if (!connected_ || state_.Designing)
        return;
    CallBeforeClose();
    AbortAllAsync();
    StopEventThread();
    DestroyHandle();
    connected_ = false;
    CallAfterClose();
}

void TCustomComPort::SetConnected(bool value)
{
    if (state_.Designing || state_.Loading) {
        connected_ = value;
        return;
    }
    if (value == connected_)
        return;
    if (value)
        Open();
    else
        Close();
}

void TCustomComPort::StartEventThread()
{
    threadRunning_ = false;
    if (events_.Empty())
        return;
    auto fail = [this] {
        StopEventThread();
        DestroyHandle();
        connected_ = false;
    };
    try {
        if (syncMethod_ == smWindowSync)
            notifyWindow_ = new TComNotifyWindow(this);
        eventThread_ = std::make_unique<TComThread>(this);
    } catch (const std::system_error &e) {
        fail();
        throw EComPort(CError_OpenFailed, e.code().value());
    } catch (...) {
        fail();
        throw;
    }
    threadRunning_ = true;
}

// Waits for the thread's end; a hand-over it has started to the GUI thread is
// served meanwhile when this runs there.
void TCustomComPort::StopEventThread()
{
    eventThread_.reset();
    threadRunning_ = false;
    if (notifyWindow_ != nullptr) {
        notifyWindow_->Detach();
        if (notifyWindow_->thread() == QThread::currentThread())
            delete notifyWindow_;
        else
            notifyWindow_->deleteLater();
        notifyWindow_ = nullptr;
    }
}

void TCustomComPort::CreateHandle()
{
    int error = 0;
    std::unique_ptr<ISerialDevice> device = opener_(port_, error);
    if (!device)
        throw EComPort(CError_OpenFailed, error != 0 ? error : ENODEV);
    device_ = std::move(device);
}

void TCustomComPort::DestroyHandle()
{
    device_.reset();
}

void TCustomComPort::SetupComPort()
{
    ApplyBuffer();
    ApplyDCB();
    ApplyTimeouts();
}

void TCustomComPort::BeginUpdate()
{
    ++updateCount_;
}

void TCustomComPort::EndUpdate()
{
    if (updateCount_ <= 0)
        return;
    if (--updateCount_ == 0)
        SetupComPort();
}

bool TCustomComPort::CanApply() const
{
    return connected_ && device_ && updateCount_ == 0 && !state_.Designing && !state_.Loading;
}

void TCustomComPort::ApplyBuffer()
{
    if (!CanApply())
        return;
    DeviceCall(CError_SetupComFailed, &ISerialDevice::SetupComm, static_cast<std::uint32_t>(buffer_.InputSize()),
               static_cast<std::uint32_t>(buffer_.OutputSize()));
}

void TCustomComPort::ApplyDCB()
{
    if (!CanApply())
        return;
    DeviceCall(CError_SetStateFailed, &ISerialDevice::SetCommState, BuildDCB(*this));
}

void TCustomComPort::ApplyTimeouts()
{
    if (!CanApply())
        return;
    DeviceCall(CError_SetTimeoutsFailed, &ISerialDevice::SetCommTimeouts, BuildCommTimeouts(timeouts_));
}

// ---- settings

template <typename T>
void TCustomComPort::ChangeLineSetting(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    ApplyDCB();
}

void TCustomComPort::SetBaudRate(TBaudRate value) { ChangeLineSetting(baudRate_, value); }
void TCustomComPort::SetCustomBaudRate(std::int32_t value) { ChangeLineSetting(customBaudRate_, value); }
void TCustomComPort::SetStopBits(TStopBits value) { ChangeLineSetting(stopBits_, value); }
void TCustomComPort::SetDataBits(TDataBits value) { ChangeLineSetting(dataBits_, value); }
void TCustomComPort::SetDiscardNull(bool value) { ChangeLineSetting(discardNull_, value); }
void TCustomComPort::SetEventChar(char value) { ChangeLineSetting(eventChar_, value); }

void TCustomComPort::SetPort(const QString &value)
{
    if (value == port_)
        return;
    port_ = value;
    if (connected_ && !state_.Designing && !state_.Loading) {
        Close();
        Open();
    }
}

void TCustomComPort::SetSyncMethod(TSyncMethod value)
{
    if (value == syncMethod_)
        return;
    if (connected_ && !state_.Designing && !state_.Loading)
        throw EComPort(CError_ConnChangeProp);
    syncMethod_ = value;
}

void TCustomComPort::SetEventThreadPriority(TThreadPriority value)
{
    if (value == eventThreadPriority_)
        return;
    if (connected_ && !state_.Designing && !state_.Loading)
        throw EComPort(CError_ConnChangeProp);
    eventThreadPriority_ = value;
}

void TCustomComPort::SetTimeouts(const TComTimeouts &value)
{
    value.AssignTo(timeouts_);
    ApplyTimeouts();
}

void TCustomComPort::SetBuffer(const TComBuffer &value)
{
    value.AssignTo(buffer_);
    ApplyBuffer();
}

void TCustomComPort::SetParity(const TComParity &value)
{
    value.AssignTo(parity_);
    ApplyDCB();
}

void TCustomComPort::SetFlowControl(const TComFlowControl &value)
{
    value.AssignTo(flowControl_);
    ApplyDCB();
}

// ---- transfers

ISerialDevice &TCustomComPort::Device(std::int32_t code)
{
    if (!device_)
        throw EComPort(code, EBADF);
    return *device_;
}

template <typename... Params, typename... Args>
void TCustomComPort::DeviceCall(std::int32_t code, int (ISerialDevice::*call)(Params...), Args &&...args)
{
    if (int e = (Device(code).*call)(std::forward<Args>(args)...))
        throw EComPort(code, e);
}

namespace {

std::int32_t CodeOf(TOperationKind kind)
{
    return kind == okWrite ? CError_WriteFailed : CError_ReadFailed;
}

// Starts a transfer and waits for its end; the request lives on the caller's stack.
std::int32_t Transfer(ISerialDevice &device, TOperationKind kind, void *buffer, std::int32_t count)
{
    IoRequest request;
    request.Kind = kind;
    request.Buffer = buffer;
    request.Count = count;
    int e = device.StartIo(request);
    if (e == 0 && !request.Completed)
        e = device.AdvanceIo(request, true);
    if (e != 0)
        throw EComPort(CodeOf(kind), e);
    return request.Done;
}

} // namespace

std::int32_t TCustomComPort::Read(void *buffer, std::int32_t count)
{
    return Transfer(Device(CError_ReadFailed), okRead, buffer, count);
}

std::int32_t TCustomComPort::Write(const void *buffer, std::int32_t count)
{
    return Transfer(Device(CError_WriteFailed), okWrite, const_cast<void *>(buffer), count);
}

std::int32_t TCustomComPort::ReadStr(QByteArray &text, std::int32_t count)
{
    if (count <= 0) {
        text.clear();
        return 0;
    }
    text.resize(count);
    const std::int32_t done = Read(text.data(), count);
    text.resize(done);
    return done;
}

std::int32_t TCustomComPort::WriteStr(const QByteArray &text)
{
    if (text.isEmpty())
        return 0;
    return Write(text.constData(), static_cast<std::int32_t>(text.size()));
}

std::int32_t TCustomComPort::StartAsync(TOperationKind kind, void *buffer, std::int32_t count, PAsync async)
{
    if (async == nullptr)
        throw EComPort(CError_InvalidAsync);
    async->Kind = kind;
    async->Request = IoRequest{};
    async->Request.Kind = kind;
    async->Request.Buffer = buffer;
    async->Request.Count = count;
    DeviceCall(CodeOf(kind), &ISerialDevice::StartIo, async->Request);
    return async->Request.Completed ? async->Request.Done : 0;
}

std::int32_t TCustomComPort::WriteAsync(const void *buffer, std::int32_t count, PAsync async)
{
    return StartAsync(okWrite, const_cast<void *>(buffer), count, async);
}

std::int32_t TCustomComPort::ReadAsync(void *buffer, std::int32_t count, PAsync async)
{
    return StartAsync(okRead, buffer, count, async);
}

std::int32_t TCustomComPort::WaitForAsync(PAsync async)
{
    if (async == nullptr)
        throw EComPort(CError_InvalidAsync);
    const std::int32_t code = CodeOf(async->Kind);
    IoRequest &request = async->Request;
    int e = request.Error;
    if (e == 0 && !request.Completed)
        e = Device(code).AdvanceIo(request, true);
    if (e != 0)
        throw EComPort(code, e);
    return request.Done;
}

bool TCustomComPort::IsAsyncCompleted(PAsync async)
{
    if (async == nullptr)
        throw EComPort(CError_InvalidAsync);
    IoRequest &request = async->Request;
    int e = request.Error;
    if (e == 0 && !request.Completed)
        e = Device(CError_AsyncCheck).AdvanceIo(request, false);
    if (e != 0)
        throw EComPort(CError_AsyncCheck, e);
    return request.Completed;
}

void TCustomComPort::AbortAllAsync()
{
    DeviceCall(CError_PurgeFailed, &ISerialDevice::Purge, PURGE_TXABORT | PURGE_RXABORT);
}

// ---- queues and lines

void TCustomComPort::ClearBuffer(bool input, bool output)
{
    std::uint32_t flags = 0;
    if (input)
        flags |= PURGE_RXCLEAR;
    if (output)
        flags |= PURGE_TXCLEAR;
    DeviceCall(CError_PurgeFailed, &ISerialDevice::Purge, flags);
}

COMSTAT TCustomComPort::QueueStatus(std::uint32_t *errors)
{
    std::uint32_t bits = 0;
    COMSTAT stat;
    DeviceCall(CError_ClearComFailed, &ISerialDevice::ClearCommError, bits, stat);
    if (errors != nullptr)
        *errors = bits;
    return stat;
}

std::int32_t TCustomComPort::InputCount()
{
    return static_cast<std::int32_t>(QueueStatus().cbInQue);
}

std::int32_t TCustomComPort::OutputCount()
{
    return static_cast<std::int32_t>(QueueStatus().cbOutQue);
}

std::uint8_t TCustomComPort::StateFlags()
{
    return static_cast<std::uint8_t>(QueueStatus().Flags & 0xFF);
}

TComErrors TCustomComPort::LastErrors()
{
    std::uint32_t bits = 0;
    QueueStatus(&bits);
    struct Map {
        std::uint32_t bit;
        TComError error;
    };
    static constexpr std::array<Map, 8> Errors = {{
        {CE_FRAME, ceFrame}, {CE_RXPARITY, ceRxParity}, {CE_OVERRUN, ceOverrun}, {CE_RXOVER, ceRxOver},
        {CE_TXFULL, ceTxFull}, {CE_BREAK, ceBreak}, {CE_IOE, ceIO}, {CE_MODE, ceMode},
    }};
    TComErrors errors;
    for (const Map &m : Errors) {
        // A parity error counts only where parity is checked.
        if ((bits & m.bit) != 0 && (m.error != ceRxParity || parity_.Check()))
            errors.Include(m.error);
    }
    return errors;
}

TComSignals TCustomComPort::Signals()
{
    std::uint32_t status = 0;
    DeviceCall(CError_ModemStatFailed, &ISerialDevice::GetCommModemStatus, status);
    TComSignals lines;
    if ((status & MS_CTS_ON) != 0)
        lines.Include(csCTS);
    if ((status & MS_DSR_ON) != 0)
        lines.Include(csDSR);
    if ((status & MS_RING_ON) != 0)
        lines.Include(csRing);
    if ((status & MS_RLSD_ON) != 0)
        lines.Include(csRLSD);
    return lines;
}

void TCustomComPort::Escape(std::uint32_t function)
{
    DeviceCall(CError_EscapeComFailed, &ISerialDevice::EscapeCommFunction, function);
}

void TCustomComPort::SetDTR(bool state) { Escape(state ? SETDTR : CLRDTR); }
void TCustomComPort::SetRTS(bool state) { Escape(state ? SETRTS : CLRRTS); }
void TCustomComPort::SetBreak(bool state) { Escape(state ? SETBREAK : CLRBREAK); }
void TCustomComPort::SetXonXoff(bool state) { Escape(state ? SETXON : SETXOFF); }

void TCustomComPort::TransmitChar(char c)
{
    DeviceCall(CError_TransmitFailed, &ISerialDevice::TransmitCommChar, c);
}

void TCustomComPort::WaitForEvent(TComEvents &events, TStopEvent *stop, std::int32_t timeoutMs)
{
    if (threadRunning_)
        throw EComPort(CError_ThreadCreated);
    DeviceCall(CError_WaitFailed, &ISerialDevice::SetCommMask, EventsToMask(events));
    ISerialDevice &device = Device(CError_WaitFailed);
    std::uint32_t occurred = 0;
    const int e = device.WaitCommEvent(occurred, stop, timeoutMs);
    device.SetCommMask(0);
    if (e != 0)
        throw EComPort(CError_WaitFailed, e);
    events = MaskToEvents(occurred);
}

// ---- notifications

void TCustomComPort::CallBeforeOpen()
{
    DoBeforeOpen();
}

void TCustomComPort::CallAfterOpen()
{
    DoAfterOpen();
    CheckSignals(true);
}

void TCustomComPort::CallBeforeClose()
{
    CheckSignals(false);
    DoBeforeClose();
}

void TCustomComPort::CallAfterClose()
{
    DoAfterClose();
}

void TCustomComPort::CheckSignals(bool open)
{
    if (open) {
        CallCTSChange();
        CallDSRChange();
        CallRLSDChange();
    } else {
        DoCTSChange(false);
        DoDSRChange(false);
        DoRLSDChange(false);
    }
}

const std::array<TCustomComPort::EventRoutine, 10> &TCustomComPort::EventRoutines()
{
    static constexpr std::array<EventRoutine, 10> Routines = {{
        {evError, EV_ERR, &TCustomComPort::CallError},
        {evRxChar, EV_RXCHAR, &TCustomComPort::CallRxChar},
        {evTxEmpty, EV_TXEMPTY, &TCustomComPort::CallTxEmpty},
        {evBreak, EV_BREAK, &TCustomComPort::CallBreak},
        {evRing, EV_RING, &TCustomComPort::CallRing},
        {evCTS, EV_CTS, &TCustomComPort::CallCTSChange},
        {evDSR, EV_DSR, &TCustomComPort::CallDSRChange},
        {evRxFlag, EV_RXFLAG, &TCustomComPort::CallRxFlag},
        {evRLSD, EV_RLSD, &TCustomComPort::CallRLSDChange},
        {evRx80Full, EV_RX80FULL, &TCustomComPort::CallRx80Full},
    }};
    return Routines;
}

bool TCustomComPort::WindowMethod(QEvent *message)
{
    if (message->type() != ComEventMessage)
        return false;
    if (!connected_)
        return true;
    const std::uint32_t wParam = static_cast<TComEventMessage *>(message)->WParam;
    try {
        for (const EventRoutine &routine : EventRoutines()) {
            if (routine.message == wParam) {
                (this->*routine.call)();
                break;
            }
        }
    } catch (...) {
        ReportDispatchFailure(std::current_exception());
    }
    return true;
}

bool TCustomComPort::Listens(TComEvents events) const
{
    const auto on = [&events](TComEvent event, bool handled) { return handled && events.Contains(event); };
    return on(evRxChar, triggersOnRxChar_ ? bool(OnRxChar) : bool(OnRxBuf)) || on(evTxEmpty, bool(OnTxEmpty)) ||
           on(evBreak, bool(OnBreak)) || on(evRing, bool(OnRing)) || on(evCTS, bool(OnCTSChange)) ||
           on(evDSR, bool(OnDSRChange)) || on(evRLSD, bool(OnRLSDChange)) || on(evError, bool(OnError)) ||
           on(evRxFlag, bool(OnRxFlag)) || on(evRx80Full, bool(OnRx80Full));
}

std::uint32_t TCustomComPort::UnheardEvents() const
{
    return (Listens(TComEvents{evTxEmpty}) ? 0 : EV_TXEMPTY) | (Listens(TComEvents{evRxFlag}) ? 0 : EV_RXFLAG);
}

void TCustomComPort::CallRxChar()
{
    const std::int32_t count = InputCount();
    if (count <= 0)
        return;
    if (triggersOnRxChar_) {
        DoRxChar(count);
        return;
    }
    if (rxBuffer_.size() < static_cast<size_t>(count))
        rxBuffer_.resize(static_cast<size_t>(count));
    const std::int32_t done = Read(rxBuffer_.data(), count);
    DoRxBuf(rxBuffer_.data(), done);
}

void TCustomComPort::CallError()
{
    const TComErrors errors = LastErrors();
    if (!errors.Empty())
        DoError(errors);
}

void TCustomComPort::CallTxEmpty() { DoTxEmpty(); }
void TCustomComPort::CallBreak() { DoBreak(); }
void TCustomComPort::CallRing() { DoRing(); }
void TCustomComPort::CallRxFlag() { DoRxFlag(); }
void TCustomComPort::CallRx80Full() { DoRx80Full(); }
void TCustomComPort::CallCTSChange() { DoCTSChange(Signals().Contains(csCTS)); }
void TCustomComPort::CallDSRChange() { DoDSRChange(Signals().Contains(csDSR)); }
void TCustomComPort::CallRLSDChange() { DoRLSDChange(Signals().Contains(csRLSD)); }

namespace {
template <typename Handler, typename... Args>
void Fire(const Handler &handler, Args &&...args)
{
    if (handler)
        handler(std::forward<Args>(args)...);
}
} // namespace

void TCustomComPort::DoAfterClose() { Fire(OnAfterClose, this); }
void TCustomComPort::DoAfterOpen() { Fire(OnAfterOpen, this); }
void TCustomComPort::DoBeforeClose() { Fire(OnBeforeClose, this); }
void TCustomComPort::DoBeforeOpen() { Fire(OnBeforeOpen, this); }
void TCustomComPort::DoRxChar(std::int32_t count) { Fire(OnRxChar, this, count); }
void TCustomComPort::DoRxBuf(const void *buffer, std::int32_t count) { Fire(OnRxBuf, this, buffer, count); }
void TCustomComPort::DoTxEmpty() { Fire(OnTxEmpty, this); }
void TCustomComPort::DoBreak() { Fire(OnBreak, this); }
void TCustomComPort::DoRing() { Fire(OnRing, this); }
void TCustomComPort::DoRxFlag() { Fire(OnRxFlag, this); }
void TCustomComPort::DoCTSChange(bool onOff) { Fire(OnCTSChange, this, onOff); }
void TCustomComPort::DoDSRChange(bool onOff) { Fire(OnDSRChange, this, onOff); }
void TCustomComPort::DoError(TComErrors errors) { Fire(OnError, this, errors); }
void TCustomComPort::DoRLSDChange(bool onOff) { Fire(OnRLSDChange, this, onOff); }
void TCustomComPort::DoRx80Full() { Fire(OnRx80Full, this); }
