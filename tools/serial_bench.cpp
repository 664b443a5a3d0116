// Round trips of a 13-byte request and a 13-byte reply through the port's
// Write + Read over a pseudo-terminal with an echoing peer, and the CPU time
// that a Read waiting 2 s for nothing burns.
#include "configurator/core/ConfiguratorPort.h"
#include "serial/ComPort.h"
#include "simulator/ScopedPortTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int FrameSize = 13;

double Seconds(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Sends back every full frame it receives, until the master is told to stop.
void Echo(int master, const std::atomic<bool> &stop)
{
    char frame[FrameSize];
    int have = 0;
    while (!stop.load()) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        const ssize_t n = read(master, frame + have, size_t(FrameSize - have));
        if (n <= 0)
            return;
        have += int(n);
        if (have == FrameSize) {
            if (write(master, frame, FrameSize) != FrameSize)
                return;
            have = 0;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("posix_openpt");
        return 1;
    }
    qrvsim::ScopedPortTable table;
    if (!qrvsim::setPortTableEntry(table.path(), QStringLiteral("COM1"), QString::fromLocal8Bit(ptsname(master))))
        return 1;

    TComPort port;
    port.SetPort("COM1");
    SetConfiguratorPortSettings(port); // as the configurator's exchanges run
    try {
        port.Open();
    } catch (const EComPort &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    std::atomic<bool> stop{false};
    std::thread peer(Echo, master, std::cref(stop));

    char request[FrameSize] = {0x05, 0x01, 0x08, 0x00, 0x0D, 0x11, 0x13, 0x00, 0x7F, 0x03, 0x1A, 0x1C, 0x55};
    char reply[FrameSize];
    std::vector<double> trips;
    trips.reserve(size_t(rounds));
    int failures = 0;
    const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < rounds; ++i) {
        const double t0 = Seconds(CLOCK_MONOTONIC);
        const bool ok = port.Write(request, FrameSize) == FrameSize && port.Read(reply, FrameSize) == FrameSize &&
                        std::equal(request, request + FrameSize, reply);
        trips.push_back(Seconds(CLOCK_MONOTONIC) - t0);
        failures += ok ? 0 : 1;
    }
    const double cpuTrips = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    std::sort(trips.begin(), trips.end());
    const auto at = [&](double q) { return trips[std::min(trips.size() - 1, size_t(q * double(trips.size())))] * 1e6; };
    std::printf("round trip, %d x (write %d + read %d bytes): median %.1f us, p99 %.1f us, max %.1f us, "
                "%d failed, process CPU %.1f us per trip\n",
                rounds, FrameSize, FrameSize, at(0.5), at(0.99), trips.back() * 1e6, failures,
                cpuTrips / rounds * 1e6);

    // A read that receives nothing for 2 s.
    port.Timeouts()->SetReadInterval(0);
    port.Timeouts()->SetReadTotalM(0);
    port.Timeouts()->SetReadTotalC(2000);
    rusage before, after;
    getrusage(RUSAGE_THREAD, &before);
    const double threadCpu = Seconds(CLOCK_THREAD_CPUTIME_ID);
    const double wall = Seconds(CLOCK_MONOTONIC);
    const int got = port.Read(reply, FrameSize);
    const double idleCpu = Seconds(CLOCK_THREAD_CPUTIME_ID) - threadCpu;
    const double idleWall = Seconds(CLOCK_MONOTONIC) - wall;
    getrusage(RUSAGE_THREAD, &after);
    std::printf("idle read: %d bytes after %.3f s, thread CPU %.1f us, context switches %ld voluntary %ld involuntary\n",
                got, idleWall, idleCpu * 1e6, after.ru_nvcsw - before.ru_nvcsw, after.ru_nivcsw - before.ru_nivcsw);

    stop.store(true);
    peer.join();
    port.Close();
    close(master);
    return failures == 0 && got == 0 ? 0 : 1;
}
