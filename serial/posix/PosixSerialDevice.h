#pragma once
// A serial device node (tty) behind the device interface: opened exclusively,
// raw, with reads and writes as poll loops against monotonic deadlines that
// follow the port's time-outs, and comm events.
#include "serial/posix/AbortSignal.h"
#include "serial/posix/ModemLineWatch.h"
#include "serial/SerialDevice.h"

#include <atomic>
#include <mutex>

class PosixSerialDevice : public ISerialDevice {
public:
    // Opens the node exclusively (flock + TIOCEXCL) in raw mode.
    static std::unique_ptr<ISerialDevice> Open(const QString &path, int &error);
    ~PosixSerialDevice() override;

    int SetupComm(std::uint32_t inQueue, std::uint32_t outQueue) override;
    int SetCommState(const DCB &dcb) override;
    int SetCommTimeouts(const COMMTIMEOUTS &timeouts) override;
    int StartIo(IoRequest &request) override;
    int AdvanceIo(IoRequest &request, bool wait) override;
    int Purge(std::uint32_t flags) override;
    int ClearCommError(std::uint32_t &errors, COMSTAT &stat) override;
    int GetCommModemStatus(std::uint32_t &status) override;
    int EscapeCommFunction(std::uint32_t function) override;
    int TransmitCommChar(char c) override;
    int SetCommMask(std::uint32_t mask) override;
    void SetUnheardEvents(std::uint32_t events) override;
    int WaitCommEvent(std::uint32_t &events, const TStopEvent *stop, std::int32_t timeoutMs) override;

private:
    struct ErrorCounts {
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
    };

    PosixSerialDevice(int fd, int epoll, int wake);
    AbortSignal &AbortFor(TOperationKind kind) { return kind == okRead ? readAbort_ : writeAbort_; }
    int Step(IoRequest &request);
    int StepRead(IoRequest &request, std::int64_t now);
    int StepWrite(IoRequest &request, std::int64_t now);
    int WaitReady(IoRequest &request, const AbortSignal::Waiter &waiter, bool &gone);
    // A write whose bytes have left the kernel's queue: waits for those the
    // adapter still holds (tcdrain), within the write's deadline.
    int LetAdapterDrain(const IoRequest &request) const;
    // How long chars characters take on the line.
    std::int64_t WireNs(int chars) const;
    std::int64_t DrainEstimateNs(int queued) const;
    // Raises events for a waiter on another thread.
    void Raise(std::uint32_t events);
    // A read's wait; false when no events are watched, and nothing is held.
    bool HoldRxEvents();
    void ReleaseRxEvents();
    void WatchRx(bool watch);
    void NoteSent();
    void NoteReceived(const char *bytes, std::int32_t count);
    int TakeReady(std::uint32_t mask, std::uint32_t &events);
    std::uint32_t ReceivedEvents(std::uint32_t mask);
    bool ReadErrorCounts(ErrorCounts &counts) const;

    int fd_;
    // A serial driver's device (a UART, a USB adapter), not a pseudo-terminal.
    bool adapter_ = false;
    COMMTIMEOUTS timeouts_;
    std::atomic<unsigned> baud_{9600};
    std::atomic<unsigned> bitsPerChar_{10};
    AbortSignal readAbort_;
    AbortSignal writeAbort_;
    // Line error counters at the last ClearCommError; none on devices without them.
    std::mutex countsMutex_;
    bool haveCounters_ = false;
    ErrorCounts counts_;

    // Comm events. The epoll set holds the tty edge-triggered, so that bytes
    // that stay queued are announced once, and the wake eventfd, through which
    // transfers and the line watch raise events.
    int epoll_;
    int wake_;
    std::atomic<std::uint32_t> mask_{0};
    std::atomic<std::uint32_t> unheard_{0};
    std::atomic<std::uint32_t> raised_{0};
    std::atomic<bool> sentSinceEmpty_{false};
    std::atomic<char> eventChar_{0};
    bool modemLines_ = false;
    std::atomic<std::uint32_t> inQueue_{4096};
    // Whether the driver counts line errors (a pseudo-terminal does not).
    bool lineCounters_ = false;
    std::mutex rxHoldMutex_;
    int rxHolds_ = 0;
    bool heldRaise_ = false; // events raised during a hold, not yet woken for
    // Set when a read's wait ended: the waiting side looks at the line errors.
    std::atomic<bool> rxLook_{false};
    // The waiting side's own state: error counters at the last look (none
    // when the device has no counters) and whether 80 % full was reported.
    bool eventCounters_ = false;
    ErrorCounts eventCounts_;
    bool rxFull_ = false;
    std::unique_ptr<ModemLineWatch> lineWatch_;
};

// The device behind a COM name of the port table; ENOENT when the table lacks it.
std::unique_ptr<ISerialDevice> OpenPortDevice(const QString &port, int &error);
