#pragma once
// What a port object needs of the device it has open. The port talks to its
// device only through this interface, so that tests can give it a recording
// fake (TCustomComPort::SetDeviceOpener). Every call returns 0 or the OS error
// number (errno) of its failure.
#include "serial/CommRecords.h"
#include "serial/ComTypes.h"

#include <QString>
#include <cerrno>
#include <functional>
#include <memory>

class TStopEvent;

// The errors that tell that the device itself has gone: unplugged, or its
// line hung up.
inline bool DeviceGone(int error)
{
    return error == EIO || error == ENXIO || error == ENODEV;
}

// One transfer: started by StartIo, then advanced until Completed. Done counts
// the bytes moved so far; Error, once set, is the transfer's failure. The
// Progress fields belong to the device.
struct IoRequest {
    TOperationKind Kind = okRead;
    void *Buffer = nullptr;
    std::int32_t Count = 0;
    std::int32_t Done = 0;
    bool Completed = false;
    int Error = 0;

    struct {
        std::int64_t StartNs = 0;
        std::int64_t LastByteNs = 0;
        std::int64_t TotalNs = -1;    // -1: no total time-out
        std::int64_t IntervalNs = -1; // -1: no interval time-out
        std::uint64_t AbortMark = 0;
        std::int32_t Written = 0;     // bytes handed to the driver
        std::uint8_t Mode = 0;
        bool Receiving = false;       // the last look found new bytes
    } Progress;
};

class ISerialDevice {
public:
    virtual ~ISerialDevice() = default;

    virtual int SetupComm(std::uint32_t inQueue, std::uint32_t outQueue) = 0;
    virtual int SetCommState(const DCB &dcb) = 0;
    virtual int SetCommTimeouts(const COMMTIMEOUTS &timeouts) = 0;

    // Starts a transfer and moves what can be moved without waiting; a
    // transfer that is already complete has Completed set.
    virtual int StartIo(IoRequest &request) = 0;
    // Moves the transfer on; with wait, blocks until it completes (bytes,
    // time-outs, an abort or the device's loss end it). A transfer that failed
    // keeps returning its error.
    virtual int AdvanceIo(IoRequest &request, bool wait) = 0;

    // PURGE_ bits: the abort bits end pending transfers (also those waited
    // for on other threads) with ECANCELED; the clear bits drop the queues.
    virtual int Purge(std::uint32_t flags) = 0;
    // Clears and reports the CE_ error bits since the last call, and the queues.
    virtual int ClearCommError(std::uint32_t &errors, COMSTAT &stat) = 0;
    // The MS_ bits of the modem lines; 0 for a device without modem lines.
    virtual int GetCommModemStatus(std::uint32_t &status) = 0;
    // SETDTR .. CLRBREAK.
    virtual int EscapeCommFunction(std::uint32_t function) = 0;
    virtual int TransmitCommChar(char c) = 0;

    // The EV_ bits that WaitCommEvent reports. Events that occurred before
    // the call are forgotten; 0 ends the watching.
    virtual int SetCommMask(std::uint32_t mask) = 0;
    // Blocks until events of the mask occur (events := their EV_ bits), stop
    // is set, or timeoutMs passes (-1: no time-out); events is 0 for the last
    // two. An event that occurs while no one waits is kept for the next wait.
    // A device that has gone fails the wait (DeviceGone). One wait at a time.
    virtual int WaitCommEvent(std::uint32_t &events, const TStopEvent *stop, std::int32_t timeoutMs) = 0;
    // Of the mask's events, those that only a handler would have heard and
    // none does (EV_TXEMPTY, EV_RXFLAG): the device need not wake a waiter
    // for them. A hint; a device may report them anyway.
    virtual void SetUnheardEvents(std::uint32_t) {}
};

// Opens the device behind a COM name; on failure returns nothing and sets error.
using SerialDeviceOpener = std::function<std::unique_ptr<ISerialDevice>(const QString &port, int &error)>;
