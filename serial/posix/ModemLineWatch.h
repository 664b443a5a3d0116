#pragma once
// Watches the modem status lines of an open tty on a thread of its own and
// reports each change as EV_ bits (EV_CTS, EV_DSR, EV_RLSD, EV_RING). It sleeps
// in TIOCMIWAIT where the driver has it; otherwise it looks at the lines every
// 50 ms. A device that loses its lines ends the watch quietly.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class ModemLineWatch {
public:
    using Report = std::function<void(std::uint32_t events)>;

    // events: the line events to watch for. Raises std::system_error when no
    // thread or descriptor can be had.
    ModemLineWatch(int fd, std::uint32_t events, Report report);
    // Ends the watch and waits for its thread.
    ~ModemLineWatch();
    ModemLineWatch(const ModemLineWatch &) = delete;
    ModemLineWatch &operator=(const ModemLineWatch &) = delete;

    std::uint32_t Events() const { return events_; }

private:
    void Run();
    void Finish();

    int fd_;
    std::uint32_t events_;
    Report report_;
    int wakeFd_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;
};
