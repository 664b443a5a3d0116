#include "serial/posix/PosixSerialDevice.h"
#include "serial/posix/LineSpeed.h"
#include "serial/posix/PortTable.h"
#include "serial/posix/StopEvent.h"
#include "serial/posix/TermiosMap.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <mutex>
#include <fcntl.h>
#include <linux/serial.h>
#include <cstring>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::int64_t NsPerMs = 1000000;
// Time-outs beyond this (about 31 years) are waits without end.
constexpr std::uint64_t LongestMs = 1000000000000ull;

enum Mode : std::uint8_t {
    ReadForCount,   // until Count bytes or a time-out
    ReadAtOnce,     // with what the queue holds
    ReadFirstByte,  // as soon as one byte is there
    ReadIfPresent,  // at once with what is queued, else as ReadForCount
    WriteSending,   // bytes still to hand to the driver
    WriteDraining,  // handed over; waiting for them to leave
    WriteLeaving,   // the kernel's queue is empty; the adapter may still hold some
};

std::int64_t NowNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::int64_t TimeoutNs(std::uint64_t multiplier, std::int32_t count, std::uint64_t constant)
{
    const std::uint64_t ms = multiplier * static_cast<std::uint64_t>(count) + constant;
    return static_cast<std::int64_t>(std::min(ms, LongestMs)) * NsPerMs;
}

// Modem-line requests that a device does not support (every pseudo-terminal).
bool NoModemLines(int error)
{
    return error == ENOTTY || error == EINVAL;
}

int ModemBits(int fd, unsigned long request, int bits)
{
    if (ioctl(fd, request, &bits) == 0)
        return 0;
    return NoModemLines(errno) ? 0 : errno;
}

constexpr std::uint32_t LineEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;
// The events that come with received bytes.
constexpr std::uint32_t RxEvents = EV_RXCHAR | EV_ERR | EV_BREAK | EV_RX80FULL;
// The tty's own receive queue; a larger requested queue fills no further.
constexpr std::uint32_t TtyQueueSize = 4096;
// Looks at a transmit queue that does not drain at most this seldom.
constexpr std::int64_t LongestDrainCheckNs = 1000 * NsPerMs;

// Negative times are 0.
timespec ToTimespec(std::int64_t ns)
{
    ns = std::max<std::int64_t>(ns, 0);
    timespec ts;
    ts.tv_sec = static_cast<time_t>(ns / 1000000000);
    ts.tv_nsec = static_cast<long>(ns % 1000000000);
    return ts;
}

// An adapter's own transmit FIFO (FTDI's hold 256 bytes), and what USB adds.
constexpr std::int32_t AdapterFifoChars = 256;
constexpr std::int64_t AdapterLatencyNs = 20 * NsPerMs;

// tcdrain has no time-out: a timer of the draining thread's own breaks it
// with this signal, whose handler does nothing.
int DrainTimeSignal()
{
    return SIGRTMIN + 3;
}

void IgnoreSignal(int) {}

class DrainTimer {
public:
    DrainTimer()
    {
        static std::once_flag once;
        std::call_once(once, [] {
            struct sigaction sa = {};
            sa.sa_handler = IgnoreSignal;
            sigemptyset(&sa.sa_mask);
            sa.sa_flags = 0; // no SA_RESTART: tcdrain must return
            sigaction(DrainTimeSignal(), &sa, nullptr);
        });
        sigevent ev = {};
        ev.sigev_notify = SIGEV_THREAD_ID;
        ev.sigev_signo = DrainTimeSignal();
        ev._sigev_un._tid = gettid(); // sigev_notify_thread_id
        ok_ = timer_create(CLOCK_MONOTONIC, &ev, &timer_) == 0;
    }
    ~DrainTimer()
    {
        if (ok_)
            timer_delete(timer_);
    }
    bool Arm(std::int64_t ns)
    {
        itimerspec when = {};
        when.it_value = ToTimespec(std::max<std::int64_t>(ns, 1));
        return ok_ && timer_settime(timer_, 0, &when, nullptr) == 0;
    }
    void Disarm()
    {
        const itimerspec never = {};
        timer_settime(timer_, 0, &never, nullptr);
    }

private:
    timer_t timer_ = {};
    bool ok_ = false;
};

// tcdrain, for at most waitNs; a wait that ran out is no error.
int DrainWithin(int fd, std::int64_t waitNs)
{
    thread_local DrainTimer timer;
    if (!timer.Arm(waitNs))
        return 0; // without a timer the wait could not be bounded
    sigset_t wake, before;
    sigemptyset(&wake);
    sigaddset(&wake, DrainTimeSignal());
    pthread_sigmask(SIG_UNBLOCK, &wake, &before);
    const int e = tcdrain(fd) == 0 ? 0 : errno;
    timer.Disarm();
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return e == EINTR ? 0 : e;
}

} // namespace

// ---- open and close

std::unique_ptr<ISerialDevice> PosixSerialDevice::Open(const QString &path, int &error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    bool exclusive = false;
    int epoll = -1, wake = -1;
    auto fail = [&](int e) -> std::unique_ptr<ISerialDevice> {
        // A pseudo-terminal keeps TIOCEXCL past close while its master is open.
        if (exclusive)
            ioctl(fd, TIOCNXCL);
        ::close(fd);
        if (epoll >= 0)
            ::close(epoll);
        if (wake >= 0)
            ::close(wake);
        error = e;
        return nullptr;
    };
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    termios t;
    if (tcgetattr(fd, &t) != 0)
        return fail(errno);
    if (ioctl(fd, TIOCEXCL) != 0)
        return fail(errno);
    exclusive = true;
    // USB adapters otherwise hold received bytes back for milliseconds.
    serial_struct ss;
    const bool adapter = ioctl(fd, TIOCGSERIAL, &ss) == 0;
    if (adapter && (ss.flags & ASYNC_LOW_LATENCY) == 0) {
        ss.flags |= ASYNC_LOW_LATENCY;
        ioctl(fd, TIOCSSERIAL, &ss);
    }
    MakeRaw(t);
    if (tcsetattr(fd, TCSANOW, &t) != 0)
        return fail(errno);
    epoll = epoll_create1(EPOLL_CLOEXEC);
    wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (epoll < 0 || wake < 0)
        return fail(errno);
    epoll_event tty = {};
    tty.events = EPOLLIN | EPOLLET;
    tty.data.fd = fd;
    epoll_event woken = {};
    woken.events = EPOLLIN | EPOLLET;
    woken.data.fd = wake;
    if (epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &tty) != 0 || epoll_ctl(epoll, EPOLL_CTL_ADD, wake, &woken) != 0)
        return fail(errno);

    std::unique_ptr<PosixSerialDevice> device(new PosixSerialDevice(fd, epoll, wake));
    device->adapter_ = adapter;
    int lines = 0;
    device->modemLines_ = ioctl(fd, TIOCMGET, &lines) == 0;
    std::uint32_t errors = 0;
    COMSTAT stat;
    device->ClearCommError(errors, stat); // takes the counters' starting point
    device->lineCounters_ = device->haveCounters_;
    return device;
}

PosixSerialDevice::PosixSerialDevice(int fd, int epoll, int wake) : fd_(fd), epoll_(epoll), wake_(wake) {}

PosixSerialDevice::~PosixSerialDevice()
{
    lineWatch_.reset();
    // Output still queued is dropped, so that close cannot wait for a stalled line.
    tcflush(fd_, TCOFLUSH);
    // A pseudo-terminal keeps TIOCEXCL past close while its master is open.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    ::close(epoll_);
    ::close(wake_);
}

// ---- settings

int PosixSerialDevice::SetupComm(std::uint32_t inQueue, std::uint32_t)
{
    // The tty layer sizes its own queues; the input size only sets where the
    // queue counts as 80 % full.
    inQueue_ = inQueue;
    return 0;
}

int PosixSerialDevice::SetCommState(const DCB &dcb)
{
    termios t;
    if (tcgetattr(fd_, &t) != 0)
        return errno;
    bool arbitrarySpeed = false;
    if (int e = DcbToTermios(dcb, t, arbitrarySpeed))
        return e;
    if (tcsetattr(fd_, TCSANOW, &t) != 0)
        return errno;
    if (arbitrarySpeed) {
        if (int e = SetArbitrarySpeed(fd_, dcb.BaudRate))
            return e;
    }

    const std::uint32_t dtr = dcb.Flags & DCB_fDtrControlMask;
    const std::uint32_t rts = dcb.Flags & DCB_fRtsControlMask;
    if (int e = ModemBits(fd_, dtr == 0 ? TIOCMBIC : TIOCMBIS, TIOCM_DTR))
        return e;
    if (rts == 0 || rts == DCB_RtsControlEnable) {
        if (int e = ModemBits(fd_, rts == 0 ? TIOCMBIC : TIOCMBIS, TIOCM_RTS))
            return e;
    }

    baud_ = dcb.BaudRate;
    bitsPerChar_ = 1u + dcb.ByteSize + (dcb.Parity != NOPARITY ? 1u : 0u) + (dcb.StopBits != ONESTOPBIT ? 2u : 1u);
    eventChar_ = dcb.EvtChar;
    return 0;
}

int PosixSerialDevice::SetCommTimeouts(const COMMTIMEOUTS &timeouts)
{
    timeouts_ = timeouts;
    return 0;
}

// ---- transfers

int PosixSerialDevice::StartIo(IoRequest &r)
{
    if (r.Count < 0 || (r.Count > 0 && r.Buffer == nullptr))
        return EINVAL;
    auto &p = r.Progress;
    p = {};
    p.StartNs = NowNs();
    p.AbortMark = AbortFor(r.Kind).Mark();
    r.Done = 0;
    r.Error = 0;
    r.Completed = false;

    const COMMTIMEOUTS &t = timeouts_;
    if (r.Kind == okWrite) {
        p.Mode = WriteSending;
        if (t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0)
            p.TotalNs = TimeoutNs(t.WriteTotalTimeoutMultiplier, r.Count, t.WriteTotalTimeoutConstant);
    } else if (t.ReadIntervalTimeout == MAXDWORD) {
        const std::uint32_t m = t.ReadTotalTimeoutMultiplier, c = t.ReadTotalTimeoutConstant;
        if (m == 0 && c == 0) {
            p.Mode = ReadAtOnce;
        } else if (m == MAXDWORD && c != 0 && c != MAXDWORD) {
            p.Mode = ReadFirstByte;
            p.TotalNs = TimeoutNs(0, 0, c);
        } else {
            p.Mode = ReadIfPresent;
            p.TotalNs = TimeoutNs(m, r.Count, c);
        }
    } else {
        p.Mode = ReadForCount;
        if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0)
            p.TotalNs = TimeoutNs(t.ReadTotalTimeoutMultiplier, r.Count, t.ReadTotalTimeoutConstant);
        if (t.ReadIntervalTimeout != 0)
            p.IntervalNs = TimeoutNs(0, 0, t.ReadIntervalTimeout);
    }
    if (r.Count == 0) {
        r.Completed = true;
        return 0;
    }
    if (int e = Step(r)) {
        r.Error = e;
        return e;
    }
    if (p.Mode == ReadIfPresent)
        p.Mode = ReadForCount;
    return 0;
}

int PosixSerialDevice::AdvanceIo(IoRequest &r, bool wait)
{
    if (r.Completed || r.Error != 0)
        return r.Error;
    AbortSignal &abort = AbortFor(r.Kind);
    auto fail = [&r](int e) {
        r.Error = e;
        return e;
    };
    const auto inAdapter = [&r] { return r.Kind == okWrite && r.Progress.Mode == WriteLeaving; };
    if (!wait) {
        if (r.Progress.AbortMark != abort.Mark())
            return fail(ECANCELED);
        if (int e = Step(r))
            return fail(e);
        // Nothing tells without waiting whether the adapter has sent its bytes.
        if (inAdapter())
            r.Completed = true;
        return 0;
    }
    AbortSignal::Waiter waiter(abort);
    if (waiter.Fd() < 0)
        return fail(EMFILE);
    struct RxHold {
        PosixSerialDevice *held; // null: nothing held
        ~RxHold()
        {
            if (held != nullptr)
                held->ReleaseRxEvents();
        }
    } const hold{r.Kind == okRead && HoldRxEvents() ? this : nullptr};
    for (;;) {
        if (r.Progress.AbortMark != abort.Mark())
            return fail(ECANCELED);
        if (int e = Step(r))
            return fail(e);
        if (inAdapter()) {
            if (int e = LetAdapterDrain(r))
                return fail(e);
            r.Completed = true;
        }
        if (r.Completed)
            return 0;
        bool gone = false;
        if (int e = WaitReady(r, waiter, gone))
            return fail(e);
        if (gone) {
            // Take what the device still holds, then report it lost.
            if (int e = Step(r))
                return fail(e);
            return r.Completed ? 0 : fail(EIO);
        }
    }
}

int PosixSerialDevice::Step(IoRequest &r)
{
    const std::int64_t now = NowNs();
    return r.Kind == okRead ? StepRead(r, now) : StepWrite(r, now);
}

int PosixSerialDevice::StepRead(IoRequest &r, std::int64_t now)
{
    auto &p = r.Progress;
    auto *buffer = static_cast<char *>(r.Buffer);
    const std::int32_t before = r.Done;
    p.Receiving = false;
    while (r.Done < r.Count) {
        const ssize_t n = ::read(fd_, buffer + r.Done, static_cast<size_t>(r.Count - r.Done));
        if (n > 0) {
            r.Done += static_cast<std::int32_t>(n);
            p.LastByteNs = now;
            p.Receiving = true;
            continue;
        }
        if (n == 0)
            return EIO; // hung up: the device is gone
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            break;
        return errno;
    }
    if (r.Done > before)
        NoteReceived(buffer + before, r.Done - before);
    const bool timedOut = (p.TotalNs >= 0 && now - p.StartNs >= p.TotalNs) ||
                          (p.IntervalNs >= 0 && r.Done > 0 && now - p.LastByteNs >= p.IntervalNs);
    if (r.Done == r.Count || p.Mode == ReadAtOnce || ((p.Mode == ReadFirstByte || p.Mode == ReadIfPresent) && r.Done > 0) || timedOut)
        r.Completed = true;
    return 0;
}

int PosixSerialDevice::StepWrite(IoRequest &r, std::int64_t now)
{
    auto &p = r.Progress;
    if (p.Mode == WriteLeaving)
        return 0;
    const auto *buffer = static_cast<const char *>(r.Buffer);
    const std::int32_t before = p.Written;
    while (p.Mode == WriteSending) {
        const ssize_t n = ::write(fd_, buffer + p.Written, static_cast<size_t>(r.Count - p.Written));
        if (n > 0) {
            p.Written += static_cast<std::int32_t>(n);
            if (p.Written == r.Count)
                p.Mode = WriteDraining;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return errno;
        break;
    }
    if (p.Written > before)
        NoteSent();
    int queued = 0;
    if (ioctl(fd_, TIOCOUTQ, &queued) != 0)
        return errno;
    if (p.Mode == WriteDraining && queued == 0) {
        r.Done = p.Written;
        // A waiting write sees the bytes out of the adapter, too.
        if (adapter_)
            p.Mode = WriteLeaving;
        else
            r.Completed = true;
    } else if (p.TotalNs >= 0 && now - p.StartNs >= p.TotalNs) {
        // The bytes that have not left by the deadline are not sent at all.
        r.Done = std::max(0, p.Written - queued);
        tcflush(fd_, TCOFLUSH);
        r.Completed = true;
    }
    return 0;
}

int PosixSerialDevice::LetAdapterDrain(const IoRequest &r) const
{
    const auto &p = r.Progress;
    // No longer than a full FIFO takes to leave, nor past the write's deadline.
    std::int64_t waitNs = WireNs(std::min(p.Written, AdapterFifoChars)) + AdapterLatencyNs;
    if (p.TotalNs >= 0)
        waitNs = std::min(waitNs, p.StartNs + p.TotalNs - NowNs());
    if (waitNs <= 0)
        return 0;
    return DrainWithin(fd_, waitNs);
}

std::int64_t PosixSerialDevice::WireNs(int chars) const
{
    return static_cast<std::int64_t>(chars) * bitsPerChar_.load() * 1000000000 / std::max(baud_.load(), 1u);
}

std::int64_t PosixSerialDevice::DrainEstimateNs(int queued) const
{
    return std::max<std::int64_t>(WireNs(queued), NsPerMs);
}

int PosixSerialDevice::WaitReady(IoRequest &r, const AbortSignal::Waiter &waiter, bool &gone)
{
    const auto &p = r.Progress;
    const std::int64_t now = NowNs();
    constexpr std::int64_t Forever = INT64_MAX;
    std::int64_t waitNs = Forever;
    if (p.TotalNs >= 0)
        waitNs = p.StartNs + p.TotalNs - now;
    if (p.IntervalNs >= 0 && r.Done > 0)
        waitNs = std::min(waitNs, p.LastByteNs + p.IntervalNs - now);
    short events = 0;
    if (r.Kind == okRead) {
        if (p.Receiving) {
            // The rest cannot be here before its time on the wire: the read
            // sleeps through it instead of waking for every byte, no longer
            // than a quarter of the interval time-out, so that a line that
            // stops is noticed in time.
            std::int64_t sleepNs = WireNs(r.Count - r.Done);
            if (p.IntervalNs >= 0)
                sleepNs = std::min(sleepNs, p.IntervalNs / 4);
            waitNs = std::min(waitNs, sleepNs);
        } else {
            events = POLLIN;
        }
    } else if (p.Mode == WriteSending) {
        events = POLLOUT;
    } else {
        // Nothing tells when the driver's queue runs empty: look again when
        // the queued bytes should have left at the line's speed.
        int queued = 0;
        if (ioctl(fd_, TIOCOUTQ, &queued) != 0)
            return errno;
        waitNs = std::min(waitNs, DrainEstimateNs(queued));
    }

    std::array<pollfd, 2> fds = {{{fd_, events, 0}, {waiter.Fd(), POLLIN, 0}}};
    // A deadline that passed meanwhile gives a zero wait: just look.
    const timespec ts = ToTimespec(waitNs);
    const timespec *timeout = waitNs != Forever ? &ts : nullptr;
    const int n = ppoll(fds.data(), fds.size(), timeout, nullptr);
    if (n < 0)
        return errno == EINTR ? 0 : errno;
    if ((fds[1].revents & POLLIN) != 0)
        waiter.Drain();

    if ((fds[0].revents & POLLNVAL) != 0)
        return EBADF;
    if ((fds[0].revents & (POLLHUP | POLLERR)) != 0)
        gone = true;
    return 0;
}

// While a read waits, the bytes coming in are its own: the event side is not
// woken for each of them, nor for each event character the read takes. When
// the last waiting read ends, what it left is announced as any new bytes are,
// the event character once, and the line errors that came with the bytes
// meanwhile are looked at.
bool PosixSerialDevice::HoldRxEvents()
{
    if ((mask_.load() & RxEvents) == 0)
        return false;
    std::lock_guard lock(rxHoldMutex_);
    if (rxHolds_++ == 0)
        WatchRx(false);
    return true;
}

void PosixSerialDevice::ReleaseRxEvents()
{
    std::lock_guard lock(rxHoldMutex_);
    if (--rxHolds_ > 0)
        return;
    WatchRx(true);
    const bool look = lineCounters_ && (mask_.load() & (EV_ERR | EV_BREAK)) != 0;
    if (look)
        rxLook_.store(true);
    if (look || std::exchange(heldRaise_, false))
        Raise(0);
}

void PosixSerialDevice::WatchRx(bool watch)
{
    // Watched again, bytes that are queued count as new ones.
    epoll_event tty = {};
    tty.events = watch ? EPOLLIN | EPOLLET : EPOLLET;
    tty.data.fd = fd_;
    epoll_ctl(epoll_, EPOLL_CTL_MOD, fd_, &tty);
}

// ---- queues and lines

int PosixSerialDevice::Purge(std::uint32_t flags)
{
    if ((flags & PURGE_TXABORT) != 0)
        writeAbort_.Abort();
    if ((flags & PURGE_RXABORT) != 0)
        readAbort_.Abort();
    const bool in = (flags & PURGE_RXCLEAR) != 0, out = (flags & PURGE_TXCLEAR) != 0;
    if (!in && !out)
        return 0;
    if (tcflush(fd_, in && out ? TCIOFLUSH : in ? TCIFLUSH : TCOFLUSH) != 0)
        return errno;
    return 0;
}

int PosixSerialDevice::ClearCommError(std::uint32_t &errors, COMSTAT &stat)
{
    int in = 0, out = 0;
    if (ioctl(fd_, TIOCINQ, &in) != 0 || ioctl(fd_, TIOCOUTQ, &out) != 0)
        return errno;
    stat = COMSTAT{};
    stat.cbInQue = static_cast<std::uint32_t>(in);
    stat.cbOutQue = static_cast<std::uint32_t>(out);
    errors = 0;

    ErrorCounts c;
    if (!ReadErrorCounts(c))
        return NoModemLines(errno) ? 0 : errno;
    // The event dispatch asks from another thread than the transfers.
    std::lock_guard lock(countsMutex_);
    if (haveCounters_) {
        if (c.frame != counts_.frame)
            errors |= CE_FRAME;
        if (c.overrun != counts_.overrun)
            errors |= CE_OVERRUN;
        if (c.parity != counts_.parity)
            errors |= CE_RXPARITY;
        if (c.brk != counts_.brk)
            errors |= CE_BREAK;
        if (c.bufOverrun != counts_.bufOverrun)
            errors |= CE_RXOVER;
    }
    haveCounters_ = true;
    counts_ = c;
    return 0;
}

bool PosixSerialDevice::ReadErrorCounts(ErrorCounts &counts) const
{
    serial_icounter_struct c;
    if (ioctl(fd_, TIOCGICOUNT, &c) != 0)
        return false;
    counts = {c.frame, c.overrun, c.parity, c.brk, c.buf_overrun};
    return true;
}

int PosixSerialDevice::GetCommModemStatus(std::uint32_t &status)
{
    status = 0;
    int lines = 0;
    if (ioctl(fd_, TIOCMGET, &lines) != 0)
        return NoModemLines(errno) ? 0 : errno;
    if ((lines & TIOCM_CTS) != 0)
        status |= MS_CTS_ON;
    if ((lines & TIOCM_DSR) != 0)
        status |= MS_DSR_ON;
    if ((lines & TIOCM_RNG) != 0)
        status |= MS_RING_ON;
    if ((lines & TIOCM_CAR) != 0)
        status |= MS_RLSD_ON;
    return 0;
}

int PosixSerialDevice::EscapeCommFunction(std::uint32_t function)
{
    auto done = [](int result) { return result == 0 || NoModemLines(errno) ? 0 : errno; };
    switch (function) {
    case SETDTR: return ModemBits(fd_, TIOCMBIS, TIOCM_DTR);
    case CLRDTR: return ModemBits(fd_, TIOCMBIC, TIOCM_DTR);
    case SETRTS: return ModemBits(fd_, TIOCMBIS, TIOCM_RTS);
    case CLRRTS: return ModemBits(fd_, TIOCMBIC, TIOCM_RTS);
    case SETBREAK: return done(ioctl(fd_, TIOCSBRK));
    case CLRBREAK: return done(ioctl(fd_, TIOCCBRK));
    case SETXON: return tcflow(fd_, TCOON) == 0 ? 0 : errno;
    case SETXOFF: return tcflow(fd_, TCOOFF) == 0 ? 0 : errno;
    default: return EINVAL;
    }
}

int PosixSerialDevice::TransmitCommChar(char c)
{
    for (;;) {
        const ssize_t n = ::write(fd_, &c, 1);
        if (n == 1) {
            NoteSent();
            return 0;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 ? errno : EAGAIN;
    }
}

// ---- comm events

int PosixSerialDevice::SetCommMask(std::uint32_t mask)
{
    mask_.store(mask);
    // Forget what happened before: ready edges, raised events, the counters.
    std::array<epoll_event, 2> ready;
    if (epoll_wait(epoll_, ready.data(), static_cast<int>(ready.size()), 0) < 0 && errno != EINTR)
        return errno;
    std::uint64_t count = 0;
    if (::read(wake_, &count, sizeof count) < 0) {
        // Nothing was raised.
    }
    raised_.store(0);
    sentSinceEmpty_.store(false);
    rxLook_.store(false);
    rxFull_ = false;
    eventCounters_ = ReadErrorCounts(eventCounts_);

    const std::uint32_t lines = modemLines_ ? mask & LineEvents : 0;
    if (!lineWatch_ || lineWatch_->Events() != lines) {
        lineWatch_.reset();
        if (lines != 0) {
            try {
                lineWatch_ = std::make_unique<ModemLineWatch>(fd_, lines, [this](std::uint32_t events) { Raise(events); });
            } catch (const std::system_error &e) {
                return e.code().value();
            }
        }
    }
    return 0;
}

void PosixSerialDevice::SetUnheardEvents(std::uint32_t events)
{
    unheard_.store(events);
}

int PosixSerialDevice::WaitCommEvent(std::uint32_t &events, const TStopEvent *stop, std::int32_t timeoutMs)
{
    events = 0;
    const std::uint32_t mask = mask_.load();
    constexpr std::int64_t Forever = INT64_MAX;
    const std::int64_t deadline = timeoutMs >= 0 ? NowNs() + timeoutMs * NsPerMs : Forever;
    // Nothing tells when the transmit queue runs empty: it is looked at when
    // its bytes should have left, less often while it does not drain.
    std::int64_t drainCheckNs = 0;
    int lastQueued = INT_MAX;
    for (;;) {
        std::uint32_t got = 0;
        // Ready edges first, then what other threads raised before they woke us.
        if (int e = TakeReady(mask, got))
            return e;
        got |= raised_.exchange(0) & mask;
        std::int64_t waitNs = Forever;
        if ((mask & EV_TXEMPTY) != 0 && sentSinceEmpty_.load()) {
            int queued = 0;
            if (ioctl(fd_, TIOCOUTQ, &queued) != 0)
                return errno;
            if (queued == 0) {
                sentSinceEmpty_.store(false);
                got |= EV_TXEMPTY;
            } else {
                drainCheckNs = queued < lastQueued ? DrainEstimateNs(queued)
                                                   : std::min(2 * drainCheckNs, LongestDrainCheckNs);
                lastQueued = queued;
                waitNs = drainCheckNs;
            }
        }
        if (got != 0) {
            events = got;
            return 0;
        }
        const std::int64_t now = NowNs();
        if (now >= deadline)
            return 0;
        if (deadline != Forever)
            waitNs = std::min(waitNs, deadline - now);

        std::array<pollfd, 2> fds = {{{epoll_, POLLIN, 0}, {stop != nullptr ? stop->Fd() : -1, POLLIN, 0}}};
        const timespec ts = ToTimespec(waitNs);
        if (ppoll(fds.data(), fds.size(), waitNs != Forever ? &ts : nullptr, nullptr) < 0 && errno != EINTR)
            return errno;
        if ((fds[1].revents & POLLIN) != 0)
            return 0;
    }
}

int PosixSerialDevice::TakeReady(std::uint32_t mask, std::uint32_t &events)
{
    if (rxLook_.exchange(false))
        events |= ReceivedEvents(mask & ~EV_RXCHAR);
    std::array<epoll_event, 2> ready;
    const int n = epoll_wait(epoll_, ready.data(), static_cast<int>(ready.size()), 0);
    if (n < 0)
        return errno == EINTR ? 0 : errno;
    for (int i = 0; i < n; ++i) {
        if (ready[i].data.fd == wake_) {
            std::uint64_t count = 0;
            if (::read(wake_, &count, sizeof count) < 0) {
                // Drained already.
            }
        } else if ((ready[i].events & (EPOLLHUP | EPOLLERR)) != 0) {
            return EIO; // hung up: the device is gone
        } else if ((ready[i].events & EPOLLIN) != 0) {
            events |= ReceivedEvents(mask);
        }
    }
    return 0;
}

std::uint32_t PosixSerialDevice::ReceivedEvents(std::uint32_t mask)
{
    std::uint32_t events = mask & EV_RXCHAR;
    // Line errors and breaks come with received bytes; the counters tell them.
    ErrorCounts c;
    if ((mask & (EV_ERR | EV_BREAK)) != 0 && eventCounters_ && ReadErrorCounts(c)) {
        if (c.frame != eventCounts_.frame || c.overrun != eventCounts_.overrun || c.parity != eventCounts_.parity ||
            c.bufOverrun != eventCounts_.bufOverrun)
            events |= mask & EV_ERR;
        if (c.brk != eventCounts_.brk)
            events |= mask & EV_BREAK;
        eventCounts_ = c;
    }
    int queued = 0;
    if ((mask & EV_RX80FULL) != 0 && ioctl(fd_, TIOCINQ, &queued) == 0) {
        const bool full = static_cast<std::uint32_t>(queued) >= std::min(inQueue_.load(), TtyQueueSize) * 4 / 5;
        if (full && !rxFull_)
            events |= EV_RX80FULL;
        rxFull_ = full;
    }
    return events;
}

void PosixSerialDevice::Raise(std::uint32_t events)
{
    raised_.fetch_or(events);
    const std::uint64_t one = 1;
    if (::write(wake_, &one, sizeof one) < 0) {
        // Already woken.
    }
}

// Looking for the empty queue costs the waiting thread a wake-up per write.
void PosixSerialDevice::NoteSent()
{
    if ((mask_.load(std::memory_order_relaxed) & ~unheard_.load(std::memory_order_relaxed) & EV_TXEMPTY) == 0)
        return;
    sentSinceEmpty_.store(true);
    Raise(0);
}

// The tty gives no sight of its queue, so the event character is seen as the
// bytes are read.
void PosixSerialDevice::NoteReceived(const char *bytes, std::int32_t count)
{
    if ((mask_.load(std::memory_order_relaxed) & ~unheard_.load(std::memory_order_relaxed) & EV_RXFLAG) == 0 ||
        std::memchr(bytes, eventChar_.load(), static_cast<size_t>(count)) == nullptr)
        return;
    std::lock_guard lock(rxHoldMutex_);
    if (rxHolds_ == 0) {
        Raise(EV_RXFLAG);
        return;
    }
    raised_.fetch_or(EV_RXFLAG);
    heldRaise_ = true;
}

// ---- the COM names

std::unique_ptr<ISerialDevice> OpenPortDevice(const QString &port, int &error)
{
    const QString path = FindPortDevice(port);
    if (path.isEmpty()) {
        error = ENOENT;
        return nullptr;
    }
    return PosixSerialDevice::Open(path, error);
}
