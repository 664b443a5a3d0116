#pragma once
// The configurator's main window: the page tree with the page panels, menus,
// tool bar and actions, the status bar, the serial port and the
// configuration being edited. Threads never call it directly: they hand
// their calls to the GUI thread (gui::Post, gui::Call).
#include "ComPort.h"
#include "ConfigPage.h"
#include "Configuration.h"
#include "DeviceIdentity.h"
#include "Dialogs.h"
#include "FormTexts.h"
#include "PageTree.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QStackedWidget;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TSplitter;
class TThread;

class TForm1 : public QMainWindow, public PageContext {
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
    TThread *PanelThread = nullptr;
    quint8 EditingControllerTime = 0;
    QString TypedControllerTime;
    // The current directory at start-up followed by "/" ("" if unreadable).
    QString StartDirectory;
    // The page last entered; written only by TreeView1Change.
    int PreviousPage = NoPage;

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
    QTreeWidget *TreeView1;
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
    QWidget *Form() const override { return const_cast<TForm1 *>(this); }

    // Any named control, action or menu item of the window, or null.
    template <class T>
    T *Find(const QString &name) const
    {
        return FindControl<T>(this, name);
    }

    // ---- status bar: 0 configuration file, 1 port, 2 device version, 3 spare
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString &text);

    // ---- tree and pages
    QTreeWidgetItem *Node(int page) const;
    // The absolute index of the selected node, or NoPage.
    int CurrentPage() const;
    // Selects the page's node; the navigation runs when the selection changes.
    void SelectPage(int page);
    ConfigPage *Panel(PanelId panel) const;
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
    void ShowDeviceIdentity(const DeviceIdentity &identity);
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
    void Splitter1CanResize(int &newSize, bool &accept);
    void Timer2Timer();
    void ApplyLanguageFile();
    // Terminate, wait for and delete the polling thread, if there is one.
    void StopPoller();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void SetUpComPort();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePages(const PageFactory &createPage);
    void FormCreate();
    void LoadWiringPictures();
    void FillTestCombos();
    void ProbePort();

    FormTexts texts_;
    QStackedWidget *pageStack_ = nullptr;
    std::array<ConfigPage *, PanelCount> panels_{};
    // What is brought to the front for each panel (the scroll area around it).
    std::array<QWidget *, PanelCount> fronts_{};
    std::array<QLabel *, 4> panelLabels_{};
};

// The program's one main window, while it exists.
extern TForm1 *Form1;
