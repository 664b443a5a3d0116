#include "toolkit/Thread.h"
#include "toolkit/ExceptionReport.h"
#include "toolkit/GuiQueue.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

namespace {

QThread::Priority ToQt(TThreadPriority p)
{
    switch (p) {
    // Qt's idle priority is Linux's SCHED_IDLE, which an unprivileged thread
    // can never leave again; a thread that goes idle while no controller
    // answers must come back to normal when one does.
    case TThreadPriority::tpIdle: return QThread::LowestPriority;
    case TThreadPriority::tpLowest: return QThread::LowestPriority;
    case TThreadPriority::tpLower: return QThread::LowPriority;
    case TThreadPriority::tpNormal: return QThread::NormalPriority;
    case TThreadPriority::tpHigher: return QThread::HighPriority;
    case TThreadPriority::tpHighest: return QThread::HighestPriority;
    case TThreadPriority::tpTimeCritical: return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

void Apply(QThread &thread, TThreadPriority priority)
{
    if (thread.priority() != ToQt(priority))
        thread.setPriority(ToQt(priority));
}

// The TThread whose Execute runs on this thread, if any.
thread_local const TThread *runningHere = nullptr;

// A thread that has run an Execute waits this long for the next one.
constexpr std::chrono::seconds IdleLife{10};

} // namespace

// Making a thread costs far more than the work of a short operation, and the
// programs run many: the poller two workers a cycle, each opening a port with
// an event thread of its own. So a thread that has run one Execute serves the
// next.
class TThread::Pool {
public:
    static void Start(TThread *job)
    {
        // Never freed: idle threads may still wait when the program ends.
        static Pool *const pool = new Pool;
        pool->Hand(job);
    }

private:
    class Worker : public QThread {
    public:
        explicit Worker(Pool &pool, TThread *first) : job(first), pool_(pool) {}
        // Guarded by the pool's mutex.
        TThread *job;
        std::condition_variable handed;

    protected:
        void run() override { pool_.Serve(*this); }

    private:
        Pool &pool_;
    };

    void Hand(TThread *job)
    {
        std::vector<Worker *> gone;
        {
            std::lock_guard lock(mutex_);
            gone.swap(ended_);
            if (!idle_.empty()) {
                Worker *worker = idle_.back();
                idle_.pop_back();
                worker->job = job;
                worker->handed.notify_one();
                job = nullptr;
            }
        }
        for (Worker *worker : gone) {
            worker->wait();
            delete worker;
        }
        if (job != nullptr)
            (new Worker(*this, job))->start(ToQt(job->Priority()));
    }

    void Serve(Worker &self)
    {
        for (;;) {
            TThread *job = nullptr;
            {
                std::unique_lock lock(mutex_);
                if (!self.handed.wait_for(lock, IdleLife, [&self] { return self.job != nullptr; })) {
                    idle_.erase(std::find(idle_.begin(), idle_.end(), &self));
                    ended_.push_back(&self);
                    return;
                }
                job = std::exchange(self.job, nullptr);
            }
            runningHere = job;
            job->Run(&self);
            runningHere = nullptr;
            // What the operation left to this thread to delete, as at a thread's end.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            // Idle before the end is told, so that a thread started right after it can come here.
            {
                std::lock_guard lock(mutex_);
                idle_.push_back(&self);
            }
            job->End(); // job may be gone once this returns
        }
    }

    std::mutex mutex_;
    std::vector<Worker *> idle_;
    // Ended, to be deleted by the next Hand.
    std::vector<Worker *> ended_;
};

TThread::TThread() = default;

TThread::~TThread()
{
    WaitFor();
}

void TThread::Resume()
{
    if (started_.exchange(true))
        return;
    Pool::Start(this);
}

void TThread::Terminate()
{
    terminated_.store(true);
}

int TThread::WaitFor()
{
    if (!started_.load() || runningHere == this)
        return ReturnValue();
    if (QCoreApplication::instance() != nullptr && gui::IsGuiThread()) {
        {
            std::lock_guard lock(mutex_);
            guiWaits_ = true;
        }
        gui::WaitUntil([this] { return finished_.load(); });
    }
    // Also past the end's report, after which the pool no longer touches this.
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return finished_.load(); });
    return ReturnValue();
}

void TThread::SetPriority(TThreadPriority priority)
{
    priority_.store(priority);
    std::lock_guard lock(mutex_);
    if (thread_ != nullptr)
        Apply(*thread_, priority);
}

void TThread::Synchronize(const std::function<void()> &fn)
{
    gui::Call(fn);
}

void TThread::Run(QThread *thread)
{
    {
        std::lock_guard lock(mutex_);
        thread_ = thread;
        Apply(*thread, priority_.load());
    }
    try {
        Execute();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
    std::lock_guard lock(mutex_);
    thread_ = nullptr;
}

void TThread::End()
{
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        finished_.store(true);
        wake = guiWaits_;
        ended_.notify_all();
    }
    // A GUI thread that waits for this end is woken; one that has not begun
    // to wait sees finished_ when it does.
    if (wake)
        gui::Wake();
}
