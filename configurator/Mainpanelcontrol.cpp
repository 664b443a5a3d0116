#include "configurator/Mainpanelcontrol.h"
#include "common/PortProbe.h"
#include "configurator/FormTexts.h"
#include "configurator/core/SupportedVersions.h"
#include "toolkit/GuiQueue.h"
#include "configurator/Main.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageArmIn.h"
#include "configurator/pages/PageClock.h"
#include "configurator/pages/PageInput.h"
#include "configurator/pages/PageLiveState.h"
#include "configurator/pages/PagePower.h"
#include "link/Readdata.h"
#include "toolkit/widgets/WidgetViews.h"

#include <QDateTime>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace {

using StateBlock = std::array<quint8, 36>;
using TouchKeyBlock = std::array<quint8, 12>;

// The values of the controller's live-state block.
struct StateFields {
    // The controller's clock: year within the century, month, day, hour, minute, second.
    static constexpr int ClockSize = 6;
    static constexpr UField MainPower{22, 0, 8}; // 0.1 V
    static constexpr UField Battery{24, 0, 8};
    static constexpr UField SignalQuality{25, 0, 5};
    // The input values are shown when measured, or when measured on battery with a battery.
    static constexpr UField InputsMeasured{25, 5, 1};
    static constexpr UField InputsMeasuredOnBattery{25, 6, 1};
    static constexpr UField ArmState{26, 0, 8};
    static constexpr UField TemperatureValid{27, 0, 1};
    static constexpr UField BalanceValid{27, 1, 1};
    static constexpr UField LedMask{28, 0, 8};
    static constexpr UField OutputMask{29, 0, 8};
    static constexpr UField GsmState{30, 0, 8};
    static constexpr Int8Field Temperature{31};
    static constexpr Float32Field Balance{32};
    // Inputs 1..4 as 0..3.
    static constexpr UField InputValue(int input) { return {6 + 2 * input, 0, 16}; }
};

struct TouchKeyFields {
    static constexpr int CodeSize = 8;
    static constexpr UField KeyRead{8, 0, 2}; // both bits set: a key was read
};

constexpr int UnknownGsmState = 11;
// A failed identification that came back at once (the port cannot be
// opened) is not retried sooner than an unanswered one would end.
constexpr std::chrono::milliseconds MinFailedCycle{1000};

const QString PasswordRefusedText =
    QStringLiteral("Взаимодействие запрещено без указания пароля, программа не сможет получить код ключа");

// day.month.year hour:minute:second from the clock bytes.
QString ControllerTimeText(const StateBlock &state)
{
    static constexpr int order[] = {2, 1, 0, 3, 4, 5};
    static constexpr const char *after[] = {".", ".", " ", ":", ":", ""};
    QString text;
    for (int i = 0; i < StateFields::ClockSize; ++i) {
        const int value = state[std::size_t(order[i])];
        text += QString::number(value / 10) + QString::number(value % 10) + QLatin1String(after[i]);
    }
    return text;
}

// The bar keeps its range: a value beyond it shows as the nearest end.
void SetBarPosition(QProgressBar *bar, int value)
{
    if (bar != nullptr)
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

// ---- page work, GUI thread; a page the window lacks is null

void ShowRootState(PageLiveState *live, PagePower *power, const StateBlock &state, const QStringList &gsmStates)
{
    const ConstFieldView s(state);
    if (live != nullptr) {
        live->ShowSignalQuality(quint8(s.Get(StateFields::SignalQuality)));
        const int code = std::min<int>(int(s.Get(StateFields::GsmState)), UnknownGsmState);
        live->LabelGSMState->setText(gsmStates.value(code));
        live->ShowArmState(quint8(s.Get(StateFields::ArmState)));
        live->ShowLedMask(quint16(s.Get(StateFields::LedMask)));
        live->ShowOutputMask(quint8(s.Get(StateFields::OutputMask)));
        live->ShowBalance(s.Get(StateFields::BalanceValid) != 0, s.Get(StateFields::Balance));
    }
    if (power != nullptr)
        power->ShowModemTemperature(qint8(s.Get(StateFields::Temperature)), s.Get(StateFields::TemperatureValid) != 0);
}

// What the root page shows after a failed state read, but panel 3.
void ShowRootStateLost(PageLiveState *live)
{
    if (live == nullptr)
        return;
    live->ShowSignalQuality(0);
    live->LabelGSMState->clear();
    live->ShowArmState(255);
    live->ShowLedMask(0);
    live->ShowOutputMask(0);
}

// state null: the read failed.
void ShowPowerState(PagePower *power, const StateBlock *state)
{
    if (power == nullptr)
        return;
    if (state == nullptr) {
        power->ShowBatteryState(0);
        power->ShowMainPower(0);
        return;
    }
    const ConstFieldView s(*state);
    power->ShowBatteryState(quint8(s.Get(StateFields::Battery)));
    power->ShowMainPower(quint8(s.Get(StateFields::MainPower)));
    power->ShowModemTemperature(qint8(s.Get(StateFields::Temperature)), s.Get(StateFields::TemperatureValid) != 0);
}

// state null: the read failed.
void ShowInputValue(PageInput *input, int page, const StateBlock *state)
{
    if (input == nullptr)
        return;
    int value = 0;
    if (state != nullptr) {
        const ConstFieldView s(*state);
        const bool shown = (s.Get(StateFields::InputsMeasuredOnBattery) != 0 && s.Get(StateFields::Battery) != 0) ||
                           s.Get(StateFields::InputsMeasured) != 0;
        if (shown)
            value = int(s.Get(StateFields::InputValue(page - Pages::FirstInput)));
    }
    SetBarPosition(input->ProgressBarCurrentVal, value);
    input->UpdateSensorPage();
    input->UpdateCurrentValueColour();
}

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

TMainPanelControl::TMainPanelControl(bool CreateSuspended, TForm1 &form)
    : form_(form), live_(form.Page<PageLiveState>()), power_(form.Page<PagePower>()),
      clock_(form.Page<PageClock>()), input_(form.Page<PageInput>()), armIn_(form.Page<PageArmIn>()),
      gsmStates(nullptr), ownGsmStates(BuiltInGsmStateTexts()),
      tmpStatus_(live_ != nullptr ? live_->TMPLabel : nullptr)
{
    gsmStates = &ownGsmStates;
    if (!CreateSuspended)
        Resume();
}

TMainPanelControl::~TMainPanelControl()
{
    Terminate();
    WaitFor();
}

void TMainPanelControl::SetGsmStates(const QStringList *states)
{
    gsmStates = states != nullptr ? states : &ownGsmStates;
}

void TMainPanelControl::Terminate()
{
    TThread::Terminate();
    std::lock_guard lock(pauseMutex_);
    pauseEnd_.notify_all();
}

int TMainPanelControl::Run(std::int8_t operation, void *data, int length, bool windowTexts)
{
    TReadData worker(true, operation, data, length, &form_.ComPort1, &tmpStatus_);
    return RunWorker(worker, windowTexts ? &form_.Texts().StatusMessages : nullptr);
}

void TMainPanelControl::Hand(bool toPanel3, std::function<void()> show)
{
    panel3Changed_ = panel3Changed_ || toPanel3;
    gui::Post([this, report = tmpStatus_.Take(), toPanel3, show = std::move(show)] {
        QLabel *tmp = tmpStatus_.label();
        if (report && tmp != nullptr)
            ShowLabelStatus(tmp, report->text, report->colour);
        if (toPanel3)
            form_.SetPanelText(ResultPanel, tmp != nullptr ? tmp->text() : QString());
        if (show)
            show();
    });
}

void TMainPanelControl::Execute()
{
    while (!Terminated()) {
        const auto cycleStart = std::chrono::steady_clock::now();
        CurrentPage = form_.SelectedPage();
        switch (Identify()) {
        case Link::Lost: PauseAfterFailure(cycleStart); break;
        case Link::Unserved: break;
        case Link::Served: PollPage(CurrentPage); break;
        }
    }
}

TMainPanelControl::Link TMainPanelControl::Identify()
{
    TForm1 *form = &form_;
    DeviceIdentity identity{};
    if (Run(opIdentify, identity.data(), DeviceIdentitySize, true) != 0) {
        shownIdentity_.clear();
        Hand(true, [form] {
            form->ShowDeviceIdentity(EmptyDeviceIdentity());
            form->SetPanelText(PortPanel, QLatin1String(NotConnectedText));
            form->PollerIdentified(false);
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
    Hand(true, [this, form, identity, refusal] {
        form->ShowDeviceIdentity(identity);
        form->SetPanelText(PortPanel, form->ComPort1.Port());
        form->PollerIdentified(true);
        if (!refusal.isEmpty() && live_ != nullptr)
            LabelStatus(live_->ActionName).ShowStatus(refusal, clRed);
    });
    shownIdentity_ = shown;
    panel3Changed_ = false;
    return served ? Link::Served : Link::Unserved;
}

void TMainPanelControl::PollPage(int page)
{
    TForm1 *form = &form_;
    if (page == Pages::ArmIn) {
        ReadTouchKey();
        return;
    }
    if (page == Pages::Clock) {
        bool editing = false;
        gui::Call([this, form, &editing] {
            if (clock_ != nullptr)
                clock_->MaskEditPCCurTime->setText(QDateTime::currentDateTime().toString(u"dd.MM.yy HH:mm:ss"));
            editing = form->EditingControllerTime != 0;
        });
        if (editing)
            return;
    } else if (page != Pages::LiveState && page != Pages::Power && !IsInputPage(page)) {
        return;
    }

    StateBlock state{};
    const bool read = Run(opReadState, state.data(), int(state.size())) == 0;
    if (!read) {
        shownState_.clear();
    } else if (page == Pages::LiveState || page == Pages::Power) {
        // These pages show the block and nothing else; the changing mode
        // blinks with each cycle.
        const QByteArray shown = QByteArray::number(page) + ':' + Bytes(state);
        const bool blinking = page == Pages::LiveState && ConstFieldView(state).Get(StateFields::ArmState) == 1;
        if (shown == shownState_ && !blinking)
            return;
        shownState_ = shown;
    }
    const QStringList *gsm = gsmStates;
    Hand(!read, [this, form, page, read, state, gsm] {
        if (page == Pages::LiveState) {
            if (read)
                ShowRootState(live_, power_, state, *gsm);
            else
                ShowRootStateLost(live_);
        } else if (page == Pages::Clock) {
            // The user may have begun to edit the time since the poller looked.
            if (read && clock_ != nullptr && form->EditingControllerTime == 0)
                clock_->MaskEditContrCurTime->SetText(ControllerTimeText(state));
        } else if (page == Pages::Power) {
            ShowPowerState(power_, read ? &state : nullptr);
        } else {
            ShowInputValue(input_, page, read ? &state : nullptr);
        }
    });
}

void TMainPanelControl::ReadTouchKey()
{
    TForm1 *form = &form_;
    std::array<quint8, GeneralFields::SystemPassword.size> password{};
    gui::Call([form, &password] {
        const auto field = View(form->ControllerConfig.ConfigImage).Bytes(GeneralFields::SystemPassword);
        std::copy(field.begin(), field.end(), password.begin());
    });
    password.back() = 0;
    const bool unlocked = Run(opSendPassword, password.data(), int(password.size())) == 0;
    Hand(false, [this, unlocked] {
        if (armIn_ == nullptr)
            return;
        armIn_->MarkKeyRead(false);
        if (!unlocked)
            armIn_->LabelTouchActionDiscription->setText(PasswordRefusedText);
    });
    if (!unlocked)
        return;

    TouchKeyBlock key{};
    if (Run(opReadTouchKey, key.data(), int(key.size())) != 0) {
        Hand(true, {});
        return;
    }
    const bool keyRead = ConstFieldView(key).Get(TouchKeyFields::KeyRead) == 3;
    const QString code =
        QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(key.data()), TouchKeyFields::CodeSize).toHex())
            .toUpper();
    Hand(false, [this, keyRead, code] {
        if (armIn_ == nullptr)
            return;
        if (!keyRead) {
            armIn_->MarkKeyRead(false);
            return;
        }
        armIn_->LabelTouchActionDiscription->clear();
        armIn_->MarkKeyRead(true);
        armIn_->LearnTouchKey(code);
    });
}

void TMainPanelControl::PauseAfterFailure(std::chrono::steady_clock::time_point cycleStart)
{
    std::unique_lock lock(pauseMutex_);
    pauseEnd_.wait_until(lock, cycleStart + MinFailedCycle, [this] { return Terminated(); });
}
