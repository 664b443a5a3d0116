#pragma once
// The simulator's end of a pseudo-terminal, and the pipe that wakes its thread.
#include <QString>

#include <chrono>
#include <sys/types.h>

namespace qrvsim {

// Master side plus a slave fd of our own: while the port is closed between
// connections the master then sees no hang-up, and the slave keeps its raw
// settings. An inotify watch on the slave device tells when the port opens and
// closes it.
class SimPty {
public:
    SimPty(); // throws std::runtime_error
    ~SimPty();
    SimPty(const SimPty &) = delete;
    SimPty &operator=(const SimPty &) = delete;

    QString devicePath() const { return path_; }
    bool isOpen() const { return master_ >= 0; }
    int masterFd() const { return master_; }
    int watchFd() const { return watch_; }

    // Unplugging: the master goes, so every slave fd sees a hang-up.
    void close();
    // A pty is never closed for good while the master lives, so the port's
    // TIOCEXCL would outlast its close and refuse its next open.
    void clearExclusive();
    // Reads the pending open/close notifications of the slave device.
    void readWatchEvents(int &opens, int &closes);

private:
    int master_ = -1;
    int slave_ = -1;
    int watch_ = -1;
    QString path_;
};

// Wakes the serving thread out of poll or a pacing sleep.
class WakePipe {
public:
    WakePipe(); // throws std::runtime_error
    ~WakePipe();
    WakePipe(const WakePipe &) = delete;
    WakePipe &operator=(const WakePipe &) = delete;

    int fd() const { return fds_[0]; }
    void wake();
    void drain();
    // Sleeps until the deadline; false when woken first.
    bool sleepUntil(std::chrono::steady_clock::time_point deadline);

private:
    int fds_[2] = {-1, -1};
};

} // namespace qrvsim
