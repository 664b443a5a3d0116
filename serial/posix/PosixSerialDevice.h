#pragma once
// A serial device node (tty) behind the device interface: opened exclusively,
// raw, with reads and writes as poll loops against monotonic deadlines that
// follow the port's time-outs.
#include "AbortSignal.h"
#include "SerialDevice.h"

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

private:
    explicit PosixSerialDevice(int fd);
    AbortSignal &AbortFor(TOperationKind kind) { return kind == okRead ? readAbort_ : writeAbort_; }
    int Step(IoRequest &request);
    int StepRead(IoRequest &request, std::int64_t now);
    int StepWrite(IoRequest &request, std::int64_t now);
    int WaitReady(IoRequest &request, const AbortSignal::Waiter &waiter, bool &gone);
    std::int64_t DrainEstimateNs(int queued) const;

    int fd_;
    COMMTIMEOUTS timeouts_;
    unsigned baud_ = 9600;
    unsigned bitsPerChar_ = 10;
    AbortSignal readAbort_;
    AbortSignal writeAbort_;
    // Line error counters at the last ClearCommError; none on devices without them.
    bool haveCounters_ = false;
    int frame_ = 0, overrun_ = 0, parity_ = 0, brk_ = 0, bufOverrun_ = 0;
};

// The device behind a COM name of the port table; ENOENT when the table lacks it.
std::unique_ptr<ISerialDevice> OpenPortDevice(const QString &port, int &error);
