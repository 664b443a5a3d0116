// The window's device handlers: each stops the poller, identifies the
// controller, runs its workers one after the other while the GUI thread
// waits, and starts a new poller at its end.
#include "configurator/dialogs/Clearconfigform.h"
#include "configurator/core/ConfigFiles.h"
#include "common/Comportconfig.h"
#include "configurator/Main.h"
#include "configurator/Mainpanelcontrol.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageControls.h"
#include "link/Readdata.h"
#include "toolkit/TextRules.h"
#include "toolkit/widgets/WidgetViews.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int RestartPollInterval = 3000;

using PasswordBuffer = std::array<quint8, GeneralFields::SystemPassword.size>;

// The text of SystemPassword up to its first zero byte, at most 8
// characters, then zero bytes: the last byte is always 0.
PasswordBuffer SystemPasswordBuffer(const ConfigImage &image)
{
    PasswordBuffer buffer{};
    const auto field = View(image).Bytes(GeneralFields::SystemPassword);
    for (std::size_t i = 0; i + 1 < buffer.size() && i < field.size() && field[i] != 0; ++i)
        buffer[i] = field[i];
    return buffer;
}

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

// A blank field reads 0.
int FieldValue(const QString &time, const ClockField &field)
{
    return int(std::clamp<qint64>(TypedInteger(QStringView(time).mid(field.position, 2)), 0, 255));
}

// The controller's clock bytes: year, month, day, hour, minute, second.
std::array<quint8, 6> ClockBytes(const QString &time)
{
    std::array<quint8, 6> clock{};
    const ClockField order[] = {Year, Month, Day, Hour, Minute, Second};
    for (std::size_t i = 0; i < clock.size(); ++i)
        clock[i] = quint8(FieldValue(time, order[i]));
    return clock;
}

quint8 TagOf(const QObject *sender)
{
    return quint8(pagectl::Tag(sender) & 0xFF);
}

// The GUI thread waits, serving the worker's reports; 0 on success.
int Run(TReadData &worker, const QStringList &messages)
{
    worker.SetPriority(TThreadPriority::tpNormal);
    worker.SetMessages(&messages);
    worker.Resume();
    return worker.WaitFor();
}

} // namespace

// ---- shared steps

QLabel *TForm1::ActionName() const
{
    return Find<QLabel>(QStringLiteral("ActionName"));
}

int TForm1::RunCommand(std::int8_t operation, void *data, int length, QLabel *status)
{
    LabelStatus view(status);
    TReadData worker(true, operation, data, length, &ComPort1, &view);
    return Run(worker, texts_.StatusMessages);
}

int TForm1::RunTransfer(std::int8_t operation, std::int8_t area, void *data, int length, QProgressBar *bar,
                        QLabel *status)
{
    LabelStatus view(status);
    ProgressBarView progress(bar);
    TReadData worker(true, operation, area, data, length, 0, &ComPort1, &progress, &view);
    return Run(worker, texts_.StatusMessages);
}

bool TForm1::IdentifyController(QLabel *status)
{
    DeviceIdentity identity{};
    if (RunCommand(opIdentify, identity.data(), DeviceIdentitySize, status) != 0) {
        ShowDeviceIdentity(EmptyDeviceIdentity());
        return false;
    }
    ShowDeviceIdentity(identity);
    repaint();
    const QString refusal = UnsupportedDeviceText();
    if (refusal.isEmpty())
        return true;
    // In the colour of the identification's message.
    if (status != nullptr)
        status->setText(refusal);
    return false;
}

bool TForm1::SendSystemPassword(QLabel *status)
{
    PasswordBuffer password = SystemPasswordBuffer(ControllerConfig.ConfigImage);
    return RunCommand(opSendPassword, password.data(), int(password.size()), status) == 0;
}

bool TForm1::BeginDeviceAction(bool selectRoot)
{
    StopPoller();
    failureTextHeld_ = false;
    // Leaving the page stores it.
    if (selectRoot)
        SelectPage(Pages::LiveState);
    DisableDeviceActions();
    repaint();
    if (IdentifyController(ActionName()))
        return true;
    EndDeviceAction();
    return false;
}

void TForm1::EndDeviceAction()
{
    HoldFailureText();
    EnableDeviceActions();
    StartPoller();
}

void TForm1::HoldFailureText()
{
    const QLabel *status = ActionName();
    failureTextHeld_ = status != nullptr && status->palette().color(QPalette::WindowText) == ToQColor(clRed);
}

void TForm1::PollerIdentified(bool identified)
{
    if (identified)
        failureTextHeld_ = false;
    else if (!failureTextHeld_)
        LabelStatus(ActionName()).ShowStatus(QString(), clBlack);
}

// ---- configuration transfers

void TForm1::ReadConfExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(true))
        return;
    if (SendSystemPassword(ActionName())) {
        ::ConfigImage &image = ControllerConfig.ConfigImage;
        RunTransfer(opReadArea, maConfigImage, image.data(), int(image.size()),
                    Find<QProgressBar>(QStringLiteral("ProgressBar1")), ActionName());
        // Also after a failed read: the image kept is judged the same way.
        if (!HasDefaultHeader(image)) {
            CopyDefaultImage(image);
            SetPanelText(0, QLatin1String(WorkingCopyName));
            LabelStatus(ActionName())
                .ShowStatus(QStringLiteral("Контроллер не содержит достоверную конфигурацию.\n"
                                           "Настройте параметры как необходимо и запрограммируйте конфигурацию."),
                            clRed);
        }
    }
    EndDeviceAction();
}

int TForm1::ProgramImage()
{
    ::ConfigImage &image = ControllerConfig.ConfigImage;
    return RunTransfer(opProgramArea, maConfigImage, image.data(), int(image.size()),
                       Find<QProgressBar>(QStringLiteral("ProgressBar1")), ActionName());
}

int TForm1::ProgramDefaultModes()
{
    CopyDefaultModeMemory(ControllerConfig);
    ::ModeMemory &modes = ControllerConfig.ModeMemory;
    return RunTransfer(opProgramArea, maModeMemory, modes.data(), int(modes.size()),
                       Find<QProgressBar>(QStringLiteral("ProgressBar1")), ActionName());
}

bool TForm1::ClearModesAsked() const
{
    const auto *box = Find<QCheckBox>(QStringLiteral("CheckBoxClearSaveArea"));
    return box != nullptr && box->isChecked();
}

void TForm1::RestartController()
{
    quint8 none = 0;
    RunCommand(opRestart, &none, 1, ActionName());
    HoldFailureText();
    ShowDeviceIdentity(EmptyDeviceIdentity());
    // The poller and the actions come back when the controller has restarted.
    Timer2->setInterval(RestartPollInterval);
    Timer2->start();
}

void TForm1::ReconfigureController()
{
    quint8 none = 0;
    RunCommand(opReconfigure, &none, 1, Find<QLabel>(QStringLiteral("TMPLabel")));
}

void TForm1::ProgrammExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(true))
        return;
    int result = SendSystemPassword(ActionName()) ? ProgramImage() : 1;
    if (result == 0 && ClearModesAsked())
        result = ProgramDefaultModes();
    if (result != 0) {
        EndDeviceAction();
        return;
    }
    RestartController();
}

void TForm1::CompareConfExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(true))
        return;
    ::ConfigImage &image = ControllerConfig.ConfigImage;
    RunTransfer(opCompareArea, maConfigImage, image.data(), int(image.size()),
                Find<QProgressBar>(QStringLiteral("ProgressBar1")), ActionName());
    EndDeviceAction();
}

void TForm1::ReconfigurateExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(true))
        return;
    if (SendSystemPassword(ActionName()) && ProgramImage() == 0) {
        if (ClearModesAsked())
            ProgramDefaultModes();
        ReconfigureController();
    }
    EndDeviceAction();
}

void TForm1::ResetExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(true))
        return;
    if (SendSystemPassword(ActionName()))
        RestartController();
    else
        EndDeviceAction();
}

void TForm1::FactoryConfigExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(true))
        return;
    PasswordBuffer empty{};
    if (RunCommand(opSendPassword, empty.data(), int(empty.size()), ActionName()) != 0) {
        // The controller opens without its password only after half an hour
        // of staying connected; the poller watches the link meanwhile.
        HoldFailureText();
        StartPoller();
        TFormClearConfig countdown(
            [this] { return PanelThread != nullptr && PanelThread->DeviceOnline.load() == 0; }, this);
        countdown.exec();
        if (countdown.CountdownDone == 0) {
            EnableDeviceActions();
            return;
        }
        StopPoller();
    }
    CopyDefaultImage(ControllerConfig.ConfigImage);
    if (ProgramImage() == 0) {
        ProgramDefaultModes();
        ReconfigureController();
    }
    EndDeviceAction();
}

// ---- system parameters: the tree and the actions stay as they are

void TForm1::BitBtnProgSysParClick()
{
    const QScopedValueRollback running(actionRunning_, true);
    StopPoller();
    QLabel *status = Find<QLabel>(QStringLiteral("LabelSysParMsg"));
    if (IdentifyController(status)) {
        const int page = CurrentPage();
        StorePage(page);
        ShowPage(page);
        if (SendSystemPassword(status)) {
            ::SystemParameters &parameters = ControllerConfig.SystemParameters;
            RunTransfer(opProgramArea, maSystemParameters, parameters.data(), int(parameters.size()),
                        Find<QProgressBar>(QStringLiteral("ProgressBarSysPar")), status);
        }
    }
    StartPoller();
}

void TForm1::BitBtnReadSysParClick()
{
    const QScopedValueRollback running(actionRunning_, true);
    StopPoller();
    QLabel *status = Find<QLabel>(QStringLiteral("LabelSysParMsg"));
    if (IdentifyController(status) && SendSystemPassword(status)) {
        const int page = CurrentPage();
        StorePage(page);
        ::SystemParameters &parameters = ControllerConfig.SystemParameters;
        if (RunTransfer(opReadArea, maSystemParameters, parameters.data(), int(parameters.size()),
                        Find<QProgressBar>(QStringLiteral("ProgressBarSysPar")), status) == 0) {
            // Only parameters read from this controller may be written back.
            if (auto *program = Find<QPushButton>(QStringLiteral("BitBtnProgSysPar")))
                program->setEnabled(true);
        }
        ShowPage(page);
    }
    StartPoller();
}

void TForm1::ComPortConfigExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    StopPoller();
    {
        TFormCOMPortConfig dialog(ComPort1, [this](const QString &text) { SetPanelText(1, text); }, this);
        dialog.setWindowTitle(texts_.PortDialogCaption);
        dialog.FailureText = texts_.PortOpenFailureText;
        dialog.exec();
    }
    StartPoller();
}

// ---- clock and control commands

void TForm1::MaskEditContrCurTimeEnter()
{
    EditingControllerTime = 1;
}

void TForm1::MaskEditContrCurTimeExit()
{
    if (auto *edit = qobject_cast<TMaskEdit *>(controllerTimeEdit_))
        TypedControllerTime = edit->Text();
    EditingControllerTime = 0;
}

bool TForm1::SetControllerClock(const QString &time)
{
    if (!BeginDeviceAction(false))
        return false;
    std::array<quint8, 6> clock = ClockBytes(time);
    RunCommand(opSetClock, clock.data(), int(clock.size()), Find<QLabel>(QStringLiteral("TMPLabel")));
    ShowTmpLabelInPanel3();
    EndDeviceAction();
    return true;
}

void TForm1::Button3Click()
{
    const QScopedValueRollback running(actionRunning_, true);
    // The PC time the poller last wrote, not a fresh reading of the clock.
    const auto *pcTime = Find<TMaskEdit>(QStringLiteral("MaskEditPCCurTime"));
    SetControllerClock(pcTime != nullptr ? pcTime->Text() : QString());
}

// The press has moved the focus out of the time field first, so its exit
// handler has taken the typed time.
void TForm1::Button2MouseDown()
{
    if (TypedControllerTime.isEmpty())
        return;
    for (const ClockField &field : CheckedClockFields) {
        if (FieldValue(TypedControllerTime, field) > field.max) {
            MessageBox(this, QString::fromUtf8(field.refusal), QStringLiteral("Установка времени и даты"),
                       MB_OK | MB_ICONWARNING);
            TypedControllerTime.clear();
            return;
        }
    }
    const QScopedValueRollback running(actionRunning_, true);
    // A controller that could not be served leaves the typed time for another try.
    if (SetControllerClock(TypedControllerTime))
        TypedControllerTime.clear();
}

void TForm1::SendControlCommand(quint8 kind, quint8 target, quint8 value)
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(false))
        return;
    if (SendSystemPassword(ActionName())) {
        std::array<quint8, 3> command{kind, target, value};
        RunCommand(opControl, command.data(), int(command.size()), Find<QLabel>(QStringLiteral("TMPLabel")));
        ShowTmpLabelInPanel3();
    }
    EndDeviceAction();
}

void TForm1::Button4Click(QObject *Sender)
{
    SendControlCommand(2, TagOf(Sender), 1);
}

void TForm1::Button5Click(QObject *Sender)
{
    SendControlCommand(2, TagOf(Sender), 2);
}

void TForm1::Button18Click()
{
    SendControlCommand(0, 0, 0);
}

void TForm1::Button19Click()
{
    SendControlCommand(1, 0, 0);
}

void TForm1::Button20Click()
{
    const auto *output = Find<QComboBox>(QStringLiteral("ComboBoxTestOut"));
    const auto *scenario = Find<QComboBox>(QStringLiteral("ComboBoxTestScen"));
    // No output or no scenario chosen: nothing to run.
    if (output == nullptr || scenario == nullptr || output->currentIndex() < 0 || scenario->currentIndex() < 0)
        return;
    SendControlCommand(2, quint8(output->currentIndex()), quint8(scenario->currentIndex() + 3));
}

void TForm1::Button22Click()
{
    SendControlCommand(3, 0, 0);
}

void TForm1::Button25Click(QObject *Sender)
{
    SendControlCommand(4, TagOf(Sender), 0);
}

void TForm1::ReadIMEICodeExecute()
{
    const QScopedValueRollback running(actionRunning_, true);
    if (!BeginDeviceAction(true))
        return;
    if (SendSystemPassword(ActionName())) {
        const QLabel *imei = Find<QLabel>(QStringLiteral("iGSMIMEILabel"));
        QGuiApplication::clipboard()->setText(QStringLiteral("IMEI: ") + (imei != nullptr ? imei->text() : QString()));
    }
    EndDeviceAction();
}
