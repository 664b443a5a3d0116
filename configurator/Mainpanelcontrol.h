#pragma once
// The live-state poller: while the window is idle it identifies the
// connected controller again and again and, for the page selected, reads
// one live block and hands the window what it shows of it. Every
// conversation is a TReadData of its own; the window is asked and told
// through PollerWindow, on the GUI thread.
#include "configurator/PollerWindow.h"
#include "toolkit/StatusView.h"
#include "toolkit/Thread.h"

#include <QByteArray>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <condition_variable>
#include <mutex>
#include <optional>

struct ControllerConfig;
class TCustomComPort;

// Where the poller's workers report: TMPLabel, which nobody sees and whose
// caption is read (into panel 3) only after a worker has ended. The last
// report is kept and goes to the label with the poller's next hand-over to
// the GUI thread, so that a report costs the GUI thread no wake-up of its own.
class TPollerStatus : public IStatusLabel {
public:
    struct Report {
        QString text;
        TColor colour;
    };

    void ShowStatus(const QString &text, TColor colour) override;
    // The last report since the last Take, if one came.
    std::optional<Report> Take();

private:
    std::mutex mutex_;
    std::optional<Report> last_;
};

class TMainPanelControl : public TThread {
public:
    // The port is the window's; messages are the identification's status
    // texts; config is read on the GUI thread, for the system password.
    TMainPanelControl(bool CreateSuspended, PollerWindow &window, TCustomComPort &port, const QStringList &messages,
                      const ControllerConfig &config);
    ~TMainPanelControl() override;

    // Also cuts short the pause after an identification that failed at once.
    void Terminate();

    // The selected page, taken at the start of every cycle (poller thread only).
    int CurrentPage = -1;
    // 1 after a successful identification, 0 after a failed one.
    std::atomic<quint8> DeviceOnline{0};

protected:
    void Execute() override;

private:
    enum class Link { Lost, Unserved, Served };
    // Identification and the model and version gate.
    Link Identify();
    void PollPage(int page);
    void ReadTouchKey();
    // Runs one operation on the window's port, reporting to TMPLabel.
    int Run(std::int8_t operation, void *data, int length, bool windowTexts = false);
    void PauseAfterFailure(std::chrono::steady_clock::time_point cycleStart);
    // Hands show to the GUI thread with the workers' last report as it is
    // now: TMPLabel takes it, and panel 3 TMPLabel's caption when asked.
    void Hand(bool toPanel3, std::function<void()> show);

    PollerWindow &window_;
    TCustomComPort &port_;
    const QStringList &messages_;
    const ControllerConfig &config_;
    TPollerStatus tmpStatus_;
    // What the last hand-overs put on screen, so that a cycle that would show
    // the same again costs the GUI thread nothing (poller thread only).
    QByteArray shownIdentity_; // identity and refusal; empty: none
    QByteArray shownState_;    // page and state block; empty: none
    bool panel3Changed_ = false; // since the identification's text went there
    std::mutex pauseMutex_;
    std::condition_variable pauseEnd_;
};
