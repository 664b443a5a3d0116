#include "configurator/core/ConfigDeviceActions.h"
#include "configurator/core/ConfigFiles.h"
#include "configurator/core/SupportedVersions.h"
#include "link/Readdata.h"
#include "toolkit/TextRules.h"

#include <algorithm>

namespace {

// A date-time text "dd.mm.yy hh:mm:ss": the two-character fields and the
// upper bound the typed time must keep.
struct ClockField {
    int position;
    int max;
    const char *refusal;
};
constexpr ClockField Day{0, 31, "Не верно установлено число"};
constexpr ClockField Month{3, 12, "Не верно установлен месяц"};
constexpr ClockField Year{6, 99, "Не верно установлен год"};
constexpr ClockField Hour{9, 23, "Не верно установлены часы"};
constexpr ClockField Minute{12, 59, "Не верно установлены минуты"};
constexpr ClockField Second{15, 99, nullptr}; // the mask allows 0..99 and nothing checks it
constexpr ClockField CheckedClockFields[] = {Day, Month, Year, Hour, Minute};

const QString ClockCaption = QStringLiteral("Установка времени и даты");
const QString NoValidConfigurationText =
    QStringLiteral("Контроллер не содержит достоверную конфигурацию.\n"
                   "Настройте параметры как необходимо и запрограммируйте конфигурацию.");

// A blank field reads 0.
int FieldValue(const QString &time, const ClockField &field)
{
    return int(std::clamp<qint64>(TypedInteger(QStringView(time).mid(field.position, 2)), 0, 255));
}

} // namespace

PasswordBuffer SystemPasswordBuffer(const ConfigImage &image)
{
    PasswordBuffer buffer{};
    const auto field = View(image).Bytes(GeneralFields::SystemPassword);
    for (std::size_t i = 0; i + 1 < buffer.size() && i < field.size() && field[i] != 0; ++i)
        buffer[i] = field[i];
    return buffer;
}

QString ClockRefusal(const QString &time)
{
    for (const ClockField &field : CheckedClockFields)
        if (FieldValue(time, field) > field.max)
            return QString::fromUtf8(field.refusal);
    return QString();
}

std::array<quint8, 6> ClockBytes(const QString &time)
{
    std::array<quint8, 6> clock{};
    const ClockField order[] = {Year, Month, Day, Hour, Minute, Second};
    for (std::size_t i = 0; i < clock.size(); ++i)
        clock[i] = quint8(FieldValue(time, order[i]));
    return clock;
}

// ---- an action's start and end

// One action from its start to its end. It holds the port: the poller is
// stopped at once and started again at the end. An action on the controller
// also locks the window's actions and identifies the controller; at its end
// a red text it left stays, and the actions are unlocked.
class ConfigDeviceActions::Scope {
public:
    enum class Kind { Port, Controller, ControllerOnRoot };

    Scope(ConfigDeviceActions &actions, Kind kind) : actions_(actions), locks_(kind != Kind::Port)
    {
        actions_.running_ = true;
        ConfigActionWindow &window = actions_.window_;
        window.StopPoller();
        if (!locks_)
            return;
        actions_.failureHeld_ = false;
        if (kind == Kind::ControllerOnRoot)
            window.SelectRootPage();
        window.SetDeviceActionsEnabled(false);
        window.Repaint();
        served_ = actions_.Identify(actions_.actionStatus_, identity_);
    }

    ~Scope()
    {
        ConfigActionWindow &window = actions_.window_;
        switch (end_) {
        case End::Unlock:
            if (locks_) {
                actions_.HoldFailureText();
                window.SetDeviceActionsEnabled(true);
            }
            window.StartPoller();
            break;
        case End::UnlockKeepingPoller: window.SetDeviceActionsEnabled(true); break;
        case End::Locked: break;
        }
        actions_.running_ = false;
    }

    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

    // The controller answered the identification and is served.
    bool Served() const { return served_; }
    const DeviceIdentity &Identity() const { return identity_; }
    // The window brings the poller and the actions back later.
    void EndLocked() { end_ = End::Locked; }
    // A poller runs already; only the actions come back.
    void EndKeepingPoller() { end_ = End::UnlockKeepingPoller; }

private:
    enum class End { Unlock, UnlockKeepingPoller, Locked };

    ConfigDeviceActions &actions_;
    const bool locks_;
    bool served_ = false;
    DeviceIdentity identity_{};
    End end_ = End::Unlock;
};

// ---- shared steps

void ConfigDeviceActions::RecordedStatus::ShowStatus(const QString &text, TColor colour)
{
    {
        std::lock_guard lock(mutex_);
        text_ = text;
        colour_ = colour;
    }
    if (shown_ != nullptr)
        shown_->ShowStatus(text, colour);
}

QString ConfigDeviceActions::RecordedStatus::Text() const
{
    std::lock_guard lock(mutex_);
    return text_;
}

TColor ConfigDeviceActions::RecordedStatus::Colour() const
{
    std::lock_guard lock(mutex_);
    return colour_;
}

ConfigDeviceActions::ConfigDeviceActions(const ConfigActionLink &link, ConfigActionWindow &window,
                                         ControllerConfig &config)
    : link_(link), window_(window), config_(config), actionStatus_(link.actionStatus),
      commandStatus_(link.commandStatus), systemStatus_(link.systemStatus)
{
}

int ConfigDeviceActions::Command(std::int8_t operation, void *data, int length, IStatusLabel &status)
{
    TReadData worker(true, operation, data, length, link_.port, &status);
    return RunWorker(worker, link_.messages);
}

int ConfigDeviceActions::Transfer(std::int8_t operation, std::int8_t area, void *data, int length,
                                  IProgressBar *progress, IStatusLabel &status)
{
    TReadData worker(true, operation, area, data, length, 0, link_.port, progress, &status);
    return RunWorker(worker, link_.messages);
}

bool ConfigDeviceActions::Identify(IStatusLabel &status, DeviceIdentity &identity)
{
    if (Command(opIdentify, identity.data(), DeviceIdentitySize, status) != 0) {
        window_.ShowDeviceIdentity(EmptyDeviceIdentity());
        return false;
    }
    window_.ShowDeviceIdentity(identity);
    window_.Repaint();
    const IdentityTexts texts = DecodeIdentity(identity);
    const QString refusal = UnservedReason(texts.deviceName, DeviceVersionText(texts));
    if (refusal.isEmpty())
        return true;
    // In the blue of the identification's message.
    status.ShowStatus(refusal, clBlue);
    return false;
}

bool ConfigDeviceActions::SendPassword(IStatusLabel &status)
{
    PasswordBuffer password = SystemPasswordBuffer(config_.ConfigImage);
    return Command(opSendPassword, password.data(), int(password.size()), status) == 0;
}

void ConfigDeviceActions::ShowCommandResult()
{
    window_.SetPanelText(ResultPanel, commandStatus_.Text());
}

void ConfigDeviceActions::HoldFailureText()
{
    failureHeld_ = actionStatus_.Colour() == clRed;
}

int ConfigDeviceActions::ProgramImage()
{
    ConfigImage &image = config_.ConfigImage;
    return Transfer(opProgramArea, maConfigImage, image.data(), int(image.size()), link_.imageProgress,
                    actionStatus_);
}

int ConfigDeviceActions::ProgramDefaultModes()
{
    CopyDefaultModeMemory(config_);
    ModeMemory &modes = config_.ModeMemory;
    return Transfer(opProgramArea, maModeMemory, modes.data(), int(modes.size()), link_.imageProgress,
                    actionStatus_);
}

void ConfigDeviceActions::ReconfigureController()
{
    quint8 none = 0;
    Command(opReconfigure, &none, 1, commandStatus_);
}

void ConfigDeviceActions::RestartController(Scope &action)
{
    quint8 none = 0;
    Command(opRestart, &none, 1, actionStatus_);
    HoldFailureText();
    window_.ShowDeviceIdentity(EmptyDeviceIdentity());
    window_.WaitForRestart();
    action.EndLocked();
}

// ---- configuration transfers

void ConfigDeviceActions::ReadConfiguration()
{
    Scope action(*this, Scope::Kind::ControllerOnRoot);
    if (!action.Served() || !SendPassword(actionStatus_))
        return;
    ConfigImage &image = config_.ConfigImage;
    Transfer(opReadArea, maConfigImage, image.data(), int(image.size()), link_.imageProgress, actionStatus_);
    // Also after a failed read: the image kept is judged the same way.
    if (!HasDefaultHeader(image)) {
        CopyDefaultImage(image);
        window_.SetPanelText(FilePanel, QLatin1String(WorkingCopyName));
        actionStatus_.ShowStatus(NoValidConfigurationText, clRed);
    }
}

void ConfigDeviceActions::ProgramConfiguration()
{
    Scope action(*this, Scope::Kind::ControllerOnRoot);
    if (!action.Served())
        return;
    int result = SendPassword(actionStatus_) ? ProgramImage() : 1;
    if (result == 0 && window_.ClearModesAsked())
        result = ProgramDefaultModes();
    if (result == 0)
        RestartController(action);
}

void ConfigDeviceActions::CompareConfiguration()
{
    Scope action(*this, Scope::Kind::ControllerOnRoot);
    if (!action.Served())
        return;
    ConfigImage &image = config_.ConfigImage;
    Transfer(opCompareArea, maConfigImage, image.data(), int(image.size()), link_.imageProgress, actionStatus_);
}

void ConfigDeviceActions::Reconfigure()
{
    Scope action(*this, Scope::Kind::ControllerOnRoot);
    if (!action.Served() || !SendPassword(actionStatus_) || ProgramImage() != 0)
        return;
    if (window_.ClearModesAsked())
        ProgramDefaultModes();
    ReconfigureController();
}

void ConfigDeviceActions::Restart()
{
    Scope action(*this, Scope::Kind::ControllerOnRoot);
    if (action.Served() && SendPassword(actionStatus_))
        RestartController(action);
}

void ConfigDeviceActions::FactoryReset()
{
    Scope action(*this, Scope::Kind::ControllerOnRoot);
    if (!action.Served())
        return;
    PasswordBuffer empty{};
    if (Command(opSendPassword, empty.data(), int(empty.size()), actionStatus_) != 0) {
        // The controller opens without its password only after half an hour
        // of staying connected; the poller watches the link meanwhile.
        HoldFailureText();
        window_.StartPoller();
        if (!window_.RunResetCountdown()) {
            action.EndKeepingPoller();
            return;
        }
        window_.StopPoller();
    }
    CopyDefaultImage(config_.ConfigImage);
    if (ProgramImage() == 0) {
        ProgramDefaultModes();
        ReconfigureController();
    }
}

// ---- system parameters: the tree and the actions stay as they are

void ConfigDeviceActions::ProgramSystemParameters()
{
    Scope port(*this, Scope::Kind::Port);
    DeviceIdentity identity{};
    if (!Identify(systemStatus_, identity))
        return;
    window_.StoreSelectedPage();
    window_.ShowSelectedPage();
    if (SendPassword(systemStatus_)) {
        SystemParameters &parameters = config_.SystemParameters;
        Transfer(opProgramArea, maSystemParameters, parameters.data(), int(parameters.size()), link_.systemProgress,
                 systemStatus_);
    }
}

void ConfigDeviceActions::ReadSystemParameters()
{
    Scope port(*this, Scope::Kind::Port);
    DeviceIdentity identity{};
    if (!Identify(systemStatus_, identity) || !SendPassword(systemStatus_))
        return;
    window_.StoreSelectedPage();
    SystemParameters &parameters = config_.SystemParameters;
    if (Transfer(opReadArea, maSystemParameters, parameters.data(), int(parameters.size()), link_.systemProgress,
                 systemStatus_) == 0) {
        // Only parameters read from this controller may be written back.
        window_.AllowSystemParameterProgramming();
    }
    window_.ShowSelectedPage();
}

void ConfigDeviceActions::ChoosePort()
{
    Scope port(*this, Scope::Kind::Port);
    window_.RunPortDialog();
}

// ---- clock and control commands

bool ConfigDeviceActions::SetClock(const QString &time)
{
    Scope action(*this, Scope::Kind::Controller);
    if (!action.Served())
        return false;
    std::array<quint8, 6> clock = ClockBytes(time);
    Command(opSetClock, clock.data(), int(clock.size()), commandStatus_);
    ShowCommandResult();
    return true;
}

void ConfigDeviceActions::SetTypedClock(QString &typed)
{
    if (typed.isEmpty())
        return;
    const QString refusal = ClockRefusal(typed);
    if (!refusal.isEmpty()) {
        window_.Warn(refusal, ClockCaption);
        typed.clear();
        return;
    }
    // A controller that could not be served leaves the typed time for another try.
    if (SetClock(typed))
        typed.clear();
}

void ConfigDeviceActions::SendControl(ControlCommand command, quint8 target, quint8 value)
{
    Scope action(*this, Scope::Kind::Controller);
    if (!action.Served() || !SendPassword(actionStatus_))
        return;
    std::array<quint8, 3> bytes{quint8(command), target, value};
    Command(opControl, bytes.data(), int(bytes.size()), commandStatus_);
    ShowCommandResult();
}

void ConfigDeviceActions::CopyImei()
{
    Scope action(*this, Scope::Kind::ControllerOnRoot);
    if (action.Served() && SendPassword(actionStatus_))
        window_.CopyToClipboard(QStringLiteral("IMEI: ") + DecodeIdentity(action.Identity()).imei);
}
