// The main window: start-up, the page tree and navigation, menus and tool
// bar, closing.
#include "configurator/core/ConfigFiles.h"
#include "simulator/ControllerSimulator.h"
#include "tests/configurator/MainWindowFixture.h"
#include "configurator/Splitter.h"
#include "tests/support/Files.h"
#include "tests/support/WindowSystemInput.h"
#include "tests/support/WmfWriter.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSplitterHandle>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

QByteArray SettingsBytes(const QByteArray &port, quint32 magic = 0x20B84286)
{
    QByteArray bytes("[QRVProgCfg]");
    bytes.append(port.leftJustified(8, '\0', true));
    for (int i = 0; i < 4; ++i)
        bytes.append(char((magic >> (8 * i)) & 0xFF));
    return bytes;
}

ControllerConfig Defaults()
{
    ControllerConfig config;
    return FactoryDefaults(config);
}

QStringList Items(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Goes to page `from`, then forgets what that logged.
void GoTo(MainWindowFixture &f, int page)
{
    f.form->SelectPage(page);
    QCOMPARE(f.form->CurrentPage(), page);
    f.log.clear();
}

// Drags a splitter's divider with the mouse; returns the sizes afterwards.
QList<int> Drag(QSplitter *splitter, int by)
{
    QSplitterHandle *handle = splitter->handle(1);
    const QPoint start = handle->rect().center();
    const auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(handle, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        send(QEvent::MouseMove, start + QPoint(by * step / 4, 0), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(by, 0), Qt::NoButton);
    return splitter->sizes();
}

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsWithDefaultsWhenNothingIsThere();
    void startDirectoryKeepsALongPath();
    void takesTheSettingsFile_data();
    void takesTheSettingsFile();
    void takesTheWorkingCopy_data();
    void takesTheWorkingCopy();
    void probeShowsAPortThatOpens();
    void wiringPicturesReplaceTheBuiltInOnes();
    void treeHoldsTheTwentyFivePages_data();
    void treeHoldsTheTwentyFivePages();
    void navigationStoresThePageLeftOnce_data();
    void navigationStoresThePageLeftOnce();
    void selectingTheSameNodeDoesNothing();
    void userOpensPagesWithMouseAndKeys();
    void treeFitsItsLongestNode_data();
    void treeFitsItsLongestNode();
    void collapsingTheShownPagesBranchSelectsIt_data();
    void collapsingTheShownPagesBranchSelectsIt();
    void keysRightAfterStartUpChangeNothing_data();
    void keysRightAfterStartUpChangeNothing();
    void rootPageTabsInReadingOrder();
    void systemParameterPageDisablesSixActions();
    void dividerCannotBeMoved();
    void menuItemsAndButtonsFollowTheirActions_data();
    void menuItemsAndButtonsFollowTheirActions();
    void deviceActionsAreSetInTableOrder();
    void timerEnablesTheActions();
    void closingWaitsForTheActionsThenSaves_data();
    void closingWaitsForTheActionsThenSaves();
};

void TstMainWindow::startsWithDefaultsWhenNothingIsThere()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();

    QCOMPARE(form.ComPort1.Port(), QStringLiteral("COM1"));
    QCOMPARE(form.PanelText(FilePanel), QStringLiteral("default.cnt"));
    QCOMPARE(form.PanelText(PortPanel), QStringLiteral("NC"));
    QVERIFY(!form.ComPort1.Connected());
    const ControllerConfig defaults = Defaults();
    QVERIFY(form.ControllerConfig.ConfigImage == defaults.ConfigImage);
    QVERIFY(form.ControllerConfig.ModeMemory == defaults.ModeMemory);
    QVERIFY(form.ControllerConfig.SystemParameters == defaults.SystemParameters);
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(QDir(f.dir.path()).entryList(QDir::Files).isEmpty()); // start-up writes nothing

    QCOMPARE(form.windowTitle(), QStringLiteral("Конфигуратор GSM контроллера QRV240"));
    QCOMPARE(form.StartDirectory, QDir::currentPath() + QLatin1Char('/'));
    QCOMPARE(form.OpenDialog1.InitialDir, form.StartDirectory);

    // Node 0 was selected once: the root page entered, nothing stored or shown.
    QCOMPARE(form.CurrentPage(), Pages::LiveState);
    QCOMPARE(form.PreviousPage, 0);
    QCOMPARE(f.log, QStringList({"Enter 0", "AfterShow 0"}));
    QCOMPARE(FindControl<QLabel>(&form, "Label30")->text(), QStringLiteral("GSM контроллер QRV240-S"));
    QVERIFY(!FindControl<QWidget>(&form, "GroupBoxMaunPerimInfo")->isHidden());

    const auto *testOut = FindControl<QComboBox>(&form, "ComboBoxTestOut");
    QCOMPARE(Items(testOut), QStringList({"Реле 1", "Реле 2", "Выход 1", "Выход 2"}));
    QCOMPARE(testOut->currentIndex(), 0);
    const auto *testScen = FindControl<QComboBox>(&form, "ComboBoxTestScen");
    QCOMPARE(testScen->count(), 14);
    QCOMPARE(testScen->itemText(0), QStringLiteral("сценарий 1"));
    QCOMPARE(testScen->itemText(13), QStringLiteral("сценарий 14"));
    QCOMPARE(testScen->currentIndex(), 0);

    for (QAction *action : form.DeviceActions())
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(form.Timer2->isActive());
    QCOMPARE(form.Timer2->interval(), 500);
    QVERIFY(form.PanelThread == nullptr);

    // The port as the link runs it.
    QCOMPARE(form.ComPort1.BaudRate(), br19200);
    QCOMPARE(form.ComPort1.DataBits(), dbEight);
    QCOMPARE(form.ComPort1.Parity()->Bits(), prNone);
    QCOMPARE(form.ComPort1.StopBits(), sbOneStopBit);
    QCOMPARE(form.ComPort1.FlowControl()->FlowControl(), fcNone);
    const TComTimeouts *t = form.ComPort1.Timeouts();
    QCOMPARE(QList<int>({t->ReadInterval(), t->ReadTotalMultiplier(), t->ReadTotalConstant(),
                         t->WriteTotalMultiplier(), t->WriteTotalConstant()}),
             QList<int>({500, 3, 100, 4, 200}));
    QVERIFY(form.ComPort1.Events() == TComEvents::All());
    QCOMPARE(form.ComPort1.SyncMethod(), smThreadSync);
}

void TstMainWindow::startDirectoryKeepsALongPath()
{
    MainWindowFixture f;
    QString path = f.dir.path();
    for (int i = 0; i < 6; ++i)
        path += QLatin1Char('/') + QString(60, QLatin1Char('a' + i));
    QVERIFY(QDir().mkpath(path));
    QVERIFY(QDir::setCurrent(path));
    WriteAll(QDir(path).filePath("QRVConfig.cfg"), SettingsBytes("COM9"));

    TForm1 &form = f.Open();
    QCOMPARE(form.StartDirectory, QDir::currentPath() + QLatin1Char('/'));
    QVERIFY(form.StartDirectory.size() > 370);
    QCOMPARE(form.ComPort1.Port(), QStringLiteral("COM9")); // the settings were found there
}

void TstMainWindow::takesTheSettingsFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("port");
    QTest::newRow("saved port") << SettingsBytes("COM12") << "COM12";
    QTest::newRow("port not a COM name") << SettingsBytes("LPT1") << "COM1";
    QTest::newRow("wrong magic number") << SettingsBytes("COM5", 0x12345678) << "COM1";
    QTest::newRow("wrong header") << SettingsBytes("COM5").replace("Prog", "prog") << "COM1";
    QTest::newRow("cut short") << SettingsBytes("COM5").left(20) << "COM1";
}

void TstMainWindow::takesTheSettingsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, port);
    MainWindowFixture f;
    WriteAll(f.Path("QRVConfig.cfg"), content);
    TForm1 &form = f.Open();
    QCOMPARE(form.ComPort1.Port(), port);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TstMainWindow::takesTheWorkingCopy_data()
{
    QTest::addColumn<int>("damage"); // image byte to change, -1 for none
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("taken");
    const QByteArray header("[QRVControllerConfiguration_v01.02]");
    QTest::newRow("valid") << -1 << header << true;
    QTest::newRow("one byte changed") << 100 << header << false;
    QTest::newRow("other version") << -1 << QByteArray("[QRVControllerConfiguration_v01.01]") << false;
}

void TstMainWindow::takesTheWorkingCopy()
{
    QFETCH(int, damage);
    QFETCH(QByteArray, header);
    QFETCH(bool, taken);
    MainWindowFixture f;
    ConfigImage edited = DefaultImage();
    RecordView<ConnectionRecord>(edited, 2).Set(ConnectionRecord::Phone, u"+79001234567");
    QCOMPARE(SaveConfigFile(f.Path("default.cnt"), edited), int(frOk));
    QFile file(f.Path("default.cnt"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes.replace(0, header.size(), header);
    if (damage >= 0)
        bytes[35 + damage] = char(bytes[35 + damage] ^ 0x40);
    QVERIFY(file.seek(0));
    file.write(bytes);
    file.close();

    TForm1 &form = f.Open();
    QVERIFY(form.ControllerConfig.ConfigImage == (taken ? edited : DefaultImage()));
    QCOMPARE(form.PanelText(FilePanel), QStringLiteral("default.cnt"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TstMainWindow::probeShowsAPortThatOpens()
{
    MainWindowFixture f;
    qrvsim::ControllerSimulator simulator(QStringLiteral("COM1"), f.ports.path());
    TForm1 &form = f.Open();
    QCOMPARE(form.PanelText(PortPanel), QStringLiteral("COM1")); // written when the port opened
    QVERIFY(!form.ComPort1.Connected());
    QCOMPARE(simulator.portOpenCount(), 1);
    QVERIFY(!simulator.isPortOpen());
    QCOMPARE(simulator.logSize(), 0); // the probe sends nothing
}

void TstMainWindow::wiringPicturesReplaceTheBuiltInOnes()
{
    MainWindowFixture f;
    WmfWriter wiring;
    wiring.WindowExt(300, 120);
    wiring.Rectangle(10, 10, 290, 110);
    WriteAll(f.Path("QRV240-LT-Inputs.wmf"), wiring.Build(0));
    WriteAll(f.Path("QRV240-LT-Outputs.wmf"), QByteArray("not a picture").repeated(20));

    TForm1 &form = f.Open();
    QCOMPARE(FindControl<QLabel>(&form, "ImageQRV240Ins")->picture().boundingRect(), QRect(0, 0, 300, 120));
    QCOMPARE(FindControl<QLabel>(&form, "ImageQRV240Outs")->picture().boundingRect(), BuiltInPicture().boundingRect());
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TstMainWindow::treeHoldsTheTwentyFivePages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("parent"); // page number of the parent node, -1 for none
    QTest::addColumn<QString>("text");
    QTest::newRow("root") << 0 << -1 << "GSM контроллер QRV240-S";
    QTest::newRow("general") << 1 << 0 << "Общие параметры соединений";
    QTest::newRow("connection 1") << 2 << 1 << "Соединение 1";
    QTest::newRow("connection 8") << 9 << 1 << "Соединение 8";
    QTest::newRow("clock") << 10 << 0 << "Часы, планировщик задач";
    QTest::newRow("power") << 11 << 0 << "Питание, температура, индикация, контроль вскрытия";
    QTest::newRow("arm in") << 12 << 0 << "Вход [Arm In]";
    QTest::newRow("inputs") << 13 << 0 << "Входы";
    QTest::newRow("input 4") << 17 << 13 << "Вход 4";
    QTest::newRow("outputs") << 18 << 0 << "Выходы";
    QTest::newRow("relay 1") << 19 << 18 << "Реле 1";
    QTest::newRow("output 2") << 22 << 18 << "Выход 2";
    QTest::newRow("scenarios under outputs") << 23 << 18 << "Сценарии управления";
    QTest::newRow("system") << 24 << 0 << "Системные параметры";
}

void TstMainWindow::treeHoldsTheTwentyFivePages()
{
    QFETCH(int, page);
    QFETCH(int, parent);
    QFETCH(QString, text);
    MainWindowFixture f;
    TForm1 &form = f.Open();

    int count = 0;
    for (QTreeWidgetItemIterator it(form.TreeView1); *it != nullptr; ++it, ++count)
        QVERIFY((*it)->childCount() == 0 || (*it)->isExpanded());
    QCOMPARE(count, PageCount);
    QCOMPARE(form.NodeText(page), text);
    QCOMPARE(form.Node(page)->parent(), parent < 0 ? nullptr : form.Node(parent));
    QCOMPARE(form.TreeView1->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TstMainWindow::navigationStoresThePageLeftOnce_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("connection 3 to 5") << 4 << 6 << QStringList{"Store 4", "Enter 6", "Show 6", "AfterShow 6"};
    QTest::newRow("root stores nothing") << 0 << 1 << QStringList{"Enter 1", "Show 1", "AfterShow 1"};
    QTest::newRow("outputs store nothing") << 18 << 19 << QStringList{"Enter 19", "Show 19", "AfterShow 19"};
    QTest::newRow("outputs show nothing") << 1 << 18 << QStringList{"Store 1", "Enter 18", "AfterShow 18"};
    QTest::newRow("input to inputs") << 17 << 13 << QStringList{"Store 17", "Enter 13", "Show 13", "AfterShow 13"};
    QTest::newRow("scenarios to system") << 23 << 24 << QStringList{"Store 23", "Enter 24", "Show 24", "AfterShow 24"};
    QTest::newRow("system to root") << 24 << 0 << QStringList{"Store 24", "Enter 0", "AfterShow 0"};
}

void TstMainWindow::navigationStoresThePageLeftOnce()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, calls);
    MainWindowFixture f;
    TForm1 &form = f.Open();
    GoTo(f, from);

    form.SelectPage(to);
    QCOMPARE(f.log, calls);
    QCOMPARE(form.PreviousPage, to);
    ConfigPage *entered = form.PageFor(to);
    if (QLabel *title = entered->TitleLabel())
        QCOMPARE(title->text(), form.NodeText(to));
    for (int panel = 0; panel < PanelCount; ++panel)
        QCOMPARE(form.Panel(PanelId(panel))->isVisibleTo(&form), form.Panel(PanelId(panel)) == entered);
}

void TstMainWindow::selectingTheSameNodeDoesNothing()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    GoTo(f, Pages::FirstConnection + 3);
    form.SelectPage(Pages::FirstConnection + 3);
    form.TreeView1->setCurrentItem(form.Node(Pages::FirstConnection + 3));
    QVERIFY(f.log.isEmpty());
}

void TstMainWindow::userOpensPagesWithMouseAndKeys()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    f.log.clear();

    const QRect node = form.TreeView1->visualItemRect(form.Node(Pages::FirstInput + 1));
    QTest::mouseClick(form.TreeView1->viewport(), Qt::LeftButton, {}, node.center());
    QCOMPARE(f.log, QStringList({"Enter 15", "Show 15", "AfterShow 15"}));
    QCOMPARE(FindControl<QLabel>(&form, "Label10")->text(), QStringLiteral("Вход 2"));

    f.log.clear();
    QTest::keyClick(form.TreeView1, Qt::Key_Down);
    QCOMPARE(f.log, QStringList({"Store 15", "Enter 16", "Show 16", "AfterShow 16"}));
    QCOMPARE(FindControl<QLabel>(&form, "Label10")->text(), QStringLiteral("Вход 3"));
}

void TstMainWindow::treeFitsItsLongestNode_data()
{
    QTest::addColumn<qreal>("fontScale");
    QTest::addColumn<bool>("whileOpen"); // the desktop's font changes while the window is open
    QTest::newRow("the desktop's font") << 1.0 << false;
    QTest::newRow("a larger font") << 1.5 << false;
    QTest::newRow("a larger font, later") << 1.5 << true;
    QTest::newRow("a smaller font, later") << 0.8 << true;
}

void TstMainWindow::treeFitsItsLongestNode()
{
    QFETCH(qreal, fontScale);
    QFETCH(bool, whileOpen);
    const QFont desktopFont = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(desktopFont); });
    QFont font = desktopFont;
    font.setPointSizeF(font.pointSizeF() * fontScale);
    MainWindowFixture f;
    if (!whileOpen)
        QApplication::setFont(font);
    TForm1 &form = f.Open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (whileOpen)
        QApplication::setFont(font);
    QApplication::processEvents();
    QTreeWidget *tree = form.TreeView1;
    const QFontMetrics metrics(tree->font());
    QCOMPARE(metrics.height(), QFontMetrics(font).height());
    for (int page = 0; page < PageCount; ++page) {
        const QRect node = tree->visualItemRect(form.Node(page));
        const QString text = form.NodeText(page);
        QVERIFY2(node.width() >= metrics.horizontalAdvance(text), qPrintable(text));
        QVERIFY2(node.right() < tree->viewport()->width(), qPrintable(text));
    }
    QCOMPARE(tree->horizontalScrollBar()->maximum(), 0);

    // The window's size leaves it as it is.
    const int width = tree->width();
    for (int windowWidth : {form.width() + 300, form.width() - 200}) {
        form.resize(windowWidth, form.height());
        QApplication::processEvents();
        QCOMPARE(tree->width(), width);
    }
}

void TstMainWindow::collapsingTheShownPagesBranchSelectsIt_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("collapsed");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("connection 3, its branch") << 4 << 1 << QStringList{"Store 4", "Enter 1", "Show 1", "AfterShow 1"};
    QTest::newRow("input 2, its branch") << 15 << 13 << QStringList{"Store 15", "Enter 13", "Show 13", "AfterShow 13"};
    QTest::newRow("scenarios, the outputs") << 23 << 18 << QStringList{"Store 23", "Enter 18", "AfterShow 18"};
    QTest::newRow("connection 3, the root") << 4 << 0 << QStringList{"Store 4", "Enter 0", "AfterShow 0"};
    QTest::newRow("the branch itself") << 13 << 13 << QStringList{};
    QTest::newRow("another branch") << 4 << 13 << QStringList{};
}

// As in the Windows tree: the shown page does not stay on screen without its node.
void TstMainWindow::collapsingTheShownPagesBranchSelectsIt()
{
    QFETCH(int, shown);
    QFETCH(int, collapsed);
    QFETCH(QStringList, log);
    MainWindowFixture f;
    TForm1 &form = f.Open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.SelectPage(shown);
    f.log.clear();

    // The user's click on the branch's expander.
    QTreeWidget *tree = form.TreeView1;
    const QRect node = tree->visualItemRect(form.Node(collapsed));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(node.left() - tree->indentation() / 2, node.center().y()));

    QVERIFY(!form.Node(collapsed)->isExpanded());
    QCOMPARE(f.log, log);
    QCOMPARE(form.CurrentPage(), log.isEmpty() ? shown : collapsed);
    QCOMPARE(form.PreviousPage, form.CurrentPage());
    QVERIFY(tree->currentItem()->isSelected());
}

void TstMainWindow::keysRightAfterStartUpChangeNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("Space") << int(Qt::Key_Space) << " ";
    QTest::newRow("Return") << int(Qt::Key_Return) << "\r";
}

// The tool buttons are speed buttons: they never hold the focus, so a key
// pressed at once reaches the tree and no button's action.
void TstMainWindow::keysRightAfterStartUpChangeNothing()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    MainWindowFixture f;
    ConfigImage edited = DefaultImage();
    RecordView<ConnectionRecord>(edited, 0).Set(ConnectionRecord::Phone, u"+79001234567");
    QCOMPARE(SaveConfigFile(f.Path("default.cnt"), edited), int(frOk));
    TForm1 &form = f.Open();
    const QList<QToolButton *> buttons = form.findChildren<QToolButton *>(QRegularExpression("^SpeedButton"));
    QCOMPARE(buttons.size(), 9);
    for (const QToolButton *button : buttons)
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);

    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.TreeView1);
    f.log.clear();
    wsi::Key(&form, key, text);
    QTRY_VERIFY(!wsi::Queued());
    QCoreApplication::processEvents();
    QVERIFY(form.ControllerConfig.ConfigImage == edited);
    QCOMPARE(form.CurrentPage(), Pages::LiveState);
    QCOMPARE(f.log, QStringList());
    QVERIFY(f.dialogs.messages.isEmpty());
}

// From the tree the Tab key walks the root page as it reads: the mode
// buttons, the support mail below them, then the inputs' buttons.
void TstMainWindow::rootPageTabsInReadingOrder()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.TreeView1);
    QStringList order;
    for (QWidget *before = form.TreeView1; order.size() < 60;) {
        wsi::Key(&form, Qt::Key_Tab);
        QTRY_VERIFY(QApplication::focusWidget() != before);
        before = QApplication::focusWidget();
        if (before == form.TreeView1)
            break;
        order << before->objectName();
    }
    const qsizetype arm = order.indexOf("Button18"), disarm = order.indexOf("Button19"),
                    mail = order.indexOf("Button21"), input = order.indexOf("Button25");
    QVERIFY2(arm >= 0 && arm < disarm && disarm < mail && mail < input, qPrintable(order.join(' ')));
}

void TstMainWindow::systemParameterPageDisablesSixActions()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    const QStringList six{"Programm", "ReadConf", "CompareConf", "Reconfigurate", "Reset", "FactoryConfig"};
    const QStringList others{"FileOpen1", "FileSave1", "FileNew1", "ComPortConfig", "Abaut", "ReadIMEICode"};
    const auto enabled = [&form](const QStringList &names) {
        QList<bool> states;
        for (const QString &name : names)
            states << FindControl<QAction>(&form, name)->isEnabled();
        return states;
    };
    const QList<bool> allOn(6, true), allOff(6, false);

    form.SelectPage(Pages::SystemParameters);
    QCOMPARE(enabled(six), allOff);
    QCOMPARE(enabled(others), allOn);
    QVERIFY(!FindControl<QAction>(&form, "N10")->isEnabled()); // the menu item follows its action

    form.SelectPage(Pages::FirstConnection + 1);
    QCOMPARE(enabled(six), allOn);
    form.SelectPage(Pages::SystemParameters);
    form.SelectPage(Pages::LiveState);
    QCOMPARE(enabled(six), allOn);
}

void TstMainWindow::dividerCannotBeMoved()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<int> before = form.Splitter1->sizes();
    QCOMPARE(Drag(form.Splitter1, 120), before);

    // The same drag moves a divider that does not refuse.
    TSplitter free(Qt::Horizontal);
    free.addWidget(new QWidget);
    free.addWidget(new QWidget);
    free.resize(600, 200);
    free.show();
    QVERIFY(QTest::qWaitForWindowExposed(&free));
    const QList<int> freeBefore = free.sizes();
    QVERIFY(Drag(&free, 120) != freeBefore);
}

void TstMainWindow::menuItemsAndButtonsFollowTheirActions_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("N2") << "N2" << "FileOpen1" << "Открыть файл конфигурации..." << QKeySequence();
    QTest::newRow("N3") << "N3" << "FileSave1" << "Сохранить текущую конфигурацию в файл..." << QKeySequence();
    QTest::newRow("N13") << "N13" << "FileNew1" << "Установить стандартную конфигурацию" << QKeySequence();
    QTest::newRow("COMPortSetup") << "COMPortSetup" << "ComPortConfig" << "COM порт..." << QKeySequence();
    QTest::newRow("N10") << "N10" << "Programm" << "Программировать" << QKeySequence(Qt::Key_F5);
    QTest::newRow("N11") << "N11" << "ReadConf" << "Считать" << QKeySequence(Qt::Key_F6);
    QTest::newRow("N12") << "N12" << "CompareConf" << "Сравнить" << QKeySequence(Qt::Key_F7);
    QTest::newRow("ReadIMEICode1") << "ReadIMEICode1" << "ReadIMEICode" << "Считать IMEI контроллера в буфер обмена"
                                   << QKeySequence(Qt::Key_F10);
    QTest::newRow("Reconfigurate1") << "Reconfigurate1" << "Reconfigurate" << "Реконфигурировать" << QKeySequence();
    QTest::newRow("Reset1") << "Reset1" << "Reset" << "Перезапустить (Системный сброс)" << QKeySequence();
    QTest::newRow("N5") << "N5" << "FactoryConfig" << "Восстановить заводскую конфигурацию" << QKeySequence();
    QTest::newRow("SpeedButton7") << "SpeedButton7" << "FileNew1" << "" << QKeySequence();
    QTest::newRow("SpeedButton2") << "SpeedButton2" << "FileOpen1" << "" << QKeySequence();
    QTest::newRow("SpeedButton3") << "SpeedButton3" << "FileSave1" << "" << QKeySequence();
    QTest::newRow("SpeedButton6") << "SpeedButton6" << "Programm" << "Программировать" << QKeySequence();
    QTest::newRow("SpeedButton8") << "SpeedButton8" << "ReadConf" << "Считать" << QKeySequence();
    QTest::newRow("SpeedButton1") << "SpeedButton1" << "CompareConf" << "Сравнить" << QKeySequence();
    QTest::newRow("SpeedButton4") << "SpeedButton4" << "Reconfigurate" << "Реконфигурировать" << QKeySequence();
    QTest::newRow("SpeedButton9") << "SpeedButton9" << "Reset" << "Перезапустить (Системный сброс)" << QKeySequence();
    QTest::newRow("SpeedButton5") << "SpeedButton5" << "ComPortConfig" << "COM порт..." << QKeySequence();
}

void TstMainWindow::menuItemsAndButtonsFollowTheirActions()
{
    QFETCH(QString, item);
    QFETCH(QString, action);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    MainWindowFixture f;
    TForm1 &form = f.Open();
    QAction *bound = FindControl<QAction>(&form, action);
    QVERIFY(bound != nullptr);
    // Only the binding is checked here: the window's handler does not run.
    QObject::disconnect(bound, &QAction::triggered, &form, nullptr);
    QSignalSpy triggered(bound, &QAction::triggered);
    QAction *menuItem = FindControl<QAction>(&form, item);
    auto *button = FindControl<QToolButton>(&form, item);
    QVERIFY((menuItem != nullptr) != (button != nullptr));

    if (menuItem != nullptr) {
        QCOMPARE(menuItem->text(), caption);
        QCOMPARE(menuItem->shortcut(), shortcut);
        QCOMPARE(bound->shortcut(), shortcut);
        menuItem->trigger();
    } else {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), bound->toolTip());
        button->click();
    }
    QCOMPARE(triggered.count(), 1);

    bound->setEnabled(false);
    QVERIFY(menuItem != nullptr ? !menuItem->isEnabled() : !button->isEnabled());
    bound->setEnabled(true);
    QVERIFY(menuItem != nullptr ? menuItem->isEnabled() : button->isEnabled());
}

void TstMainWindow::deviceActionsAreSetInTableOrder()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    QStringList order;
    for (const char *name : {"Programm", "ReadConf", "CompareConf", "FactoryConfig", "Reset", "Reconfigurate",
                             "FileOpen1", "FileSave1", "FileNew1", "ComPortConfig", "Abaut", "ReadIMEICode"}) {
        QAction *action = FindControl<QAction>(&form, name);
        connect(action, &QAction::enabledChanged, this, [&order, action] { order << action->objectName(); });
    }
    const QStringList table{"Programm", "ReadConf", "CompareConf", "FactoryConfig", "Reset",
                            "Reconfigurate", "FileOpen1", "FileSave1", "FileNew1", "ComPortConfig"};

    form.DisableDeviceActions();
    QCOMPARE(order, table);
    QVERIFY(form.Abaut->isEnabled());
    QVERIFY(form.ReadIMEICode->isEnabled());
    QVERIFY(!FindControl<QToolButton>(&form, "SpeedButton5")->isEnabled());
    order.clear();
    form.EnableDeviceActions();
    QCOMPARE(order, table);
}

void TstMainWindow::timerEnablesTheActions()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    form.DisableDeviceActions();
    form.Timer2->start();
    QTRY_VERIFY_WITH_TIMEOUT(!form.Timer2->isActive(), 30000);
    for (QAction *action : form.DeviceActions())
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
}

void TstMainWindow::closingWaitsForTheActionsThenSaves_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("window closed") << false;
    QTest::newRow("menu item Закрыть") << true;
}

void TstMainWindow::closingWaitsForTheActionsThenSaves()
{
    QFETCH(bool, byMenu);
    MainWindowFixture f;
    f.onStore = [](int page, ControllerConfig &config) {
        RecordView<ConnectionRecord>(config.ConfigImage, page - Pages::FirstConnection)
            .Set(ConnectionRecord::Phone, u"+70001112233");
    };
    TForm1 &form = f.Open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ComPort1.SetPort(QStringLiteral("COM3"));
    GoTo(f, Pages::FirstConnection + 2);
    const auto close = [&] {
        if (byMenu)
            FindControl<QAction>(&form, "N7")->trigger();
        else
            form.close();
    };

    form.DisableDeviceActions(); // as while a device action runs
    close();
    QVERIFY(form.isVisible());
    QVERIFY(f.log.isEmpty());
    QVERIFY(!QFile::exists(f.Path("default.cnt")));
    QVERIFY(!QFile::exists(f.Path("QRVConfig.cfg")));

    form.EnableDeviceActions();
    close();
    QVERIFY(!form.isVisible());
    QCOMPARE(f.log, QStringList{"Store 4"});
    QString port;
    QCOMPARE(LoadProgramSettings(f.dir.path(), port), int(frOk));
    QCOMPARE(port, QStringLiteral("COM3"));
    ConfigImage saved{};
    QCOMPARE(LoadConfigFile(f.Path("default.cnt"), saved), int(frOk));
    QCOMPARE(RecordView<ConnectionRecord>(saved, 2).Get(ConnectionRecord::Phone), QStringLiteral("+70001112233"));
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
