#pragma once
// A device that records every call the port makes of it and plays scripted
// answers, so that tests see what the port asks of its device and in what order.
#include "serial/ComPort.h"
#include "serial/SerialDevice.h"
#include "serial/posix/StopEvent.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <array>
#include <atomic>
#include <cerrno>
#include <deque>
#include <memory>
#include <mutex>
#include <poll.h>

struct FakeDeviceScript {
    QStringList log;                 // calls and notifications, in order
    // call name -> errno it returns; the event thread reads it, so it is set under the lock
    QMap<QString, int> failures;
    int openError = 0;               // errno the open fails with
    QByteArray input;                // bytes a read takes
    QByteArray written;              // bytes the writes gave
    bool holdTransfers = false;      // transfers stay pending until waited for
    std::uint32_t modemStatus = 0;   // MS_ bits
    std::uint32_t errorBits = 0;     // CE_ bits of the next ClearCommError
    COMSTAT status;
    DCB dcb;
    COMMTIMEOUTS timeouts;
    int devicesAlive = 0;

    // Comm events: batches of EV_ bits that the waits hand out in order.
    // The event thread logs too, so the log is written under the lock.
    std::mutex mutex;
    std::deque<std::uint32_t> eventBatches;
    TStopEvent eventPosted;
    std::atomic<int> waits{0}; // WaitCommEvent calls so far
    std::atomic<int> failedWaits{0}; // of them, those that returned a failure
    std::atomic<std::uint32_t> unheard{0}; // as the event thread last told it

    void PostEvents(std::uint32_t events)
    {
        std::lock_guard lock(mutex);
        eventBatches.push_back(events);
        eventPosted.Set();
    }
    void Fail(const QString &call, int error)
    {
        std::lock_guard lock(mutex);
        failures[call] = error;
    }
    void ClearFailures()
    {
        std::lock_guard lock(mutex);
        failures.clear();
    }
    void Note(const QString &line)
    {
        std::lock_guard lock(mutex);
        log << line;
    }
    QStringList Log()
    {
        std::lock_guard lock(mutex);
        return log;
    }
    void ClearLog()
    {
        std::lock_guard lock(mutex);
        log.clear();
    }
};

class FakeSerialDevice : public ISerialDevice {
public:
    explicit FakeSerialDevice(std::shared_ptr<FakeDeviceScript> s) : s_(std::move(s)) { ++s_->devicesAlive; }
    ~FakeSerialDevice() override
    {
        s_->Note(QStringLiteral("close"));
        --s_->devicesAlive;
    }

    int SetupComm(std::uint32_t in, std::uint32_t out) override
    {
        return Call(QStringLiteral("SetupComm"), QStringLiteral(" %1 %2").arg(in).arg(out));
    }
    int SetCommState(const DCB &dcb) override
    {
        s_->dcb = dcb;
        return Call(QStringLiteral("SetCommState"), QStringLiteral(" %1").arg(dcb.BaudRate));
    }
    int SetCommTimeouts(const COMMTIMEOUTS &t) override
    {
        s_->timeouts = t;
        return Call(QStringLiteral("SetCommTimeouts"));
    }
    int StartIo(IoRequest &r) override
    {
        const QString kind = r.Kind == okRead ? QStringLiteral("read") : QStringLiteral("write");
        if (int e = Call(QStringLiteral("StartIo"), QStringLiteral(" %1 %2").arg(kind).arg(r.Count)))
            return e;
        if (!s_->holdTransfers)
            Complete(r);
        return 0;
    }
    int AdvanceIo(IoRequest &r, bool wait) override
    {
        if (int e = Call(QStringLiteral("AdvanceIo"), wait ? QStringLiteral(" wait") : QString()))
            return e;
        if (wait)
            Complete(r);
        return 0;
    }
    int Purge(std::uint32_t flags) override { return Call(QStringLiteral("Purge"), QStringLiteral(" %1").arg(flags)); }
    int ClearCommError(std::uint32_t &errors, COMSTAT &stat) override
    {
        errors = s_->errorBits;
        stat = s_->status;
        return Call(QStringLiteral("ClearCommError"));
    }
    int GetCommModemStatus(std::uint32_t &status) override
    {
        status = s_->modemStatus;
        return Call(QStringLiteral("GetCommModemStatus"));
    }
    int EscapeCommFunction(std::uint32_t f) override
    {
        return Call(QStringLiteral("EscapeCommFunction"), QStringLiteral(" %1").arg(f));
    }
    int TransmitCommChar(char c) override
    {
        return Call(QStringLiteral("TransmitCommChar"), QStringLiteral(" %1").arg(int(c)));
    }
    int SetCommMask(std::uint32_t mask) override
    {
        return Call(QStringLiteral("SetCommMask"), QStringLiteral(" 0x%1").arg(mask, 4, 16, QLatin1Char('0')));
    }
    void SetUnheardEvents(std::uint32_t events) override { s_->unheard.store(events); }
    // Not logged: it runs on the event thread at its own pace.
    int WaitCommEvent(std::uint32_t &events, const TStopEvent *stop, std::int32_t timeoutMs) override
    {
        events = 0;
        ++s_->waits;
        for (;;) {
            {
                std::lock_guard lock(s_->mutex);
                if (int e = s_->failures.value(QStringLiteral("WaitCommEvent"), 0)) {
                    ++s_->failedWaits;
                    return e;
                }
                if (!s_->eventBatches.empty()) {
                    events = s_->eventBatches.front();
                    s_->eventBatches.pop_front();
                    return 0;
                }
                s_->eventPosted.Reset();
            }
            std::array<pollfd, 2> fds = {{{s_->eventPosted.Fd(), POLLIN, 0}, {stop ? stop->Fd() : -1, POLLIN, 0}}};
            const int n = poll(fds.data(), fds.size(), timeoutMs);
            if (n == 0 || (n > 0 && (fds[1].revents & POLLIN) != 0))
                return 0;
        }
    }

private:
    int Call(const QString &name, const QString &args = QString())
    {
        std::lock_guard lock(s_->mutex);
        s_->log << name + args;
        return s_->failures.value(name, 0);
    }
    void Complete(IoRequest &r)
    {
        if (r.Kind == okRead) {
            const int n = std::min<int>(r.Count, static_cast<int>(s_->input.size()));
            std::copy_n(s_->input.constData(), n, static_cast<char *>(r.Buffer));
            s_->input.remove(0, n);
            r.Done = n;
        } else {
            s_->written.append(static_cast<const char *>(r.Buffer), r.Count);
            r.Done = r.Count;
        }
        r.Completed = true;
    }

    std::shared_ptr<FakeDeviceScript> s_;
};

// Gives the port fake devices that share one script; the open is logged.
inline std::shared_ptr<FakeDeviceScript> UseFakeDevice(TCustomComPort &port)
{
    auto script = std::make_shared<FakeDeviceScript>();
    port.SetDeviceOpener([script](const QString &name, int &error) -> std::unique_ptr<ISerialDevice> {
        script->Note(QStringLiteral("open ") + name);
        if (script->openError != 0) {
            error = script->openError;
            return nullptr;
        }
        return std::make_unique<FakeSerialDevice>(script);
    });
    return script;
}

// Logs every notification of the port into the script's log.
inline void RecordNotifications(TCustomComPort &port, FakeDeviceScript &script)
{
    auto note = [&script](const QString &what) { script.Note(what); };
    port.OnBeforeOpen = [note](TCustomComPort *) { note(QStringLiteral("OnBeforeOpen")); };
    port.OnAfterOpen = [note](TCustomComPort *) { note(QStringLiteral("OnAfterOpen")); };
    port.OnBeforeClose = [note](TCustomComPort *) { note(QStringLiteral("OnBeforeClose")); };
    port.OnAfterClose = [note](TCustomComPort *) { note(QStringLiteral("OnAfterClose")); };
    auto line = [note](const char *name) {
        return [note, name](TCustomComPort *, bool on) { note(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(on)); };
    };
    port.OnCTSChange = line("OnCTSChange");
    port.OnDSRChange = line("OnDSRChange");
    port.OnRLSDChange = line("OnRLSDChange");
}
