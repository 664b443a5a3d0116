#include "toolkit/Thread.h"
#include "toolkit/ExceptionReport.h"
#include "toolkit/GuiQueue.h"

#include <QCoreApplication>

class TThread::Runner : public QThread {
public:
    explicit Runner(TThread *owner) : owner_(owner) {}

protected:
    void run() override { owner_->Run(); }

private:
    TThread *owner_;
};

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
} // namespace

TThread::TThread() : runner_(std::make_unique<Runner>(this)) {}

TThread::~TThread()
{
    WaitFor();
}

void TThread::Resume()
{
    if (started_.exchange(true))
        return;
    runner_->start(ToQt(priority_.load()));
}

void TThread::Terminate()
{
    terminated_.store(true);
}

int TThread::WaitFor()
{
    if (!started_.load())
        return ReturnValue();
    if (QCoreApplication::instance() != nullptr && gui::IsGuiThread())
        gui::WaitUntil([this] { return finished_.load(); });
    if (QThread::currentThread() != runner_.get())
        runner_->wait();
    return ReturnValue();
}

void TThread::SetPriority(TThreadPriority priority)
{
    priority_.store(priority);
    if (started_.load() && !finished_.load() && runner_->isRunning())
        runner_->setPriority(ToQt(priority));
}

void TThread::Synchronize(const std::function<void()> &fn)
{
    gui::Call(fn);
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
    finished_.store(true);
    gui::Wake();
}
