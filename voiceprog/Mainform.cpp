#include "voiceprog/Mainform.h"
#include "voiceprog/VoiceAboutbox.h"
#include "common/Comportconfig.h"
#include "toolkit/ExceptionReport.h"
#include "toolkit/GuiQueue.h"
#include "common/IdentityDisplay.h"
#include "common/PortProbe.h"
#include "common/ProgramStart.h"
#include "link/Readdata.h"
#include "common/StatusPanels.h"
#include "toolkit/TextRules.h"
#include "voiceprog/core/VoiceFiles.h"
#include "voiceprog/core/VoiceProgrammerPort.h"
#include "voiceprog/VoiceLanguage.h"
#include "voiceprog/core/WavImport.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

const QString VoiceFileDialogFilter = QStringLiteral("Файлы голосовых сообщений (*.vce)|*.vce");
const QString OpenVoiceFileCaption = QStringLiteral("Открытие файла голосовых сообщений");
const QString SaveVoiceFileCaption = QStringLiteral("Сохранение файла голосовых сообщений");


// The seconds a number of samples lasts, as the window shows them.
QString Seconds(std::uint32_t samples)
{
    return FormatGeneral(double(samples) * 0.000125, 4, 2, QLocale::system().decimalPoint());
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    BuildActions();
    BuildMenu();
    BuildToolBar();
    BuildForm();
    actionStatus_ = std::make_unique<LabelStatus>(ActionName);
    transferProgress_ = std::make_unique<ProgressBarView>(ProgressBar2);
    SetUpPort();
    SetUpDialogs();

    setWindowTitle(QStringLiteral("Программатор голосовых сообщений QRV610"));
    ComboBoxEvents->clear();
    ComboBoxEvents->addItems(BuiltInVoiceEvents());
    Texts = VoiceTexts::Defaults();
    FillStatusMessages(&StatusMessages);
    ApplyLanguageFile();
    ComboBoxEvents->setCurrentIndex(0);
    RefreshMemoryView();

    ConnectHandlers();
    FormCreate();
    // The window opens with the keys on the event list.
    ComboBoxEvents->setFocus();
}

TForm1::~TForm1()
{
    // The port goes after the window's later members: its close must not call back.
    ComPort1.OnAfterOpen = nullptr;
    ComPort1.OnAfterClose = nullptr;
}

void TForm1::SetUpPort()
{
    SetVoiceProgrammerPortSettings(ComPort1);
    ComPort1.SetEvents(TComEvents::All());
    ComPort1.SetPort(QStringLiteral("COM1"));
    ComPort1.OnAfterOpen = [this](TCustomComPort *sender) { ComPort1AfterOpen(sender); };
    ComPort1.OnAfterClose = [this](TCustomComPort *sender) { ComPort1AfterClose(sender); };
}

void TForm1::SetUpDialogs()
{
    OpenDialog1.Title = QStringLiteral("Открытие файла");
    OpenDialog1.Filter = QStringLiteral("Звуковые файлы (*.wav)|*.wav");
    OpenDialog1.DefaultExt = QStringLiteral("wav");
    OpenDialog1.FileMustExist = true;

    OpenDialog2.Title = OpenVoiceFileCaption;
    OpenDialog2.Filter = VoiceFileDialogFilter;
    OpenDialog2.DefaultExt = QStringLiteral("vce");
    OpenDialog2.PathMustExist = true;
    OpenDialog2.FileMustExist = true;

    SaveDialog1.Title = SaveVoiceFileCaption;
    SaveDialog1.Filter = VoiceFileDialogFilter;
    SaveDialog1.DefaultExt = QStringLiteral("vce");
    SaveDialog1.PathMustExist = true;
}

// An exception out of a handler goes to TApplication's report.
void TForm1::ConnectHandlers()
{
    connect(ComboBoxEvents, &QComboBox::currentIndexChanged, this, &TForm1::ComboBoxEventsChange);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(N7, &QAction::triggered, this, &TForm1::N7Click);
    connect(FileNew1, &QAction::triggered, this, &TForm1::FileNew1Execute);
    connect(FileOpen1, &QAction::triggered, this, &TForm1::FileOpen1Execute);
    connect(FileSave1, &QAction::triggered, this, &TForm1::FileSave1Execute);
    connect(Programm, &QAction::triggered, this, &TForm1::ProgrammExecute);
    connect(ReadConf, &QAction::triggered, this, &TForm1::ReadConfExecute);
    connect(CompareConf, &QAction::triggered, this, &TForm1::CompareConfExecute);
    connect(ComPortConfig, &QAction::triggered, this, &TForm1::ComPortConfigExecute);
    connect(Abaut, &QAction::triggered, this, &TForm1::AbautExecute);
}

void TForm1::ApplyLanguageFile()
{
    ApplyVoiceLanguageFile(*this, Texts, StatusMessages);
}

void TForm1::FormCreate()
{
    WorkingDirectory = DirectoryPrefix(QDir::currentPath());
    OpenDialog2.InitialDir = WorkingDirectory;

    QString port = ComPort1.Port();
    if (LoadVoiceSettings(WorkingDirectory + QLatin1String(VoiceSettingsFileName), port) != frOk)
        port = QStringLiteral("COM2");
    ComPort1.SetPort(port);
    if (LoadVoiceFile(WorkingDirectory + QLatin1String(VoiceWorkingCopyName), bank_.Image()) == frOk) {
        bank_.ParseImage();
    } else {
        bank_.ClearAll();
        bank_.BuildImage();
    }
    RefreshMemoryView();
    SetStatusPanel(FilePanel, QLatin1String(VoiceWorkingCopyName));

    SetStatusPanel(PortPanel, QLatin1String(NotConnectedText));
    const bool opened = ProbePort(ComPort1, CloseFailure::Reported);
    SetStatusPanel(PortPanel, opened ? ComPort1.Port() : QLatin1String(NotConnectedText));
}

void TForm1::FormClose()
{
    // Failures here are silent: the window closes whatever happens.
    SaveVoiceSettings(WorkingDirectory + QLatin1String(VoiceSettingsFileName), ComPort1.Port());
    bank_.BuildImage();
    SaveVoiceFile(WorkingDirectory + QLatin1String(VoiceWorkingCopyName), bank_.Image());
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // A running action's worker uses the port, the bank and the controls: the
    // close waits for the action's end and is carried out then.
    if (actionRunning_) {
        closeAfterAction_ = true;
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::showEvent(QShowEvent *event)
{
    if (!centred_) {
        centred_ = true;
        if (QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QMainWindow::showEvent(event);
    // The event list shows that it holds the keys as it would after a Tab:
    // the first Tab goes on from it to "Открыть".
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void TForm1::RefreshMemoryView()
{
    const std::uint32_t count = bank_.SampleCount(SelectedEvent());
    const QString seconds = QLatin1Char(' ') + Texts.SecondsWord;
    EditFragmentTime->setText(Seconds(count) + seconds);
    ProgressBar1->setMaximum(int(VoiceCapacity));
    ProgressBar1->setValue(int(bank_.UsedSamples()));
    // setValue leaves a step of less than a few pixels unpainted; the gauge
    // shows what the label says.
    ProgressBar1->update();
    Label3->setText(Texts.UsedWord + QStringLiteral(": ") + Seconds(bank_.UsedSamples()) + seconds
                    + QStringLiteral("    ") + Texts.FreeWord + QStringLiteral(": ") + Seconds(bank_.FreeSamples())
                    + seconds);
}

std::uint8_t TForm1::SelectedEvent() const
{
    // The list always has an item selected.
    return std::uint8_t(std::max(0, ComboBoxEvents->currentIndex()));
}

void TForm1::ComboBoxEventsChange()
{
    RefreshMemoryView();
}

void TForm1::ShowMessage(const QString &text, const QString &caption)
{
    MessageBox(this, text, caption, MB_OK | MB_ICONWARNING);
}

void TForm1::BitBtn1Click()
{
    if (!OpenDialog1.Execute(this))
        return;
    const WavImportResult result = WavImport(OpenDialog1.FileName, bank_, SelectedEvent(), [this] {
        const VoiceMessageText notice = WavTruncationMessage();
        ShowMessage(notice.text, notice.caption);
    });
    // Also after a full memory, which has emptied the slot already.
    RefreshMemoryView();
    if (result != WavImportResult::Imported) {
        const VoiceMessageText message = WavImportMessage(result);
        ShowMessage(message.text, message.caption);
    }
}

void TForm1::BitBtn2Click()
{
    bank_.ClearSlot(SelectedEvent());
    RefreshMemoryView();
}

void TForm1::N7Click()
{
    close();
}

void TForm1::ComPortConfigExecute()
{
    TFormCOMPortSetup dialog(ComPort1, [this](const QString &text) { SetStatusPanel(PortPanel, text); }, this);
    dialog.setWindowTitle(Texts.PortDialogCaption);
    dialog.FailureText = Texts.PortOpenFailureText;
    dialog.exec();
}

void TForm1::AbautExecute()
{
    TAboutBox box(this);
    box.setWindowTitle(Texts.AboutCaption);
    box.exec();
}

void TForm1::ComPort1AfterOpen(TCustomComPort *sender)
{
    if (sender->Connected())
        SetStatusPanel(PortPanel, QLatin1Char('<') + sender->Port() + QLatin1Char('>'));
    sender->SetDTR(true);
    sender->SetRTS(true);
}

void TForm1::ComPort1AfterClose(TCustomComPort *sender)
{
    SetStatusPanel(PortPanel, sender->Port());
}

void TForm1::FileNew1Execute()
{
    ComboBoxEvents->setCurrentIndex(0);
    bank_.ClearAll();
    bank_.BuildImage();
    RefreshMemoryView();
}

void TForm1::FileOpen1Execute()
{
    if (!OpenDialog2.Execute(this))
        return;
    switch (LoadVoiceFile(OpenDialog2.FileName, bank_.Image())) {
    case frOk:
        bank_.ParseImage();
        RefreshMemoryView();
        SetStatusPanel(FilePanel, OpenDialog2.FileName);
        break;
    case frFormatError:
        ShowMessage(QStringLiteral("Неизвестный формат файла"), OpenVoiceFileCaption);
        break;
    default:
        ShowMessage(QStringLiteral("Невозможно открыть файл"), OpenVoiceFileCaption);
        break;
    }
}

void TForm1::FileSave1Execute()
{
    SaveDialog1.FileName = StatusPanel(FilePanel);
    bank_.BuildImage();
    if (!SaveDialog1.Execute(this))
        return;
    if (QFileInfo::exists(SaveDialog1.FileName)
        && MessageBox(this, QStringLiteral("Файл уже существует, заменить?"), SaveVoiceFileCaption,
                      MB_YESNO | MB_ICONWARNING)
               == IDNO)
        return;
    if (SaveVoiceFile(SaveDialog1.FileName, bank_.Image()) != frOk)
        ShowMessage(QStringLiteral("Невозможно сохранить файл"), SaveVoiceFileCaption);
    else
        SetStatusPanel(FilePanel, SaveDialog1.FileName);
}

void TForm1::ProgrammExecute()
{
    RunDeviceAction(VoiceDeviceAction::Program);
}

void TForm1::ReadConfExecute()
{
    RunDeviceAction(VoiceDeviceAction::Read);
}

void TForm1::CompareConfExecute()
{
    RunDeviceAction(VoiceDeviceAction::Compare);
}

void TForm1::RunDeviceAction(VoiceDeviceAction action)
{
    if (actionRunning_)
        return;
    actionRunning_ = true;
    DisableDeviceActions();
    repaint();
    const VoiceActionLink link{&ComPort1, actionStatus_.get(), transferProgress_.get(), &StatusMessages};
    const VoiceActionView view{
        [this](const DeviceIdentity &identity) {
            ShowDeviceIdentity(this, identity, [this](const QString &text) { SetStatusPanel(VersionPanel, text); });
            return StatusPanel(VersionPanel);
        },
        [this] { repaint(); }};
    try {
        if (RunVoiceDeviceAction(action, bank_, SupportedVersions(), link, view) && action == VoiceDeviceAction::Read)
            RefreshMemoryView();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
    EnableDeviceActions();
    actionRunning_ = false;
    if (closeAfterAction_) {
        closeAfterAction_ = false;
        QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
    }
}

void TForm1::SetDeviceActionsEnabled(bool enabled)
{
    for (QAction *action : {Programm, ReadConf, CompareConf, FileOpen1, FileSave1, FileNew1, ComPortConfig})
        action->setEnabled(enabled);
    for (QWidget *control : std::initializer_list<QWidget *>{BitBtn1, BitBtn2, ComboBoxEvents})
        control->setEnabled(enabled);
}

void TForm1::DisableDeviceActions()
{
    SetDeviceActionsEnabled(false);
}

void TForm1::EnableDeviceActions()
{
    SetDeviceActionsEnabled(true);
}

QString TForm1::StatusPanel(int panel) const
{
    return StatusBar1->PanelText(panel);
}

void TForm1::SetStatusPanel(int panel, const QString &text)
{
    // The port's handlers call this on a worker's thread.
    QPointer<TStatusBar> bar = StatusBar1;
    gui::Post([bar, panel, text] {
        if (bar)
            bar->SetPanelText(panel, text);
    });
}
