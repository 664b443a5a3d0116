#include "toolkit/GuiQueue.h"
#include "toolkit/ExceptionReport.h"
#include "toolkit/InputBarrier.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>
#include <vector>

namespace gui {
namespace {

struct Request {
    const void *key; // PostLatest's, or null
    std::function<void()> fn;
};

std::mutex queueMutex;
std::deque<Request> queue;
bool drainPosted = false;

void PostDrain()
{
    // Runs Drain as a posted event of the application object, so it is served
    // by the event loop and by a waiting GUI thread alike.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { Drain(); }, Qt::QueuedConnection);
}

void RunReported(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
}

void Enqueue(const void *key, std::function<void()> fn)
{
    if (IsGuiThread()) {
        RunReported(fn);
        return;
    }
    std::lock_guard lock(queueMutex);
    if (key != nullptr && !queue.empty() && queue.back().key == key)
        queue.back().fn = std::move(fn);
    else
        queue.push_back({key, std::move(fn)});
    if (!drainPosted) {
        drainPosted = true;
        PostDrain();
    }
}

} // namespace

bool IsGuiThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

void Post(std::function<void()> fn)
{
    Enqueue(nullptr, std::move(fn));
}

void PostLatest(const void *key, std::function<void()> fn)
{
    Enqueue(key, std::move(fn));
}

void Call(const std::function<void()> &fn)
{
    if (IsGuiThread()) {
        fn();
        return;
    }
    struct State {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        std::exception_ptr error;
    } state;
    Post([&state, &fn] {
        std::exception_ptr error;
        try {
            fn();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(state.m);
        state.error = error;
        state.done = true;
        state.cv.notify_one();
    });
    std::unique_lock lock(state.m);
    state.cv.wait(lock, [&state] { return state.done; });
    if (state.error)
        std::rethrow_exception(state.error);
}

void Drain()
{
    std::deque<Request> batch;
    {
        std::lock_guard lock(queueMutex);
        batch.swap(queue);
        drainPosted = false;
    }
    for (const Request &request : batch)
        RunReported(request.fn);
}

void Wake()
{
    if (QCoreApplication::instance() != nullptr)
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
}

namespace {

// GUI thread only.
std::vector<std::function<void()>> afterWaits;

void RunOutsideWaits(std::function<void()> fn)
{
    if (InputBarrier::Active()) {
        afterWaits.push_back(std::move(fn));
        return;
    }
    try {
        fn();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
}

// What came due during the waits, for the event loop to run after them.
void PostHeldRequests()
{
    if (InputBarrier::Active() || afterWaits.empty())
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [batch = std::exchange(afterWaits, {})]() mutable {
            for (auto &fn : batch)
                RunOutsideWaits(std::move(fn));
        },
        Qt::QueuedConnection);
}

} // namespace

void WaitUntil(const std::function<bool()> &done)
{
    {
        // Excluding user input from processEvents would only hold it back
        // until the wait ends, when the actions are enabled again.
        const InputBarrier barrier;
        bool waited = false;
        while (!done()) {
            Drain();
            if (done())
                break;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            waited = true;
        }
        // Input that has come in while the worker ended goes the same way.
        if (waited)
            QCoreApplication::processEvents();
        Drain();
    }
    PostHeldRequests();
}

bool Waiting()
{
    return InputBarrier::Active();
}

void PostAfterWaits(std::function<void()> fn)
{
    Post([fn = std::move(fn)]() mutable { RunOutsideWaits(std::move(fn)); });
}

} // namespace gui
