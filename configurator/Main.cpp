#include "configurator/Main.h"
#include "configurator/dialogs/Aboutbox.h"
#include "configurator/core/ConfigFiles.h"
#include "configurator/core/ConfiguratorPort.h"
#include "common/Contacts.h"
#include "toolkit/GuiQueue.h"
#include "common/IdentityDisplay.h"
#include "common/PortProbe.h"
#include "common/ProgramStart.h"
#include "configurator/LanguageLayout.h"
#include "configurator/Mainpanelcontrol.h"
#include "toolkit/widgets/MaskEdit.h"
#include "toolkit/widgets/Metafile.h"
#include "configurator/pages/PageArmIn.h"
#include "configurator/pages/PageClock.h"
#include "configurator/pages/PageConnection.h"
#include "configurator/pages/PageGeneral.h"
#include "configurator/pages/PageInput.h"
#include "configurator/pages/PageInputs.h"
#include "configurator/pages/PageLargerModel.h"
#include "configurator/pages/PageLiveState.h"
#include "configurator/pages/PageOutput.h"
#include "configurator/pages/PageOutputs.h"
#include "configurator/pages/PagePower.h"
#include "configurator/pages/PageScenarios.h"
#include "configurator/pages/PageSystem.h"
#include "configurator/Splitter.h"
#include "configurator/core/SupportedVersions.h"
#include "toolkit/Fitting.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPicture>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWindow>

namespace {

constexpr int FirstPollInterval = 500;
constexpr QSize InitialWindowSize(1270, 770);

ConfigPage *CreateStandardPage(PanelId panel, PageContext &context)
{
    switch (panel) {
    case PanelId::LiveState: return new PageLiveState(context);
    case PanelId::General: return new PageGeneral(context);
    case PanelId::Connection: return new PageConnection(context);
    case PanelId::Clock: return new PageClock(context);
    case PanelId::Power: return new PagePower(context);
    case PanelId::ArmIn: return new PageArmIn(context);
    case PanelId::Inputs: return new PageInputs(context);
    case PanelId::Input: return new PageInput(context);
    case PanelId::Outputs: return new PageOutputs(context);
    case PanelId::Output: return new PageOutput(context);
    case PanelId::Scenarios: return new PageScenarios(context);
    case PanelId::System: return new PageSystem(context);
    case PanelId::LargerModel: return new PageLargerModel(context);
    }
    return nullptr;
}

// The actions the system-parameter page keeps disabled while it is shown.
constexpr QAction *TForm1::*controllerActions[] = {&TForm1::Programm,      &TForm1::ReadConf, &TForm1::CompareConf,
                                                   &TForm1::Reconfigurate, &TForm1::Reset,    &TForm1::FactoryConfig};

} // namespace

TForm1::TForm1(const PageFactory &createPage, QWidget *parent)
    : QMainWindow(parent), texts_(FormTexts::Defaults())
{
    setObjectName(QStringLiteral("Form1"));
    SetUpComPort();
    CreateActions();
    CreateMenus();
    CreateToolBar();

    TreeView1 = new QTreeWidget;
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    QPalette palette = TreeView1->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    TreeView1->setPalette(palette); // the selection stays visible without the focus
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TForm1::TreeView1Change);
    connect(TreeView1, &QTreeWidget::itemCollapsed, this, &TForm1::TreeView1Collapsed);

    pageStack_ = new QStackedWidget;
    pageStack_->setObjectName(QStringLiteral("PageArea"));
    CreatePages(createPage ? createPage : PageFactory(CreateStandardPage));

    Splitter1 = new TSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(TreeView1);
    Splitter1->addWidget(pageStack_);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->OnCanResize = [this](int &newSize, bool &accept) { Splitter1CanResize(newSize, accept); };
    setCentralWidget(Splitter1);
    CreateStatusBar();
    ConnectPageControls();
    CreateDeviceActions();
    identityLabels_ = std::make_unique<IdentityLabels>(this);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(FirstPollInterval);
    // After a restart the controller needs its whole 3 s: a coarse timer
    // may fire 5 % early.
    Timer2->setTimerType(Qt::PreciseTimer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);

    // Not larger than the screen, also before it is shown (FitToScreen).
    openingSize_ = InitialWindowSize;
    if (const QScreen *shown = screen())
        openingSize_ = FitWindow(InitialWindowSize, shown->availableGeometry().size(), QMargins()).size;
    resize(openingSize_);
    FactoryDefaults(ControllerConfig);
    FormCreate();
    // The window opens with the keys on the page tree.
    TreeView1->setFocus();
    Timer2->start();
}

TForm1::~TForm1()
{
    // First the timer: it could start a new poller while the last one is waited for.
    Timer2->stop();
    StopPoller();
    // The pages go while the texts and the configuration they use are still here.
    TreeView1->disconnect(this);
    delete takeCentralWidget();
}

void TForm1::SetUpComPort()
{
    SetConfiguratorPortSettings(ComPort1);
    ComPort1.SetEvents(TComEvents::All());
    ComPort1.SetSyncMethod(smThreadSync);
    ComPort1.OnAfterOpen = [this](TCustomComPort *) { ComPort1AfterOpen(); };
}

// Stand-in pages (tests) have none of these controls.
void TForm1::ConnectPageControls()
{
    const auto bind = [this](QAbstractButton *button, void (TForm1::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    // Sender: the handler reads the button's Tag.
    const auto bindSender = [this](QAbstractButton *button, void (TForm1::*handler)(QObject *Sender)) {
        connect(button, &QAbstractButton::clicked, this, [this, button, handler] { (this->*handler)(button); });
    };
    if (PageLiveState *live = Page<PageLiveState>()) {
        for (QPushButton *button : live->OutputOnButtons)
            bindSender(button, &TForm1::Button4Click);
        for (QPushButton *button : live->OutputOffButtons)
            bindSender(button, &TForm1::Button5Click);
        for (QPushButton *button : live->InputButtons)
            bindSender(button, &TForm1::Button25Click);
        for (QPushButton *button : {live->Button18, live->Button23})
            bind(button, &TForm1::Button18Click);
        for (QPushButton *button : {live->Button19, live->Button24})
            bind(button, &TForm1::Button19Click);
        bind(live->Button20, &TForm1::Button20Click);
        bind(live->Button21, &TForm1::Button21Click);
        bind(live->Button22, &TForm1::Button22Click);
    }
    if (PageSystem *system = Page<PageSystem>()) {
        bind(system->BitBtnReadSysPar, &TForm1::BitBtnReadSysParClick);
        bind(system->BitBtnProgSysPar, &TForm1::BitBtnProgSysParClick);
    }
    if (PageClock *clock = Page<PageClock>()) {
        bind(clock->Button3, &TForm1::Button3Click);
        // "Установить" acts on the press; the time edit tells when it is being edited.
        clockSetButton_ = clock->Button2;
        controllerTimeEdit_ = clock->MaskEditContrCurTime;
        clockSetButton_->installEventFilter(this);
        controllerTimeEdit_->installEventFilter(this);
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == clockSetButton_ && event->type() == QEvent::MouseButtonPress) {
        Button2MouseDown();
    } else if (watched == controllerTimeEdit_ && event->type() == QEvent::FocusIn) {
        MaskEditContrCurTimeEnter();
    } else if (watched == controllerTimeEdit_ && event->type() == QEvent::FocusOut) {
        // The window losing the focus does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            MaskEditContrCurTimeExit();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::CreatePages(const PageFactory &createPage)
{
    for (int i = 0; i < PanelCount; ++i) {
        const PanelId id = PanelId(i);
        ConfigPage *page = createPage(id, *this);
        Q_ASSERT(page != nullptr);
        if (page == nullptr)
            page = new ConfigPage(*this, QString());
        panels_[std::size_t(i)] = page;
        if (id == PanelId::LargerModel) {
            // Its controls take part in store and show, but no node shows them.
            page->setParent(pageStack_);
            page->hide();
            continue;
        }
        auto *scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(page);
        pageStack_->addWidget(scroll);
        fronts_[std::size_t(i)] = scroll;
    }
}

void TForm1::FormCreate()
{
    StartDirectory = DirectoryPrefix(QDir::currentPath());
    OpenDialog1.Title = QStringLiteral("Открытие файла конфигурации");
    OpenDialog1.Filter = QStringLiteral("Файлы конфигурации (*.cnt)|*.cnt");
    OpenDialog1.DefaultExt = QStringLiteral("cnt");
    OpenDialog1.PathMustExist = true;
    OpenDialog1.FileMustExist = true;
    OpenDialog1.InitialDir = StartDirectory;
    SaveDialog1.Title = QStringLiteral("Сохранение конфигурации");
    SaveDialog1.Filter = OpenDialog1.Filter;
    SaveDialog1.DefaultExt = OpenDialog1.DefaultExt;
    SaveDialog1.PathMustExist = true;

    setWindowTitle(QStringLiteral("Конфигуратор GSM контроллера ") + QLatin1String(SupportedModel));
    LoadTreeItems(*TreeView1, BuiltInTreeText());
    Node(Pages::LiveState)->setText(0, QStringLiteral("GSM контроллер ") + QLatin1String(SupportedModel) + QLatin1Char('-') +
                            QLatin1String(SupportedModification));
    // The scheduler grid, the combo lists, the time zones and the key table
    // are built by their pages.
    if (PageLiveState *live = Page<PageLiveState>())
        live->GroupBoxMaunPerimInfo->setVisible(true);
    TreeView1->expandAll();
    SelectPage(Pages::LiveState);
    ApplyLanguageFile();
    FitTreeWidth();
    LoadWiringPictures();
    FillTestCombos();
    if (LoadProgramSettings() != frOk)
        ComPort1.SetPort(QStringLiteral("COM1"));
    if (LoadConfigFile(QLatin1String(WorkingCopyName), ControllerConfig.ConfigImage) != frOk)
        CopyDefaultImage(ControllerConfig.ConfigImage);
    SetPanelText(FilePanel, QLatin1String(WorkingCopyName));
    ProbePort();
}

void TForm1::ApplyLanguageFile()
{
    ApplyLanguageFileTo({*this, texts_, *TreeView1});
}

void TForm1::LoadWiringPictures()
{
    const PageInputs *inputs = Page<PageInputs>();
    const PageOutputs *outputs = Page<PageOutputs>();
    const std::pair<const char *, QLabel *> wirings[] = {
        {"QRV240-LT-Inputs.wmf", inputs != nullptr ? inputs->ImageQRV240Ins : nullptr},
        {"QRV240-LT-Outputs.wmf", outputs != nullptr ? outputs->ImageQRV240Outs : nullptr},
    };
    for (const auto &[name, label] : wirings) {
        const QString file = QLatin1String(name);
        QPicture picture;
        if (label != nullptr && QFileInfo::exists(file) && LoadMetafilePicture(file, picture))
            label->setPicture(picture);
    }
}

// From the lists as the language file left them.
void TForm1::FillTestCombos()
{
    PageLiveState *live = Page<PageLiveState>();
    if (live == nullptr)
        return;
    live->ComboBoxTestOut->clear();
    live->ComboBoxTestOut->addItems(texts_.OutputNames.mid(0, 4));
    live->ComboBoxTestOut->setCurrentIndex(0);
    live->ComboBoxTestScen->clear();
    live->ComboBoxTestScen->addItems(texts_.OutputActionNames.mid(oaScenario1, 14));
    live->ComboBoxTestScen->setCurrentIndex(0);
}

void TForm1::ProbePort()
{
    const bool opened = ::ProbePort(ComPort1, CloseFailure::Ignored);
    SetPanelText(PortPanel, opened ? ComPort1.Port() : QLatin1String(NotConnectedText));
}

// ---- status bar

QString TForm1::PanelText(int panel) const
{
    return statusPanels_->PanelText(panel);
}

void TForm1::SetPanelText(int panel, const QString &text)
{
    if (panel == PortPanel) {
        std::lock_guard lock(portTextMutex_);
        portText_ = text;
    }
    statusPanels_->SetPanelText(panel, text);
}

// ---- tree and pages

QTreeWidgetItem *TForm1::Node(int page) const
{
    return PageNode(*TreeView1, page);
}

int TForm1::CurrentPage() const
{
    const QTreeWidgetItem *current = TreeView1->currentItem();
    if (current == nullptr)
        return NoPage;
    int page = 0;
    for (QTreeWidgetItemIterator it(TreeView1); *it != nullptr; ++it, ++page)
        if (*it == current)
            return page;
    return NoPage;
}

void TForm1::SelectPage(int page)
{
    if (QTreeWidgetItem *node = Node(page))
        TreeView1->setCurrentItem(node);
}

QString TForm1::NodeText(int page) const
{
    const QTreeWidgetItem *node = Node(page);
    return node != nullptr ? node->text(0) : QString();
}

ConfigPage *TForm1::Panel(PanelId panel) const
{
    return panels_[std::size_t(panel)];
}

void TForm1::StorePage(int page)
{
    if (PageStoresValues(page))
        PageFor(page)->StorePage(page, ControllerConfig);
}

void TForm1::ShowPage(int page)
{
    if (page >= 0 && page < PageCount && PageFor(page)->HasValues(page))
        PageFor(page)->ShowPage(page, ControllerConfig);
}

void TForm1::TreeView1Change()
{
    const int page = CurrentPage();
    selectedPage_.store(page);
    if (page == NoPage)
        return;
    if (PageStoresValues(PreviousPage)) {
        if (PreviousPage == Pages::SystemParameters)
            for (QAction *TForm1::*action : controllerActions)
                (this->*action)->setEnabled(true);
        StorePage(PreviousPage);
    }
    ConfigPage *panel = PageFor(page);
    panel->Enter(page);
    if (page == Pages::SystemParameters)
        for (QAction *TForm1::*action : controllerActions)
            (this->*action)->setEnabled(false);
    ShowPage(page);
    panel->AfterShow(page);
    pageStack_->setCurrentWidget(fronts_[std::size_t(PanelOfPage(page))]);
    PreviousPage = page;
    // The input page lays itself out for its sensor type after every page change.
    if (PageInput *input = Page<PageInput>())
        input->UpdateSensorPage();
}

// As the tree of a Windows window does: a collapsed branch that held the page
// shown takes the selection, and its own page is shown.
void TForm1::TreeView1Collapsed(QTreeWidgetItem *branch)
{
    for (const QTreeWidgetItem *node = TreeView1->currentItem(); node != nullptr; node = node->parent()) {
        if (node->parent() == branch) {
            TreeView1->setCurrentItem(branch);
            return;
        }
    }
}

// The tree stays as wide as its longest node needs in the window's font.
void TForm1::FitTreeWidth()
{
    TreeView1->resizeColumnToContents(0);
    TreeView1->setFixedWidth(TreeView1->columnWidth(0) + 2 * TreeView1->frameWidth());
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && TreeView1 != nullptr)
        FitTreeWidth();
    QMainWindow::changeEvent(event);
}

// A page of about 800 x 600 shows whole on a 1280 x 800 screen. Where the
// window would not fit with the frame the window manager puts around it, it
// opens maximised; a size given to it before it is shown stays as it is. A
// window manager tells the frame only once the window is in it: the window
// fits itself again then.
void TForm1::FitToScreen()
{
    if (frameFitted_)
        return;
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    frameFitted_ = !frame.isNull();
    const QScreen *shown = screen();
    if (shown == nullptr || isMaximized() || size() != openingSize_)
        return;
    const WindowFit fit = FitWindow(InitialWindowSize, shown->availableGeometry().size(), frame);
    openingSize_ = fit.size;
    resize(fit.size);
    if (fit.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::showEvent(QShowEvent *event)
{
    FitToScreen();
    QMainWindow::showEvent(event);
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (isVisible())
        FitToScreen();
}

void TForm1::Splitter1CanResize(int &, bool &accept)
{
    accept = false;
}

// ---- identity and device actions

void TForm1::ShowDeviceIdentity(const DeviceIdentity &identity)
{
    identityLabels_->Show(identity, [this](const QString &version) { SetPanelText(VersionPanel, version); });
}

bool TForm1::IsModelSupported() const
{
    return identityLabels_->DeviceName() == QLatin1String(SupportedModel);
}

bool TForm1::IsVersionSupported() const
{
    return ::IsVersionSupported(PanelText(VersionPanel), SupportedVersions);
}

std::array<QAction *, 10> TForm1::DeviceActions() const
{
    return {Programm, ReadConf, CompareConf, FactoryConfig, Reset, Reconfigurate, FileOpen1, FileSave1, FileNew1,
            ComPortConfig};
}

void TForm1::DisableDeviceActions()
{
    SetDeviceActionsEnabled(false);
}

void TForm1::EnableDeviceActions()
{
    SetDeviceActionsEnabled(true);
}

void TForm1::StopPoller()
{
    if (PanelThread == nullptr)
        return;
    PanelThread->Terminate();
    PanelThread->WaitFor();
    delete PanelThread;
    PanelThread = nullptr;
}

void TForm1::StartPoller()
{
    if (PanelThread != nullptr)
        return;
    PanelThread = new TMainPanelControl(true, *this, ComPort1, texts_.StatusMessages, ControllerConfig);
    PanelThread->SetPriority(TThreadPriority::tpNormal);
    PanelThread->Resume();
}

// Timers fire also while a handler waits for its worker: the port is left
// to the handler, and the timer comes again.
void TForm1::Timer2Timer()
{
    if (deviceActions_->Running())
        return;
    Timer2->stop();
    // A command run while the controller restarted has started a poller already.
    StartPoller();
    EnableDeviceActions();
}

// ---- port

// Runs on the thread that opened the port: a worker's, or the GUI thread.
void TForm1::ComPort1AfterOpen()
{
    const QString name = ComPort1.Port();
    bool shown;
    {
        // The poller opens the port twice a cycle: a panel that names it
        // already costs the GUI thread no wake-up.
        std::lock_guard lock(portTextMutex_);
        shown = portText_ == name;
    }
    if (!shown) {
        QPointer<TForm1> self(this);
        gui::Post([self, name] {
            if (self)
                self->SetPanelText(PortPanel, name);
        });
    }
    ComPort1.SetDTR(true);
    ComPort1.SetRTS(true);
}

// ---- settings file

int TForm1::SaveProgramSettings()
{
    return ::SaveProgramSettings(StartDirectory, ComPort1.Port());
}

int TForm1::LoadProgramSettings()
{
    QString port = ComPort1.Port();
    const int result = ::LoadProgramSettings(StartDirectory, port);
    ComPort1.SetPort(port);
    return result;
}

// ---- files

void TForm1::FileNew1Execute()
{
    CopyDefaultImage(ControllerConfig.ConfigImage);
    ShowPage(CurrentPage());
    SetPanelText(FilePanel, QLatin1String(WorkingCopyName));
}

void TForm1::FileOpen1Execute()
{
    if (!OpenDialog1.Execute(this))
        return;
    const QString caption = QStringLiteral("Открытие файла конфигурации");
    switch (LoadConfigFile(OpenDialog1.FileName, ControllerConfig.ConfigImage)) {
    case frOk:
        ShowPage(CurrentPage());
        SetPanelText(FilePanel, OpenDialog1.FileName);
        break;
    case frIoError:
        MessageBox(this, QStringLiteral("Невозможно открыть файл"), caption, MB_OK | MB_ICONWARNING);
        break;
    case frFormatError:
        MessageBox(this, QStringLiteral("Неизвестный формат файла"), caption, MB_OK | MB_ICONWARNING);
        break;
    default:
        MessageBox(this,
                   QStringLiteral("Несоответствие версий! Файл не может быть использован для конфигурирования "
                                  "этого устройства."),
                   caption, MB_OK | MB_ICONWARNING);
        break;
    }
}

void TForm1::FileSave1Execute()
{
    const QString caption = QStringLiteral("Сохранение конфигурации");
    SaveDialog1.FileName = PanelText(FilePanel);
    StorePage(CurrentPage());
    ShowPage(CurrentPage());
    if (!SaveDialog1.Execute(this))
        return;
    const QString name = SaveDialog1.FileName;
    if (QFileInfo::exists(name) &&
        MessageBox(this, QStringLiteral("Файл уже существует, заменить?"), caption, MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    if (SaveConfigFile(name, ControllerConfig.ConfigImage) != frOk)
        MessageBox(this, QStringLiteral("Невозможно сохранить файл"), caption, MB_OK | MB_ICONWARNING);
    else
        SetPanelText(FilePanel, name);
}

// ---- closing

// Nothing a handler uses may go while it runs.
void TForm1::FormCloseQuery(bool &canClose)
{
    canClose = ComPortConfig->isEnabled() && !deviceActions_->Running();
}

void TForm1::FormClose()
{
    SaveProgramSettings();
    StorePage(CurrentPage());
    SaveConfigFile(QLatin1String(WorkingCopyName), ControllerConfig.ConfigImage);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::N7Click()
{
    close();
}

void TForm1::AbautExecute()
{
    TAboutBox box(this);
    box.setWindowTitle(texts_.AboutCaption);
    box.VersionLabelPrefix = texts_.VersionLabelPrefix;
    box.exec();
}

void TForm1::Button21Click()
{
    const PageLiveState *live = Page<PageLiveState>();
    if (live == nullptr)
        return;
    QString subject;
    if (live->iDeviceNameLabel->text() == QLatin1String("--------")) {
        subject = QStringLiteral("QRV610, нет информации о версии устройства");
    } else {
        subject = live->iDeviceNameLabel->text() + QLatin1Char('-') + live->iModificationLabel->text() +
                  QLatin1String("-h") + live->iHardVerLabel->text() + QLatin1String("-s") +
                  live->iSoftVerLabel->text() + QLatin1Char('-') + live->iDateLabel->text() + QLatin1Char('-') +
                  live->iLabelCountryCode->text() + QLatin1String("-d") + live->iBLLabel->text() +
                  QLatin1String("-ID:") + live->iLabelDevSN->text() + QLatin1String("-IMEI:") +
                  live->iGSMIMEILabel->text();
    }
    OpenLink(SupportMailUrl(subject));
}
