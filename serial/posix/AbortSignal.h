#pragma once
// Ends transfers that wait on other threads. Each waiting thread registers its
// own eventfd for the length of one wait; Abort moves the mark on and wakes
// every registered waiter, which then sees that its transfer's mark is old.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class AbortSignal {
public:
    AbortSignal();
    AbortSignal(const AbortSignal &) = delete;
    AbortSignal &operator=(const AbortSignal &) = delete;

    std::uint64_t Mark() const { return mark_.load(std::memory_order_acquire); }
    void Abort();

    // The calling thread's registration for one wait.
    class Waiter {
    public:
        explicit Waiter(AbortSignal &signal);
        ~Waiter();
        Waiter(const Waiter &) = delete;
        Waiter &operator=(const Waiter &) = delete;
        // -1 when the thread has no eventfd (out of descriptors).
        int Fd() const { return fd_; }
        void Drain() const;

    private:
        AbortSignal &signal_;
        int fd_;
    };

private:
    std::mutex mutex_;
    std::atomic<std::uint64_t> mark_{0};
    std::vector<int> waiters_;
};
