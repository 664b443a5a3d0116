#pragma once
// The live-state poller: while the window is idle it identifies the
// connected controller again and again and, for the page selected, reads
// and shows one live block. Every conversation is a TReadData of its own;
// the window's state is read and its controls are written on the GUI thread.
#include "toolkit/Thread.h"
#include "toolkit/widgets/WidgetViews.h"

#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class TForm1;

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

    TForm1 &form_;
    const QStringList *gsmStates;
    QStringList ownGsmStates;
    LabelStatus tmpStatus_;
    std::mutex pauseMutex_;
    std::condition_variable pauseEnd_;
};
