#include "serial/posix/ModemLineWatch.h"
#include "serial/CommRecords.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr int PollMs = 50;

// TIOCMIWAIT cannot be polled beside a descriptor; this signal, sent to the
// watching thread alone, breaks it out with EINTR.
int WakeSignal()
{
    return SIGRTMIN + 2;
}

void IgnoreWake(int) {}

void InstallWakeHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction sa = {};
        sa.sa_handler = IgnoreWake;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0; // no SA_RESTART: the ioctl must return
        sigaction(WakeSignal(), &sa, nullptr);
    });
}

struct LineState {
    int lines = 0;
    bool counted = false;
    serial_icounter_struct counts = {};
};

bool Sample(int fd, LineState &s)
{
    if (ioctl(fd, TIOCMGET, &s.lines) != 0)
        return false;
    s.counted = ioctl(fd, TIOCGICOUNT, &s.counts) == 0;
    return true;
}

// The counters catch changes too quick for two samples to see; the states
// catch those of drivers that do not count.
std::uint32_t Changes(const LineState &was, const LineState &now)
{
    std::uint32_t events = 0;
    if (was.counted && now.counted) {
        if (now.counts.cts != was.counts.cts)
            events |= EV_CTS;
        if (now.counts.dsr != was.counts.dsr)
            events |= EV_DSR;
        if (now.counts.dcd != was.counts.dcd)
            events |= EV_RLSD;
        if (now.counts.rng != was.counts.rng)
            events |= EV_RING;
    }
    const int changed = was.lines ^ now.lines;
    if ((changed & TIOCM_CTS) != 0)
        events |= EV_CTS;
    if ((changed & TIOCM_DSR) != 0)
        events |= EV_DSR;
    if ((changed & TIOCM_CAR) != 0)
        events |= EV_RLSD;
    if ((changed & now.lines & TIOCM_RNG) != 0)
        events |= EV_RING;
    return events;
}

int WaitMask(std::uint32_t events)
{
    int mask = 0;
    if ((events & EV_CTS) != 0)
        mask |= TIOCM_CTS;
    if ((events & EV_DSR) != 0)
        mask |= TIOCM_DSR;
    if ((events & EV_RLSD) != 0)
        mask |= TIOCM_CAR;
    if ((events & EV_RING) != 0)
        mask |= TIOCM_RNG;
    return mask;
}

} // namespace

ModemLineWatch::ModemLineWatch(int fd, std::uint32_t events, Report report)
    : fd_(fd), events_(events), report_(std::move(report)), wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (wakeFd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    InstallWakeHandler();
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        close(wakeFd_);
        throw;
    }
}

ModemLineWatch::~ModemLineWatch()
{
    stop_.store(true);
    const std::uint64_t one = 1;
    if (write(wakeFd_, &one, sizeof one) < 0) {
        // Already woken.
    }
    // The signal can land just before the thread enters its ioctl; it is sent
    // again until the thread is seen to end.
    std::unique_lock lock(mutex_);
    for (int ms = 1; !done_; ms = std::min(ms * 2, 100)) {
        pthread_kill(thread_.native_handle(), WakeSignal());
        ended_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return done_; });
    }
    lock.unlock();
    thread_.join();
    close(wakeFd_);
}

void ModemLineWatch::Run()
{
    sigset_t wake;
    sigemptyset(&wake);
    sigaddset(&wake, WakeSignal());
    pthread_sigmask(SIG_UNBLOCK, &wake, nullptr);

    LineState was;
    if (!Sample(fd_, was)) {
        Finish();
        return;
    }
    const int mask = WaitMask(events_);
    bool lineWait = true;
    while (!stop_.load()) {
        if (lineWait) {
            if (ioctl(fd_, TIOCMIWAIT, mask) != 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EIO || errno == ENODEV || errno == ENXIO)
                    break; // the device is gone
                lineWait = false; // the driver has no TIOCMIWAIT
                continue;
            }
        } else {
            pollfd p{wakeFd_, POLLIN, 0};
            if (poll(&p, 1, PollMs) > 0)
                break;
        }
        LineState now;
        if (!Sample(fd_, now))
            break;
        const std::uint32_t events = Changes(was, now) & events_;
        was = now;
        if (events != 0)
            report_(events);
    }
    Finish();
}

void ModemLineWatch::Finish()
{
    std::lock_guard lock(mutex_);
    done_ = true;
    ended_.notify_all();
}
