#pragma once
// Does something on another thread again and again until destroyed, so that
// it lands while the test's own call waits, however the threads are scheduled.
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

class Repeater {
public:
    explicit Repeater(std::function<void()> action)
        : thread_([this, action = std::move(action)] {
              while (!stop_.load()) {
                  action();
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          })
    {
    }
    ~Repeater()
    {
        stop_.store(true);
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
