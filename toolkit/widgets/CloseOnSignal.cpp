#include "toolkit/widgets/CloseOnSignal.h"
#include "toolkit/GuiQueue.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr std::array closingSignals{SIGTERM, SIGINT, SIGHUP};
// How soon a close that could not be carried out is tried again.
constexpr int RetryMs = 100;
int pipeFds[2] = {-1, -1};
struct sigaction previous[closingSignals.size()];

void OnSignal(int signal)
{
    const int saved = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

sigset_t ClosingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : closingSignals)
        sigaddset(&set, s);
    return set;
}

} // namespace

void CloseOnSignal::HoldSignals()
{
    const sigset_t set = ClosingSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

CloseOnSignal::CloseOnSignal(QWidget *window) : QObject(window), window_(window), quits_(window == nullptr)
{
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    retry_->setInterval(RetryMs);
    connect(retry_, &QTimer::timeout, this, [this] {
        // The action that waits there is not over: it may refuse again.
        if (gui::Waiting())
            retry_->start();
        else
            TryClose();
    });
    Q_ASSERT(pipeFds[0] < 0);
    const sigset_t set = ClosingSignals();
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        return;
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CloseOnSignal::Activated);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < closingSignals.size(); ++i)
        ::sigaction(closingSignals[i], &action, &previous[i]);
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

CloseOnSignal::~CloseOnSignal()
{
    if (pipeFds[0] < 0)
        return;
    for (std::size_t i = 0; i < closingSignals.size(); ++i)
        ::sigaction(closingSignals[i], &previous[i], nullptr);
    delete notifier_;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void CloseOnSignal::Activated()
{
    char bytes[16];
    while (::read(pipeFds[0], bytes, sizeof bytes) > 0) {
    }
    if (quits_) {
        // Every event loop, also a dialog's outside QApplication::exec.
        QCoreApplication::exit(0);
        return;
    }
    shownAtSignal_ = shownAtSignal_ || (window_ && window_->isVisible());
    TryClose();
}

// A modal dialog of the program (or a menu's own event loop) ends first; a
// close the window refuses (an action runs) is carried out when the window takes it.
void CloseOnSignal::TryClose()
{
    // Closed meanwhile, by another request.
    if (window_.isNull() || (shownAtSignal_ && !window_->isVisible()))
        return;
    const bool modal = QApplication::activeModalWidget() != nullptr || QThread::currentThread()->loopLevel() > 1;
    if (!modal && window_->close())
        return;
    retry_->start();
}
