#pragma once
// The configurator's device actions: each stops the poller, identifies the
// controller, runs its workers one after the other while the calling (GUI)
// thread waits, and starts a new poller at its end. What the window shows or
// asks around the workers it does through ConfigActionWindow.
#include "configurator/core/Configuration.h"
#include "configurator/core/ImageLayout.h"
#include "link/DeviceIdentity.h"
#include "toolkit/StatusView.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

class TCustomComPort;

// Status-bar panels of the main window.
enum StatusPanel : int { FilePanel = 0, PortPanel = 1, VersionPanel = 2, ResultPanel = 3 };

// The first byte of a control command.
enum class ControlCommand : quint8 {
    ArmMode = 0,       // "Охрана"
    WatchMode = 1,     // "Наблюдение"
    Output = 2,        // an OutputAction on one output
    ProtectMode = 3,   // "Защита"
    SimulateInput = 4, // an input activated
};

// The 9 bytes sent as the system password: SystemPassword up to its first
// zero byte, at most 8 characters, then zero bytes.
using PasswordBuffer = std::array<quint8, GeneralFields::SystemPassword.size>;
PasswordBuffer SystemPasswordBuffer(const ConfigImage &image);

// A typed controller time "dd.mm.yy hh:mm:ss": the first field out of range,
// as the refusal the user is shown; empty when it may be sent.
QString ClockRefusal(const QString &time);
// The controller's clock bytes: year, month, day, hour, minute, second; a
// blank field is 0.
std::array<quint8, 6> ClockBytes(const QString &time);

// What a device action needs of the main window between its workers.
class ConfigActionWindow {
public:
    virtual ~ConfigActionWindow() = default;
    // The polling thread: stopped and waited for; started unless one runs.
    virtual void StopPoller() = 0;
    virtual void StartPoller() = 0;
    // The running poller finds no controller: the factory reset's countdown ends.
    virtual bool PollerLostController() const = 0;
    // The ten device and file actions.
    virtual void SetDeviceActionsEnabled(bool enabled) = 0;
    // The root page comes to the front; leaving the page shown stores it.
    virtual void SelectRootPage() = 0;
    // The page selected: its controls into the configuration, and back.
    virtual void StoreSelectedPage() = 0;
    virtual void ShowSelectedPage() = 0;
    // The window shows at once what changed before the next worker's wait.
    virtual void Repaint() = 0;
    // The identity labels and the version panel.
    virtual void ShowDeviceIdentity(const DeviceIdentity &identity) = 0;
    // panel: a StatusPanel.
    virtual void SetPanelText(int panel, const QString &text) = 0;
    // "При программировании очистить память режимов" is checked.
    virtual bool ClearModesAsked() const = 0;
    // The poller and the actions come back once the controller has restarted.
    virtual void WaitForRestart() = 0;
    // The factory reset's half-hour countdown, modal; true when it ran out
    // with the controller reachable.
    virtual bool RunResetCountdown() = 0;
    // System parameters read from this controller may be written back.
    virtual void AllowSystemParameterProgramming() = 0;
    virtual void RunPortDialog() = 0;
    virtual void CopyToClipboard(const QString &text) = 0;
    virtual void Warn(const QString &text, const QString &caption) = 0;
};

// Where the workers report, and with what texts.
struct ConfigActionLink {
    TCustomComPort *port = nullptr;
    const QStringList *messages = nullptr;
    IStatusLabel *actionStatus = nullptr;  // ActionName
    IStatusLabel *commandStatus = nullptr; // TMPLabel
    IStatusLabel *systemStatus = nullptr;  // LabelSysParMsg
    IProgressBar *imageProgress = nullptr; // the root page's progress bar
    IProgressBar *systemProgress = nullptr;
};

class ConfigDeviceActions {
public:
    ConfigDeviceActions(const ConfigActionLink &link, ConfigActionWindow &window, ControllerConfig &config);

    // From the start to the end of an action.
    bool Running() const { return running_; }
    // The red text of the last action's failure stays in ActionName until the
    // next action starts or the poller finds the controller again.
    bool FailureTextHeld() const { return failureHeld_; }
    void ReleaseFailureText() { failureHeld_ = false; }

    void ReadConfiguration();
    void ProgramConfiguration();
    void CompareConfiguration();
    void Reconfigure();
    void Restart();
    void FactoryReset();
    void ProgramSystemParameters();
    void ReadSystemParameters();
    void ChoosePort();
    // The clock from a time text (the PC time as the poller last wrote it);
    // false when the controller was not served.
    bool SetClock(const QString &time);
    // The time the user typed: checked first; emptied once it was sent or refused.
    void SetTypedClock(QString &typed);
    void SendControl(ControlCommand command, quint8 target, quint8 value);
    void CopyImei();

private:
    class Scope;

    // Remembers what it was told last, and passes it on.
    class RecordedStatus : public IStatusLabel {
    public:
        explicit RecordedStatus(IStatusLabel *shown) : shown_(shown) {}
        void ShowStatus(const QString &text, TColor colour) override;
        QString Text() const;
        TColor Colour() const;

    private:
        IStatusLabel *const shown_;
        mutable std::mutex mutex_;
        QString text_;
        TColor colour_ = clBlack;
    };

    // The identity shown; false, its reason shown in status, when the
    // controller did not answer or is not served.
    bool Identify(IStatusLabel &status, DeviceIdentity &identity);
    bool SendPassword(IStatusLabel &status);
    int Command(std::int8_t operation, void *data, int length, IStatusLabel &status);
    int Transfer(std::int8_t operation, std::int8_t area, void *data, int length, IProgressBar *progress,
                 IStatusLabel &status);
    // Panel 3 := the command worker's last text.
    void ShowCommandResult();
    int ProgramImage();
    // The default mode memory, into the configuration and the controller.
    int ProgramDefaultModes();
    void ReconfigureController();
    // The action ends with the actions locked: the window brings them back.
    void RestartController(Scope &action);
    void HoldFailureText();

    const ConfigActionLink link_;
    ConfigActionWindow &window_;
    ControllerConfig &config_;
    RecordedStatus actionStatus_;
    RecordedStatus commandStatus_;
    RecordedStatus systemStatus_;
    bool running_ = false;
    bool failureHeld_ = false;
};
