#include "serial/posix/StopEvent.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

TStopEvent::TStopEvent() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

TStopEvent::~TStopEvent()
{
    close(fd_);
}

void TStopEvent::Set()
{
    const std::uint64_t one = 1;
    if (write(fd_, &one, sizeof one) < 0) {
        // The counter is already far from zero: the event is set.
    }
}

void TStopEvent::Reset()
{
    std::uint64_t count = 0;
    if (read(fd_, &count, sizeof count) < 0) {
        // It was not set.
    }
}

bool TStopEvent::Wait(std::int32_t timeoutMs) const
{
    pollfd p{fd_, POLLIN, 0};
    for (;;) {
        const int n = poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
        if (n >= 0)
            return n > 0;
        if (errno != EINTR)
            return false;
    }
}
