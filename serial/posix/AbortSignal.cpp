#include "serial/posix/AbortSignal.h"

#include <algorithm>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// One eventfd per thread, made on its first wait and kept for the thread's life.
struct ThreadWake {
    int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    ~ThreadWake()
    {
        if (fd >= 0)
            close(fd);
    }
};

int ThreadWakeFd()
{
    thread_local ThreadWake wake;
    return wake.fd;
}

} // namespace

AbortSignal::AbortSignal()
{
    waiters_.reserve(4);
}

void AbortSignal::Abort()
{
    std::lock_guard lock(mutex_);
    mark_.fetch_add(1, std::memory_order_acq_rel);
    const std::uint64_t one = 1;
    for (int fd : waiters_) {
        if (write(fd, &one, sizeof one) < 0) {
            // The counter is already non-zero: the waiter wakes anyway.
        }
    }
}

AbortSignal::Waiter::Waiter(AbortSignal &signal) : signal_(signal), fd_(ThreadWakeFd())
{
    if (fd_ < 0)
        return;
    Drain(); // a wake left over from an abort that came after the last wait
    std::lock_guard lock(signal_.mutex_);
    signal_.waiters_.push_back(fd_);
}

AbortSignal::Waiter::~Waiter()
{
    if (fd_ < 0)
        return;
    std::lock_guard lock(signal_.mutex_);
    auto &w = signal_.waiters_;
    if (auto it = std::find(w.begin(), w.end(), fd_); it != w.end())
        w.erase(it);
}

void AbortSignal::Waiter::Drain() const
{
    std::uint64_t count = 0;
    if (read(fd_, &count, sizeof count) < 0) {
        // Nothing was pending.
    }
}
