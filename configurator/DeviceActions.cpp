// The window's side of the device actions: the handlers forward to the
// flows, and the window does for them what only it can.
#include "common/Comportconfig.h"
#include "configurator/Main.h"
#include "configurator/Mainpanelcontrol.h"
#include "configurator/dialogs/Clearconfigform.h"
#include "configurator/pages/PageControls.h"
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

namespace {

constexpr int RestartPollInterval = 3000;

quint8 TagOf(const QObject *sender)
{
    return quint8(pagectl::Tag(sender) & 0xFF);
}

} // namespace

void TForm1::CreateDeviceActions()
{
    actionStatus_ = std::make_unique<LabelStatus>(ActionName());
    commandStatus_ = std::make_unique<LabelStatus>(Find<QLabel>(QStringLiteral("TMPLabel")));
    systemStatus_ = std::make_unique<LabelStatus>(Find<QLabel>(QStringLiteral("LabelSysParMsg")));
    imageProgress_ = std::make_unique<ProgressBarView>(Find<QProgressBar>(QStringLiteral("ProgressBar1")));
    systemProgress_ = std::make_unique<ProgressBarView>(Find<QProgressBar>(QStringLiteral("ProgressBarSysPar")));
    const ConfigActionLink link{&ComPort1,           &texts_.StatusMessages, actionStatus_.get(), commandStatus_.get(),
                                systemStatus_.get(), imageProgress_.get(),   systemProgress_.get()};
    deviceActions_ = std::make_unique<ConfigDeviceActions>(link, *this, ControllerConfig);
}

QLabel *TForm1::ActionName() const
{
    return Find<QLabel>(QStringLiteral("ActionName"));
}

void TForm1::PollerIdentified(bool identified)
{
    if (identified)
        deviceActions_->ReleaseFailureText();
    else if (!deviceActions_->FailureTextHeld())
        LabelStatus(ActionName()).ShowStatus(QString(), clBlack);
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
    const auto *box = Find<QCheckBox>(QStringLiteral("CheckBoxClearSaveArea"));
    return box != nullptr && box->isChecked();
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
    if (auto *program = Find<QPushButton>(QStringLiteral("BitBtnProgSysPar")))
        program->setEnabled(true);
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
    if (auto *edit = qobject_cast<TMaskEdit *>(controllerTimeEdit_))
        TypedControllerTime = edit->Text();
    EditingControllerTime = 0;
}

void TForm1::Button3Click()
{
    const auto *pcTime = Find<TMaskEdit>(QStringLiteral("MaskEditPCCurTime"));
    deviceActions_->SetClock(pcTime != nullptr ? pcTime->Text() : QString());
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
    const auto *output = Find<QComboBox>(QStringLiteral("ComboBoxTestOut"));
    const auto *scenario = Find<QComboBox>(QStringLiteral("ComboBoxTestScen"));
    // No output or no scenario chosen: nothing to run.
    if (output == nullptr || scenario == nullptr || output->currentIndex() < 0 || scenario->currentIndex() < 0)
        return;
    deviceActions_->SendControl(ControlCommand::Output, quint8(output->currentIndex()),
                                RunScenario(scenario->currentIndex() + 1));
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
