#pragma once
// The live-state poller: while the window is idle it identifies the
// connected controller again and again and, for the page selected, reads
// and shows one live block. Every conversation is a TReadData of its own;
// the window's state is read and its controls are written on the GUI thread.
#include "toolkit/StatusView.h"
#include "toolkit/Thread.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <condition_variable>
#include <mutex>
#include <optional>

class PageArmIn;
class PageClock;
class PageInput;
class PageLiveState;
class PagePower;
class QLabel;
class TForm1;

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

    explicit TPollerStatus(QLabel *label) : label_(label) {}
    void ShowStatus(const QString &text, TColor colour) override;
    // The last report since the last Take, if one came.
    std::optional<Report> Take();
    QLabel *label() const { return label_.data(); }

private:
    QPointer<QLabel> label_;
    std::mutex mutex_;
    std::optional<Report> last_;
};

class TMainPanelControl : public TThread {
public:
    TMainPanelControl(bool CreateSuspended, TForm1 &form);
    ~TMainPanelControl() override;

    // The window's translatable GSM-state texts (not owned); set before Resume.
    void SetGsmStates(const QStringList *states);
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

    TForm1 &form_;
    // The pages a cycle writes, looked up once (they outlive the poller); null
    // where the window has none.
    PageLiveState *const live_;
    PagePower *const power_;
    PageClock *const clock_;
    PageInput *const input_;
    PageArmIn *const armIn_;
    const QStringList *gsmStates;
    QStringList ownGsmStates;
    TPollerStatus tmpStatus_;
    // What the last hand-overs put on screen, so that a cycle that would show
    // the same again costs the GUI thread nothing (poller thread only).
    QByteArray shownIdentity_; // identity and refusal; empty: none
    QByteArray shownState_;    // page and state block; empty: none
    bool panel3Changed_ = false; // since the identification's text went there
    std::mutex pauseMutex_;
    std::condition_variable pauseEnd_;
};
