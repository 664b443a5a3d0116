#pragma once
// A worker thread in the shape the programs use: created suspended, given a
// priority, resumed, waited for; its result is ReturnValue.
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread {
public:
    TThread();
    TThread(const TThread &) = delete;
    TThread &operator=(const TThread &) = delete;
    // Waits for a running thread. A derived class whose Execute uses its own
    // members calls WaitFor in its destructor, before those members go.
    virtual ~TThread();

    // Starts Execute the first time; later calls do nothing.
    void Resume();
    // Asks Execute to stop; Execute decides whether it looks.
    void Terminate();
    // Waits until Execute has returned and gives ReturnValue. On the GUI
    // thread the wait carries out the workers' GUI requests and paints, but
    // lets no user input in. A thread never resumed returns at once.
    int WaitFor();

    bool Terminated() const { return terminated_.load(); }
    bool Started() const { return started_.load(); }
    bool Finished() const { return finished_.load(); }
    int ReturnValue() const { return returnValue_.load(); }

    TThreadPriority Priority() const { return priority_.load(); }
    // Stored; applied at Resume, or at once on a running thread.
    void SetPriority(TThreadPriority priority);

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int value) { returnValue_.store(value); }
    // Runs fn on the GUI thread and waits for it.
    static void Synchronize(const std::function<void()> &fn);

private:
    // The threads that run Execute, kept for the next one a while after.
    class Pool;
    // On a thread of the pool: Execute, then the end told to the waiters.
    void Run(QThread *thread);
    void End();

    std::atomic<bool> started_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<int> returnValue_{0};
    std::atomic<TThreadPriority> priority_{TThreadPriority::tpNormal};
    // Guards the three below; the end is told under it.
    std::mutex mutex_;
    std::condition_variable ended_;
    QThread *thread_ = nullptr; // while Execute runs
    bool guiWaits_ = false;
};
