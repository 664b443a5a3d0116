#pragma once
// The configurator's main window: the page tree with the page panels, menus,
// tool bar and actions, the status bar, the serial port and the
// configuration being edited. Threads never call it directly: they hand
// their calls to the GUI thread (gui::Post, gui::Call).
#include "serial/ComPort.h"
#include "configurator/pages/ConfigPage.h"
#include "configurator/core/ConfigDeviceActions.h"
#include "configurator/core/Configuration.h"
#include "link/DeviceIdentity.h"
#include "toolkit/widgets/Dialogs.h"
#include "configurator/FormTexts.h"
#include "configurator/PageTree.h"
#include "configurator/PollerWindow.h"
#include "common/StatusPanels.h"

#include <QMainWindow>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class IdentityLabels;
class QAction;
class QLabel;
class QProgressBar;
class QStackedWidget;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TMainPanelControl;
class TMaskEdit;
class TSplitter;

class TForm1 : public QMainWindow, public PageContext, public ConfigActionWindow, public PollerWindow {
    Q_OBJECT
public:
    // Makes the page object of a panel; the window owns it. Empty: the
    // window's own page classes.
    using PageFactory = std::function<ConfigPage *(PanelId panel, PageContext &context)>;

    // Builds the window and runs FormCreate (settings, working copy, port probe).
    explicit TForm1(const PageFactory &createPage = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- own members
    ::ControllerConfig ControllerConfig;
    // The running polling thread, owned; none until the first start.
    TMainPanelControl *PanelThread = nullptr;
    quint8 EditingControllerTime = 0;
    QString TypedControllerTime;
    // The current directory at start-up followed by "/" ("" if unreadable).
    QString StartDirectory;
    // The page last entered; written only by TreeView1Change.
    int PreviousPage = NoPage;
    // The selected page, for any thread: CurrentPage as TreeView1Change last saw it.
    int SelectedPage() const override { return selectedPage_.load(); }

    // ---- components
    TComPort ComPort1;
    QAction *Programm;
    QAction *ReadConf;
    QAction *CompareConf;
    QAction *FactoryConfig;
    QAction *Reset;
    QAction *Reconfigurate;
    QAction *FileOpen1;
    QAction *FileSave1;
    QAction *FileNew1;
    QAction *ComPortConfig;
    QAction *Abaut;
    QAction *ReadIMEICode;
    QTreeWidget *TreeView1 = nullptr;
    TSplitter *Splitter1;
    QStatusBar *StatusBar1;
    QTimer *Timer2;
    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;

    // The ten device and file actions, in the order they are disabled and enabled.
    std::array<QAction *, 10> DeviceActions() const;

    // ---- PageContext
    const FormTexts &Texts() const override { return texts_; }
    FormTexts &Texts() { return texts_; }
    QString NodeText(int page) const override;
    ConfigPage *Panel(PanelId panel) const override;

    // ---- status bar: a StatusPanel
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString &text) override;

    // ---- tree and pages
    QTreeWidgetItem *Node(int page) const;
    // The absolute index of the selected node, or NoPage.
    int CurrentPage() const;
    // Selects the page's node; the navigation runs when the selection changes.
    void SelectPage(int page);
    ConfigPage *PageFor(int page) const { return Panel(PanelOfPage(page)); }
    // The page object of class P, or null.
    template <class P>
    P *Page() const
    {
        for (ConfigPage *page : panels_)
            if (P *p = qobject_cast<P *>(page))
                return p;
        return nullptr;
    }
    // Controls <-> ControllerConfig for a page number; pages without values do nothing.
    void StorePage(int page);
    void ShowPage(int page);

    // ---- identity and the device actions
    void ShowDeviceIdentity(const DeviceIdentity &identity) override;
    bool IsModelSupported() const;
    bool IsVersionSupported() const;
    void DisableDeviceActions();
    void EnableDeviceActions();

    // ---- settings file StartDirectory + "QRVConfig.cfg", with ComPort1's port
    int SaveProgramSettings();
    int LoadProgramSettings();

    // ---- handlers
    void FormCloseQuery(bool &canClose);
    void FormClose();
    void N7Click();
    void AbautExecute();
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void ComPort1AfterOpen();
    void TreeView1Change();
    void TreeView1Collapsed(QTreeWidgetItem *branch);
    void Splitter1CanResize(int &newSize, bool &accept);
    void Timer2Timer();
    void ApplyLanguageFile();
    // Terminate, wait for and delete the polling thread, if there is one.
    void StopPoller() override;
    // A new polling thread, unless one runs already.
    void StartPoller() override;

    // ---- device actions (DeviceActions.cpp): they forward to the flows
    void ReadConfExecute();
    void ProgrammExecute();
    void CompareConfExecute();
    void ReconfigurateExecute();
    void ResetExecute();
    void FactoryConfigExecute();
    void BitBtnProgSysParClick();
    void BitBtnReadSysParClick();
    void ComPortConfigExecute();
    // Clock and control commands; Sender is the button clicked (its "Tag").
    void Button2MouseDown();
    void Button3Click();
    void MaskEditContrCurTimeEnter();
    void MaskEditContrCurTimeExit();
    void Button4Click(QObject *Sender);
    void Button5Click(QObject *Sender);
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button22Click();
    void Button25Click(QObject *Sender);
    void ReadIMEICodeExecute();
    // The support mail, its subject naming the controller last identified.
    void Button21Click();

    // True from the start to the end of a device handler.
    bool ActionRunning() const { return deviceActions_->Running(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    // A new desktop font: the tree takes the width its nodes need in it.
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void SetUpComPort();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePages(const PageFactory &createPage);
    void FormCreate();
    void LoadWiringPictures();
    void FitTreeWidth();
    // The designed size, or maximised where the framed window would not fit the screen.
    void FitToScreen();
    void FillTestCombos();
    void ProbePort();
    void ConnectPageControls();

    // ---- ConfigActionWindow: what the device actions ask of the window
    bool PollerLostController() const override;
    void SetDeviceActionsEnabled(bool enabled) override;
    void SelectRootPage() override;
    void StoreSelectedPage() override;
    void ShowSelectedPage() override;
    void Repaint() override;
    bool ClearModesAsked() const override;
    void WaitForRestart() override;
    bool RunResetCountdown() override;
    void AllowSystemParameterProgramming() override;
    void RunPortDialog() override;
    void CopyToClipboard(const QString &text) override;
    void Warn(const QString &text, const QString &caption) override;

    // ---- PollerWindow: what the poller hands over
    void ShowPollerStatus(const QString &text, TColor colour) override;
    QString PollerStatusText() const override;
    void PollerIdentified(bool identified, const QString &refusal) override;
    bool EditingClock() const override;
    void ShowPcTime(const QString &time) override;
    void ShowLiveState(int page, const LiveState *state) override;
    void ShowKeyUnlocked(bool unlocked) override;
    void ShowTouchKey(const TouchKeyRead &key) override;

    void CreateDeviceActions();
    QLabel *ActionName() const;

    FormTexts texts_;
    std::atomic<int> selectedPage_{NoPage};
    // What the port panel shows, for the port's handler on a worker's thread.
    std::mutex portTextMutex_;
    QString portText_;
    // Where the device actions' workers report.
    std::unique_ptr<IStatusLabel> actionStatus_, commandStatus_, systemStatus_;
    std::unique_ptr<IProgressBar> imageProgress_, systemProgress_;
    std::unique_ptr<ConfigDeviceActions> deviceActions_;
    QWidget *clockSetButton_ = nullptr;
    TMaskEdit *controllerTimeEdit_ = nullptr;
    QStackedWidget *pageStack_ = nullptr;
    std::array<ConfigPage *, PanelCount> panels_{};
    // What is brought to the front for each panel (the scroll area around it).
    std::array<QWidget *, PanelCount> fronts_{};
    TStatusBar *statusPanels_ = nullptr;
    // Looked up once: the poller shows an identity in every cycle.
    std::unique_ptr<IdentityLabels> identityLabels_;
    // The size the window opens at, unless it is given another before.
    QSize openingSize_;
    bool frameFitted_ = false;
};
