#pragma once
// The voice programmer's main window: the 98 events and their messages, the
// memory gauge, the voice and settings files, and the device actions that
// program, read back or compare the controller's voice memory.
#include "serial/ComPort.h"
#include "toolkit/widgets/Dialogs.h"
#include "voiceprog/core/VoiceDeviceAction.h"
#include "voiceprog/VoiceTexts.h"
#include "voiceprog/core/Voicebank.h"
#include "toolkit/widgets/WidgetViews.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QToolBar;
class QToolButton;
class TStatusBar;

// The status bar's panels.
enum StatusPanelIndex : int { FilePanel = 0, PortPanel = 1, VersionPanel = 2 };

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window with its texts and the language file, then runs
    // FormCreate: settings, "default.vce" and the port probe, all from the
    // current directory.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- handlers
    void FormCreate();
    void FormClose();
    void RefreshMemoryView();
    void ComboBoxEventsChange();
    void BitBtn1Click();
    void BitBtn2Click();
    void N7Click();
    void ComPortConfigExecute();
    void AbautExecute();
    void ComPort1AfterOpen(TCustomComPort *sender);
    void ComPort1AfterClose(TCustomComPort *sender);
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void ProgrammExecute();
    void ReadConfExecute();
    void CompareConfExecute();
    void DisableDeviceActions();
    void EnableDeviceActions();
    void ApplyLanguageFile();

    // True from the start of a device action to its end.
    bool ActionRunning() const { return actionRunning_; }
    VoiceBank &Bank() { return bank_; }
    QString StatusPanel(int panel) const;

    // ---- window state
    TComPort ComPort1;
    QStringList StatusMessages;
    VoiceTexts Texts;
    QString WorkingDirectory;
    TOpenDialog OpenDialog1;
    TOpenDialog OpenDialog2;
    TSaveDialog SaveDialog1;

    // ---- actions, menus and controls
    QAction *Programm = nullptr;
    QAction *ReadConf = nullptr;
    QAction *CompareConf = nullptr;
    QAction *FileOpen1 = nullptr;
    QAction *FileSave1 = nullptr;
    QAction *FileNew1 = nullptr;
    QAction *ComPortConfig = nullptr;
    QAction *Abaut = nullptr;

    QMenuBar *MainMenu1 = nullptr;
    QMenu *N1 = nullptr;
    QAction *N13 = nullptr;
    QAction *N2 = nullptr;
    QAction *N3 = nullptr;
    QAction *N7 = nullptr;
    QMenu *N8 = nullptr;
    QAction *COM1 = nullptr;
    QMenu *N9 = nullptr;
    QAction *N10 = nullptr;
    QAction *N11 = nullptr;
    QAction *N12 = nullptr;
    QMenu *N14 = nullptr;
    QAction *N15 = nullptr;

    QToolBar *ToolBar1 = nullptr;
    QToolButton *SpeedButton7 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QToolButton *SpeedButton6 = nullptr;
    QToolButton *SpeedButton8 = nullptr;
    QToolButton *SpeedButton9 = nullptr;

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label11 = nullptr;
    QComboBox *ComboBoxEvents = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *EditFragmentTime = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Label3 = nullptr;

    QLabel *ActionName = nullptr;
    QProgressBar *ProgressBar2 = nullptr;
    QGroupBox *GroupBox15 = nullptr;
    TStatusBar *StatusBar1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void BuildActions();
    void BuildMenu();
    void BuildToolBar();
    void BuildForm();
    void ConnectHandlers();
    void SetUpPort();
    void SetUpDialogs();
    void RunDeviceAction(VoiceDeviceAction action);
    void SetDeviceActionsEnabled(bool enabled);
    void SetStatusPanel(int panel, const QString &text);
    void ShowMessage(const QString &text, const QString &caption);
    std::uint8_t SelectedEvent() const;

    VoiceBank bank_;
    std::unique_ptr<LabelStatus> actionStatus_;
    std::unique_ptr<ProgressBarView> transferProgress_;
    bool actionRunning_ = false;
    bool closeAfterAction_ = false;
    bool centred_ = false;
};
