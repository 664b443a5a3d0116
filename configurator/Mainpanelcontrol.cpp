#include "configurator/Mainpanelcontrol.h"
#include "common/PortProbe.h"
#include "configurator/PageTree.h"
#include "configurator/core/ConfigDeviceActions.h"
#include "configurator/core/SupportedVersions.h"
#include "link/Readdata.h"
#include "serial/ComPort.h"
#include "toolkit/GuiQueue.h"

#include <QDateTime>

#include <algorithm>

namespace {

// A failed identification that came back at once (the port cannot be
// opened) is not retried sooner than an unanswered one would end.
constexpr std::chrono::milliseconds MinFailedCycle{1000};

template <std::size_t N>
QByteArray Bytes(const std::array<quint8, N> &block)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), int(N));
}

bool IsInputPage(int page)
{
    return page >= Pages::FirstInput && page < Pages::FirstInput + Pages::InputCount;
}

} // namespace

void TPollerStatus::ShowStatus(const QString &text, TColor colour)
{
    std::lock_guard lock(mutex_);
    last_ = Report{text, colour};
}

std::optional<TPollerStatus::Report> TPollerStatus::Take()
{
    std::lock_guard lock(mutex_);
    return std::exchange(last_, std::nullopt);
}

TMainPanelControl::TMainPanelControl(bool CreateSuspended, PollerWindow &window, TCustomComPort &port,
                                     const QStringList &messages, const ControllerConfig &config)
    : window_(window), port_(port), messages_(messages), config_(config)
{
    if (!CreateSuspended)
        Resume();
}

TMainPanelControl::~TMainPanelControl()
{
    Terminate();
    WaitFor();
}

void TMainPanelControl::Terminate()
{
    TThread::Terminate();
    std::lock_guard lock(pauseMutex_);
    pauseEnd_.notify_all();
}

int TMainPanelControl::Run(std::int8_t operation, void *data, int length, bool windowTexts)
{
    TReadData worker(true, operation, data, length, &port_, &tmpStatus_);
    return RunWorker(worker, windowTexts ? &messages_ : nullptr);
}

void TMainPanelControl::Hand(bool toPanel3, std::function<void()> show)
{
    panel3Changed_ = panel3Changed_ || toPanel3;
    gui::Post([window = &window_, report = tmpStatus_.Take(), toPanel3, show = std::move(show)] {
        if (report)
            window->ShowPollerStatus(report->text, report->colour);
        if (toPanel3)
            window->SetPanelText(ResultPanel, window->PollerStatusText());
        if (show)
            show();
    });
}

void TMainPanelControl::Execute()
{
    while (!Terminated()) {
        const auto cycleStart = std::chrono::steady_clock::now();
        CurrentPage = window_.SelectedPage();
        switch (Identify()) {
        case Link::Lost: PauseAfterFailure(cycleStart); break;
        case Link::Unserved: break;
        case Link::Served: PollPage(CurrentPage); break;
        }
    }
}

TMainPanelControl::Link TMainPanelControl::Identify()
{
    PollerWindow *window = &window_;
    DeviceIdentity identity{};
    if (Run(opIdentify, identity.data(), DeviceIdentitySize, true) != 0) {
        shownIdentity_.clear();
        Hand(true, [window] {
            window->ShowDeviceIdentity(EmptyDeviceIdentity());
            window->SetPanelText(PortPanel, QLatin1String(NotConnectedText));
            window->PollerIdentified(false, QString());
        });
        DeviceOnline.store(0);
        SetPriority(TThreadPriority::tpIdle);
        return Link::Lost;
    }
    DeviceOnline.store(1);
    SetPriority(TThreadPriority::tpNormal);
    const IdentityTexts texts = DecodeIdentity(identity);
    const QString refusal = UnservedReason(texts.deviceName, DeviceVersionText(texts));
    const bool served = refusal.isEmpty();
    // The same controller as shown, with panel 3 still showing its text: the
    // GUI thread is left alone.
    const QByteArray shown = Bytes(identity) + refusal.toUtf8();
    if (shown == shownIdentity_ && !panel3Changed_)
        return served ? Link::Served : Link::Unserved;
    Hand(true, [window, port = &port_, identity, refusal] {
        window->ShowDeviceIdentity(identity);
        window->SetPanelText(PortPanel, port->Port());
        window->PollerIdentified(true, refusal);
    });
    shownIdentity_ = shown;
    panel3Changed_ = false;
    return served ? Link::Served : Link::Unserved;
}

void TMainPanelControl::PollPage(int page)
{
    PollerWindow *window = &window_;
    if (page == Pages::ArmIn) {
        ReadTouchKey();
        return;
    }
    if (page == Pages::Clock) {
        bool editing = false;
        gui::Call([window, &editing] {
            window->ShowPcTime(QDateTime::currentDateTime().toString(u"dd.MM.yy HH:mm:ss"));
            editing = window->EditingClock();
        });
        if (editing)
            return;
    } else if (page != Pages::LiveState && page != Pages::Power && !IsInputPage(page)) {
        return;
    }

    LiveStateBlock block{};
    const bool read = Run(opReadState, block.data(), int(block.size())) == 0;
    if (!read) {
        shownState_.clear();
        Hand(true, [window, page] { window->ShowLiveState(page, nullptr); });
        return;
    }
    if (page == Pages::LiveState || page == Pages::Power) {
        // These pages show the block and nothing else; the changing mode
        // blinks with each cycle.
        const QByteArray shown = QByteArray::number(page) + ':' + Bytes(block);
        const bool blinking =
            page == Pages::LiveState && ConstFieldView(block).Get(StateFields::ArmState) == ChangingModeState;
        if (shown == shownState_ && !blinking)
            return;
        shownState_ = shown;
    }
    Hand(false, [window, page, state = DecodeLiveState(block)] { window->ShowLiveState(page, &state); });
}

void TMainPanelControl::ReadTouchKey()
{
    PollerWindow *window = &window_;
    std::array<quint8, GeneralFields::SystemPassword.size> password{};
    gui::Call([config = &config_, &password] {
        const auto field = View(config->ConfigImage).Bytes(GeneralFields::SystemPassword);
        std::copy(field.begin(), field.end(), password.begin());
    });
    password.back() = 0;
    const bool unlocked = Run(opSendPassword, password.data(), int(password.size())) == 0;
    Hand(false, [window, unlocked] { window->ShowKeyUnlocked(unlocked); });
    if (!unlocked)
        return;

    TouchKeyBlock block{};
    if (Run(opReadTouchKey, block.data(), int(block.size())) != 0) {
        Hand(true, {});
        return;
    }
    Hand(false, [window, key = DecodeTouchKey(block)] { window->ShowTouchKey(key); });
}

void TMainPanelControl::PauseAfterFailure(std::chrono::steady_clock::time_point cycleStart)
{
    std::unique_lock lock(pauseMutex_);
    pauseEnd_.wait_until(lock, cycleStart + MinFailedCycle, [this] { return Terminated(); });
}
