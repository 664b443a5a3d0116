// The window's side of the device actions and of the poller: the handlers
// forward to the flows, and the window does for them what only it can.
#include "common/Comportconfig.h"
#include "configurator/Main.h"
#include "configurator/Mainpanelcontrol.h"
#include "configurator/dialogs/Clearconfigform.h"
#include "configurator/pages/PageArmIn.h"
#include "configurator/pages/PageClock.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/PageInput.h"
#include "configurator/pages/PageLiveState.h"
#include "configurator/pages/PagePower.h"
#include "configurator/pages/PageSystem.h"
#include "toolkit/widgets/MaskEdit.h"
#include "toolkit/widgets/WidgetViews.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int RestartPollInterval = 3000;

const QString PasswordRefusedText =
    QStringLiteral("Взаимодействие запрещено без указания пароля, программа не сможет получить код ключа");

quint8 TagOf(const QObject *sender)
{
    return quint8(pagectl::Tag(sender) & 0xFF);
}

// The bar keeps its range: a value beyond it shows as the nearest end.
void SetBarPosition(QProgressBar *bar, int value)
{
    if (bar != nullptr)
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

// ---- the poller's pages; a page the window lacks is null

void ShowRootState(PageLiveState *live, PagePower *power, const LiveState &state, const QStringList &gsmStates)
{
    if (live != nullptr) {
        live->ShowSignalQuality(state.signalQuality);
        live->LabelGSMState->setText(gsmStates.value(state.gsmState));
        live->ShowArmState(state.armState);
        live->ShowLedMask(state.ledMask);
        live->ShowOutputMask(state.outputMask);
        live->ShowBalance(state.balanceValid, state.balance);
    }
    if (power != nullptr)
        power->ShowModemTemperature(state.temperature, state.temperatureValid);
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
void ShowPowerState(PagePower *power, const LiveState *state)
{
    if (power == nullptr)
        return;
    if (state == nullptr) {
        power->ShowBatteryState(0);
        power->ShowMainPower(0);
        return;
    }
    power->ShowBatteryState(state->battery);
    power->ShowMainPower(state->mainPower);
    power->ShowModemTemperature(state->temperature, state->temperatureValid);
}

void ShowInputValue(PageInput *input, int value)
{
    if (input == nullptr)
        return;
    SetBarPosition(input->ProgressBarCurrentVal, value);
    input->UpdateSensorPage();
    input->UpdateCurrentValueColour();
}

} // namespace

// Stand-in pages (tests) have none of these controls.
void TForm1::CreateDeviceActions()
{
    const PageLiveState *live = Page<PageLiveState>();
    const PageSystem *system = Page<PageSystem>();
    actionStatus_ = std::make_unique<LabelStatus>(ActionName());
    commandStatus_ = std::make_unique<LabelStatus>(live != nullptr ? live->TMPLabel : nullptr);
    systemStatus_ = std::make_unique<LabelStatus>(system != nullptr ? system->LabelSysParMsg : nullptr);
    imageProgress_ = std::make_unique<ProgressBarView>(live != nullptr ? live->ProgressBar1 : nullptr);
    systemProgress_ = std::make_unique<ProgressBarView>(system != nullptr ? system->ProgressBarSysPar : nullptr);
    const ConfigActionLink link{&ComPort1,           &texts_.StatusMessages, actionStatus_.get(), commandStatus_.get(),
                                systemStatus_.get(), imageProgress_.get(),   systemProgress_.get()};
    deviceActions_ = std::make_unique<ConfigDeviceActions>(link, *this, ControllerConfig);
}

QLabel *TForm1::ActionName() const
{
    const PageLiveState *live = Page<PageLiveState>();
    return live != nullptr ? live->ActionName : nullptr;
}

// ---- what the poller hands the window

void TForm1::ShowPollerStatus(const QString &text, TColor colour)
{
    const PageLiveState *live = Page<PageLiveState>();
    if (live != nullptr)
        ShowLabelStatus(live->TMPLabel, text, colour);
}

QString TForm1::PollerStatusText() const
{
    const PageLiveState *live = Page<PageLiveState>();
    return live != nullptr ? live->TMPLabel->text() : QString();
}

void TForm1::PollerIdentified(bool identified, const QString &refusal)
{
    if (identified)
        deviceActions_->ReleaseFailureText();
    else if (!deviceActions_->FailureTextHeld())
        LabelStatus(ActionName()).ShowStatus(QString(), clBlack);
    if (!refusal.isEmpty())
        LabelStatus(ActionName()).ShowStatus(refusal, clRed);
}

bool TForm1::EditingClock() const
{
    return EditingControllerTime != 0;
}

void TForm1::ShowPcTime(const QString &time)
{
    if (PageClock *clock = Page<PageClock>())
        clock->MaskEditPCCurTime->setText(time);
}

void TForm1::ShowLiveState(int page, const LiveState *state)
{
    if (page == Pages::LiveState) {
        if (state != nullptr)
            ShowRootState(Page<PageLiveState>(), Page<PagePower>(), *state, texts_.GsmStateTexts);
        else
            ShowRootStateLost(Page<PageLiveState>());
    } else if (page == Pages::Clock) {
        // The user may have begun to edit the time since the poller looked.
        PageClock *clock = Page<PageClock>();
        if (state != nullptr && clock != nullptr && !EditingClock())
            clock->MaskEditContrCurTime->SetText(state->clock);
    } else if (page == Pages::Power) {
        ShowPowerState(Page<PagePower>(), state);
    } else {
        ShowInputValue(Page<PageInput>(), state != nullptr ? state->ShownInput(page - Pages::FirstInput) : 0);
    }
}

void TForm1::ShowKeyUnlocked(bool unlocked)
{
    PageArmIn *armIn = Page<PageArmIn>();
    if (armIn == nullptr)
        return;
    armIn->MarkKeyRead(false);
    if (!unlocked)
        armIn->LabelTouchActionDiscription->setText(PasswordRefusedText);
}

void TForm1::ShowTouchKey(const TouchKeyRead &key)
{
    PageArmIn *armIn = Page<PageArmIn>();
    if (armIn == nullptr)
        return;
    if (!key.read) {
        armIn->MarkKeyRead(false);
        return;
    }
    armIn->LabelTouchActionDiscription->clear();
    armIn->MarkKeyRead(true);
    armIn->LearnTouchKey(key.code);
}

// ---- what the device actions ask of the window

bool TForm1::PollerLostController() const
{
    return PanelThread != nullptr && PanelThread->DeviceOnline.load() == 0;
}

void TForm1::SetDeviceActionsEnabled(bool enabled)
{
    for (QAction *action : DeviceActions())
        action->setEnabled(enabled);
}

void TForm1::SelectRootPage()
{
    SelectPage(Pages::LiveState);
}

void TForm1::StoreSelectedPage()
{
    StorePage(CurrentPage());
}

void TForm1::ShowSelectedPage()
{
    ShowPage(CurrentPage());
}

void TForm1::Repaint()
{
    repaint();
}

bool TForm1::ClearModesAsked() const
{
    const PageLiveState *live = Page<PageLiveState>();
    return live != nullptr && live->CheckBoxClearSaveArea->isChecked();
}

void TForm1::WaitForRestart()
{
    Timer2->setInterval(RestartPollInterval);
    Timer2->start();
}

bool TForm1::RunResetCountdown()
{
    TFormClearConfig countdown([this] { return PollerLostController(); }, this);
    countdown.exec();
    return countdown.CountdownDone != 0;
}

void TForm1::AllowSystemParameterProgramming()
{
    if (PageSystem *system = Page<PageSystem>())
        system->BitBtnProgSysPar->setEnabled(true);
}

void TForm1::RunPortDialog()
{
    TFormCOMPortConfig dialog(ComPort1, [this](const QString &text) { SetPanelText(PortPanel, text); }, this);
    dialog.setWindowTitle(texts_.PortDialogCaption);
    dialog.FailureText = texts_.PortOpenFailureText;
    dialog.exec();
}

void TForm1::CopyToClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void TForm1::Warn(const QString &text, const QString &caption)
{
    MessageBox(this, text, caption, MB_OK | MB_ICONWARNING);
}

// ---- handlers

void TForm1::ReadConfExecute()
{
    deviceActions_->ReadConfiguration();
}

void TForm1::ProgrammExecute()
{
    deviceActions_->ProgramConfiguration();
}

void TForm1::CompareConfExecute()
{
    deviceActions_->CompareConfiguration();
}

void TForm1::ReconfigurateExecute()
{
    deviceActions_->Reconfigure();
}

void TForm1::ResetExecute()
{
    deviceActions_->Restart();
}

void TForm1::FactoryConfigExecute()
{
    deviceActions_->FactoryReset();
}

void TForm1::BitBtnProgSysParClick()
{
    deviceActions_->ProgramSystemParameters();
}

void TForm1::BitBtnReadSysParClick()
{
    deviceActions_->ReadSystemParameters();
}

void TForm1::ComPortConfigExecute()
{
    deviceActions_->ChoosePort();
}

void TForm1::MaskEditContrCurTimeEnter()
{
    EditingControllerTime = 1;
}

void TForm1::MaskEditContrCurTimeExit()
{
    if (controllerTimeEdit_ != nullptr)
        TypedControllerTime = controllerTimeEdit_->Text();
    EditingControllerTime = 0;
}

void TForm1::Button3Click()
{
    const PageClock *clock = Page<PageClock>();
    deviceActions_->SetClock(clock != nullptr ? clock->MaskEditPCCurTime->Text() : QString());
}

// The press has moved the focus out of the time field first, so its exit
// handler has taken the typed time.
void TForm1::Button2MouseDown()
{
    deviceActions_->SetTypedClock(TypedControllerTime);
}

void TForm1::Button4Click(QObject *Sender)
{
    deviceActions_->SendControl(ControlCommand::Output, TagOf(Sender), oaSwitchOn);
}

void TForm1::Button5Click(QObject *Sender)
{
    deviceActions_->SendControl(ControlCommand::Output, TagOf(Sender), oaSwitchOff);
}

void TForm1::Button18Click()
{
    deviceActions_->SendControl(ControlCommand::ArmMode, 0, 0);
}

void TForm1::Button19Click()
{
    deviceActions_->SendControl(ControlCommand::WatchMode, 0, 0);
}

void TForm1::Button20Click()
{
    const PageLiveState *live = Page<PageLiveState>();
    if (live == nullptr)
        return;
    const int output = live->ComboBoxTestOut->currentIndex();
    const int scenario = live->ComboBoxTestScen->currentIndex();
    // No output or no scenario chosen: nothing to run.
    if (output < 0 || scenario < 0)
        return;
    deviceActions_->SendControl(ControlCommand::Output, quint8(output), RunScenario(scenario + 1));
}

void TForm1::Button22Click()
{
    deviceActions_->SendControl(ControlCommand::ProtectMode, 0, 0);
}

void TForm1::Button25Click(QObject *Sender)
{
    deviceActions_->SendControl(ControlCommand::SimulateInput, TagOf(Sender), 0);
}

void TForm1::ReadIMEICodeExecute()
{
    deviceActions_->CopyImei();
}
