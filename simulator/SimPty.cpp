#include "simulator/SimPty.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace qrvsim {

namespace {

[[noreturn]] void Fail(const char *what)
{
    throw std::runtime_error(std::string("controller simulator: ") + what + ": " + std::strerror(errno));
}

void CloseFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

SimPty::SimPty()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0)
        Fail("posix_openpt");
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0) {
        const int err = errno;
        CloseFd(master_);
        errno = err;
        Fail("pseudo-terminal set-up");
    }
    path_ = QString::fromLocal8Bit(name);

    // Opened before the port ever sets TIOCEXCL, so it can never be refused.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios t{};
    if (slave_ < 0 || ::tcgetattr(slave_, &t) != 0) {
        const int err = errno;
        close();
        errno = err;
        Fail("opening the slave");
    }
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);

    // Set up after our own open, so only other openers are counted.
    watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ < 0 || ::inotify_add_watch(watch_, name, IN_OPEN | IN_CLOSE) < 0) {
        const int err = errno;
        close();
        errno = err;
        Fail("watching the slave");
    }
}

SimPty::~SimPty() { close(); }

void SimPty::close()
{
    CloseFd(master_);
    CloseFd(slave_);
    CloseFd(watch_);
}

void SimPty::clearExclusive()
{
    if (slave_ >= 0)
        ::ioctl(slave_, TIOCNXCL);
}

void SimPty::readWatchEvents(int &opens, int &closes)
{
    opens = closes = 0;
    if (watch_ < 0)
        return;
    alignas(inotify_event) char buf[4096];
    for (;;) {
        const ssize_t n = ::read(watch_, buf, sizeof buf);
        if (n <= 0)
            return;
        for (ssize_t at = 0; at < n;) {
            const auto *e = reinterpret_cast<const inotify_event *>(buf + at);
            if (e->mask & IN_OPEN)
                ++opens;
            if (e->mask & IN_CLOSE)
                ++closes;
            at += ssize_t(sizeof(inotify_event) + e->len);
        }
    }
}

WakePipe::WakePipe()
{
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0)
        Fail("pipe");
}

WakePipe::~WakePipe()
{
    CloseFd(fds_[0]);
    CloseFd(fds_[1]);
}

void WakePipe::wake()
{
    const char c = 1;
    // A full pipe already wakes the reader.
    [[maybe_unused]] ssize_t n = ::write(fds_[1], &c, 1);
}

void WakePipe::drain()
{
    char buf[64];
    while (::read(fds_[0], buf, sizeof buf) > 0) {
    }
}

bool WakePipe::sleepUntil(std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return true;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec ts{time_t(ns / 1000000000), long(ns % 1000000000)};
        pollfd p{fds_[0], POLLIN, 0};
        const int r = ::ppoll(&p, 1, &ts, nullptr);
        if (r > 0)
            return false;
        if (r < 0 && errno != EINTR)
            return true;
    }
}

} // namespace qrvsim
