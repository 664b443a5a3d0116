#pragma once
// A manual-reset event that ends waits: once set it stays set until reset, and
// while set its descriptor is readable, so a wait can poll it beside a device.
#include <cstdint>

class TStopEvent {
public:
    // Created unset; raises std::system_error when no descriptor is left.
    TStopEvent();
    ~TStopEvent();
    TStopEvent(const TStopEvent &) = delete;
    TStopEvent &operator=(const TStopEvent &) = delete;

    void Set();
    void Reset();
    bool IsSet() const { return Wait(0); }
    // True when the event is set within timeoutMs (-1: no time-out).
    bool Wait(std::int32_t timeoutMs) const;
    int Fd() const { return fd_; }

private:
    int fd_;
};
