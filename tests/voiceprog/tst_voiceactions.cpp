// The voice programmer's device actions through its window, against the
// controller simulator: program, read back and compare the voice memory, the
// version gate, the password, failures, the locked controls and port panel
// during an action, and a close request while one runs.
#include "toolkit/widgets/CloseOnSignal.h"
#include "toolkit/GuiQueue.h"
#include "link/Readdata.h"
#include "tests/voiceprog/VoiceWindowFixture.h"
#include "toolkit/widgets/WidgetViews.h"
#include "tests/support/WindowSystemInput.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <csignal>
#include <map>
#include <unistd.h>

using namespace voicetest;
using qrvsim::Fault;
using qrvsim::FrameRecord;

Q_DECLARE_METATYPE(VoiceDeviceAction)

namespace {

constexpr quint8 IdentifyCommand = 0x05;
constexpr quint8 PasswordCommand = 0x11;
constexpr quint8 VoiceWriteCommand = 0x01;
constexpr quint8 VoiceReadCommand = 0x02;
constexpr int VoiceBlocks = int(VoiceImageSize / 256);

void Run(TForm1 &w, VoiceDeviceAction action)
{
    switch (action) {
    case VoiceDeviceAction::Program: w.Programm->trigger(); break;
    case VoiceDeviceAction::Read: w.ReadConf->trigger(); break;
    case VoiceDeviceAction::Compare: w.CompareConf->trigger(); break;
    }
}

QByteArray ImageBytes(const VoiceBank &bank)
{
    return QByteArray(reinterpret_cast<const char *>(bank.Image().data()), qsizetype(VoiceImageSize));
}

QByteArray SlotBytes(const VoiceBank &bank, int slot)
{
    const auto codes = bank.SlotCodes(std::uint8_t(slot));
    return QByteArray(reinterpret_cast<const char *>(codes.data()), qsizetype(codes.size()));
}

// The ten controls an action locks, in their order.
QList<bool> DeviceControlsEnabled(const TForm1 &w)
{
    return {w.Programm->isEnabled(),  w.ReadConf->isEnabled(),      w.CompareConf->isEnabled(),
            w.FileOpen1->isEnabled(), w.FileSave1->isEnabled(),     w.FileNew1->isEnabled(),
            w.ComPortConfig->isEnabled(), w.BitBtn1->isEnabled(), w.BitBtn2->isEnabled(),
            w.ComboBoxEvents->isEnabled()};
}
const QList<bool> AllEnabled(10, true);
const QList<bool> AllDisabled(10, false);

QList<quint8> FrameCommands(const QList<FrameRecord> &log)
{
    QList<quint8> commands;
    for (const FrameRecord &r : log) {
        if (r.kind == FrameRecord::Kind::Frame)
            commands << r.command;
    }
    return commands;
}

// Runs each step on the GUI thread once the simulator has answered its number
// of voice-memory write (or read) frames. The steps go through the workers'
// own queue, which the waiting GUI thread empties before the action goes on:
// so they run while the action runs, however far the GUI thread lags behind the wire.
void DuringTransfer(qrvsim::ControllerSimulator &sim, std::map<int, std::function<void()>> steps,
                    quint8 command = VoiceWriteCommand)
{
    auto seen = std::make_shared<int>(0);
    sim.setObserver([seen, command, steps = std::move(steps)](const FrameRecord &r) {
        if (r.kind != FrameRecord::Kind::Frame || r.command != command)
            return;
        const auto step = steps.find(++*seen);
        if (step != steps.end())
            gui::Post(step->second);
    });
}

// Notes the close requests that reach the window while an action runs.
class CloseWatch : public QObject {
public:
    explicit CloseWatch(TForm1 &window) : window_(window) { window.installEventFilter(this); }
    int duringAction = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close && window_.ActionRunning())
            ++duringAction;
        return false;
    }

private:
    TForm1 &window_;
};

} // namespace

class TstVoiceActions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SelectMemoryAreaTable(MemoryAreaTable::VoiceProgrammer); }

    void programReadCompareRoundTrip();
    void emptyBankProgramsWholeMemory();
    void unsupportedVersionGetsOnlyIdentification_data();
    void unsupportedVersionGetsOnlyIdentification();
    void noControllerEnablesEverythingAgain_data();
    void noControllerEnablesEverythingAgain();
    void refusedPasswordStopsBeforeTransfer_data();
    void refusedPasswordStopsBeforeTransfer();
    void failedReadKeepsMessages();
    void erasedControllerReadsAsEmptyBank();
    void readBackComparesEqualWhateverTheSpareNibbles();
    void controlsLockedAndPortPanelDuringAction();
    void inputDuringACompareStartsNothing();
    void closeRequestWaitsForActionEnd_data();
    void closeRequestWaitsForActionEnd();
};

void TstVoiceActions::programReadCompareRoundTrip()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(3, Wav(24000, 1), QStringLiteral("a.wav"));
    f.Import(40, Wav(8001, 2), QStringLiteral("b.wav"));
    QVERIFY(f.dialogs.boxes.empty());
    const QByteArray slot3 = SlotBytes(w.Bank(), 3);
    const QByteArray slot40 = SlotBytes(w.Bank(), 40);

    w.ProgrammExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Программирование завершено успешно"));
    QCOMPARE(TextColour(w.ActionName), ToQColor(clBlue));
    QCOMPARE(w.StatusPanel(VersionPanel), QStringLiteral("S.01.01"));
    QCOMPARE(f.sim->area(maVoiceImage), ImageBytes(w.Bank()));
    const QList<FrameRecord> programLog = f.sim->log();
    const QList<quint8> programCommands = FrameCommands(programLog);
    QCOMPARE(programCommands.mid(0, 2), QList<quint8>({IdentifyCommand, PasswordCommand}));
    QCOMPARE(programCommands.count(VoiceWriteCommand), VoiceBlocks);
    QCOMPARE(programCommands.count(VoiceReadCommand), VoiceBlocks);
    // Nothing follows the verified write.
    QCOMPARE(programCommands.back(), VoiceReadCommand);

    // Read back into an emptied bank: the messages return.
    w.FileNew1Execute();
    w.ComboBoxEvents->setCurrentIndex(40);
    f.sim->clearLog();
    w.ReadConfExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные считаны"));
    QCOMPARE(w.Bank().SampleCount(3), 24000u);
    QCOMPARE(w.Bank().SampleCount(40), 8001u);
    QCOMPARE(SlotBytes(w.Bank(), 3), slot3);
    QCOMPARE(SlotBytes(w.Bank(), 40), slot40);
    QCOMPARE(w.Bank().UsedSamples(), 32001u);
    QCOMPARE(w.ComboBoxEvents->currentIndex(), 40);
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("1 Сек."));
    QCOMPARE(w.Label3->text(), QStringLiteral("Занято: 4 Сек.    Свободно: 257.8 Сек."));
    QCOMPARE(FrameCommands(f.sim->log()).mid(0, 2), QList<quint8>({IdentifyCommand, PasswordCommand}));

    // Compare: equal, without a password.
    f.sim->clearLog();
    w.CompareConfExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные в памяти контроллера аналогичны текущим"));
    QCOMPARE(TextColour(w.ActionName), ToQColor(clBlue));
    QVERIFY(!FrameCommands(f.sim->log()).contains(PasswordCommand));
    QCOMPARE(FrameCommands(f.sim->log()).count(VoiceReadCommand), VoiceBlocks);

    // One byte different in the controller.
    QVERIFY(f.sim->flipByteInArea(maVoiceImage, 700000));
    w.CompareConfExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные в памяти контроллера отличаются от текущих"));
    QCOMPARE(TextColour(w.ActionName), ToQColor(clRed));
    QCOMPARE(DeviceControlsEnabled(w), AllEnabled);
}

void TstVoiceActions::emptyBankProgramsWholeMemory()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    w.ProgrammExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Программирование завершено успешно"));
    quint32 next = 0;
    for (const FrameRecord &r : f.sim->log()) {
        if (r.command != VoiceWriteCommand)
            continue;
        QCOMPARE(r.address, next);
        next += r.count;
    }
    QCOMPARE(next, VoiceImageSize);
    VoiceBank empty;
    empty.BuildImage();
    QCOMPARE(f.sim->area(maVoiceImage), ImageBytes(empty));
    QCOMPARE(w.ProgressBar2->value(), int(VoiceImageSize));
    // The password frame is the empty one: 05 11 00 00 EF.
    for (const FrameRecord &r : f.sim->log()) {
        if (r.command == PasswordCommand)
            QVERIFY(r.payload.isEmpty() && r.checksumOk);
    }
}

void TstVoiceActions::unsupportedVersionGetsOnlyIdentification_data()
{
    QTest::addColumn<VoiceDeviceAction>("action");
    QTest::addColumn<QByteArray>("modification");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<QString>("version");
    QTest::newRow("program, firmware") << VoiceDeviceAction::Program << QByteArray("S") << 0x0109 << "S.01.09";
    QTest::newRow("read, lower case") << VoiceDeviceAction::Read << QByteArray("s") << 0x0101 << "s.01.01";
    QTest::newRow("compare, modification") << VoiceDeviceAction::Compare << QByteArray("X") << 0x0101 << "X.01.01";
}

void TstVoiceActions::unsupportedVersionGetsOnlyIdentification()
{
    QFETCH(VoiceDeviceAction, action);
    QFETCH(QByteArray, modification);
    QFETCH(int, firmware);
    QFETCH(QString, version);
    VoiceWindowFixture f;
    qrvsim::SimIdentity identity;
    identity.deviceName = "QRV610"; // the model is not judged
    identity.modification = modification;
    identity.firmwareVersion = quint16(firmware);
    f.sim->setIdentity(identity);
    TForm1 &w = f.Open();
    f.Import(1, Wav(500), QStringLiteral("a.wav"));
    const QByteArray before = SlotBytes(w.Bank(), 1);

    Run(w, action);
    QCOMPARE(w.ActionName->text(), QStringLiteral("Версия ") + version + QStringLiteral(" не поддерживается"));
    QCOMPARE(TextColour(w.ActionName), ToQColor(clBlue));
    QCOMPARE(w.StatusPanel(VersionPanel), version);
    QCOMPARE(FrameCommands(f.sim->log()), QList<quint8>({IdentifyCommand}));
    QCOMPARE(SlotBytes(w.Bank(), 1), before);
    QCOMPARE(DeviceControlsEnabled(w), AllEnabled);
}

void TstVoiceActions::noControllerEnablesEverythingAgain_data()
{
    QTest::addColumn<VoiceDeviceAction>("action");
    QTest::addColumn<bool>("silent"); // a controller on the port that never answers
    QTest::addColumn<QString>("text");
    QTest::newRow("program, no device") << VoiceDeviceAction::Program << false << "Невозможно открыть COM8";
    QTest::newRow("read, no device") << VoiceDeviceAction::Read << false << "Невозможно открыть COM8";
    QTest::newRow("compare, no device") << VoiceDeviceAction::Compare << false << "Невозможно открыть COM8";
    QTest::newRow("read, silent") << VoiceDeviceAction::Read << true << "Нет ответа от устройства";
}

void TstVoiceActions::noControllerEnablesEverythingAgain()
{
    QFETCH(VoiceDeviceAction, action);
    QFETCH(bool, silent);
    QFETCH(QString, text);
    VoiceWindowFixture f;
    if (!silent)
        f.UsePort(8);
    f.sim->setFault(Fault::noReply());
    TForm1 &w = f.Open();
    f.Import(1, Wav(500), QStringLiteral("a.wav"));
    const QByteArray before = SlotBytes(w.Bank(), 1);

    Run(w, action);
    QCOMPARE(w.ActionName->text(), text);
    QCOMPARE(TextColour(w.ActionName), ToQColor(clRed));
    QCOMPARE(w.StatusPanel(VersionPanel), QStringLiteral("--------.--.--"));
    QCOMPARE(DeviceControlsEnabled(w), AllEnabled);
    QCOMPARE(SlotBytes(w.Bank(), 1), before);
    QVERIFY(!FrameCommands(f.sim->log()).contains(PasswordCommand));
    QVERIFY(!w.ComPort1.Connected());
}

void TstVoiceActions::refusedPasswordStopsBeforeTransfer_data()
{
    QTest::addColumn<VoiceDeviceAction>("action");
    QTest::newRow("program") << VoiceDeviceAction::Program;
    QTest::newRow("read") << VoiceDeviceAction::Read;
}

void TstVoiceActions::refusedPasswordStopsBeforeTransfer()
{
    QFETCH(VoiceDeviceAction, action);
    VoiceWindowFixture f;
    f.sim->setPassword("secret");
    f.sim->setLocked(true);
    TForm1 &w = f.Open();
    f.Import(1, Wav(500), QStringLiteral("a.wav"));
    const QByteArray before = SlotBytes(w.Bank(), 1);

    Run(w, action);
    QCOMPARE(w.ActionName->text(), w.StatusMessages.at(19));
    QCOMPARE(TextColour(w.ActionName), ToQColor(clRed));
    QCOMPARE(FrameCommands(f.sim->log()), QList<quint8>({IdentifyCommand, PasswordCommand}));
    QCOMPARE(SlotBytes(w.Bank(), 1), before);
    QCOMPARE(DeviceControlsEnabled(w), AllEnabled);
}

void TstVoiceActions::failedReadKeepsMessages()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(10, Wav(3000), QStringLiteral("a.wav"));
    const QByteArray before = SlotBytes(w.Bank(), 10);
    f.sim->setFault(Fault::noReply(VoiceReadCommand).after(100));
    w.ReadConfExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Ошибка передачи данных, код 1"));
    QCOMPARE(w.Bank().UsedSamples(), 3000u);
    QCOMPARE(SlotBytes(w.Bank(), 10), before);
    QCOMPARE(DeviceControlsEnabled(w), AllEnabled);
}

void TstVoiceActions::erasedControllerReadsAsEmptyBank()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(10, Wav(3000), QStringLiteral("a.wav"));
    // The simulator's voice memory starts erased: every byte 0xFF.
    w.ReadConfExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные считаны"));
    QVERIFY(w.Bank().UsedSamples() <= VoiceCapacity);
    for (int slot = VoiceEventCount; slot < VoiceSlotCount; ++slot)
        QCOMPARE(w.Bank().SampleCount(std::uint8_t(slot)), 0u);
    // What was read builds an image that stays inside the memory.
    w.Bank().BuildImage();
}

// A controller's memory with something in the spare high nibble of an odd
// message's last byte: read back, it compares equal and programs the same bytes.
void TstVoiceActions::readBackComparesEqualWhateverTheSpareNibbles()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    VoiceBank controller;
    for (int k = 0; k < 8001; ++k)
        controller.AppendSample(40, std::int16_t(k * 13));
    controller.BuildImage();
    QByteArray memory = ImageBytes(controller);
    memory[VoiceDataStart + 4000] = char(memory[VoiceDataStart + 4000] | 0xC0);
    QVERIFY(f.sim->setArea(maVoiceImage, memory));

    w.ReadConfExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные считаны"));
    QCOMPARE(w.Bank().SampleCount(40), 8001u);
    w.CompareConfExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные в памяти контроллера аналогичны текущим"));
    w.ProgrammExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Программирование завершено успешно"));
    QCOMPARE(f.sim->area(maVoiceImage), memory);
}

void TstVoiceActions::controlsLockedAndPortPanelDuringAction()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    QCOMPARE(w.StatusPanel(PortPanel), SimPort);
    QList<bool> during;
    QString panelDuring;
    bool actionRunning = false;
    DuringTransfer(*f.sim, {{10, [&] {
                                      during = DeviceControlsEnabled(w);
                                      panelDuring = w.StatusPanel(PortPanel);
                                      actionRunning = w.ActionRunning();
                                  }}});
    w.ProgrammExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Программирование завершено успешно"));
    QCOMPARE(during, AllDisabled);
    QVERIFY(actionRunning);
    QCOMPARE(panelDuring, QStringLiteral("<COM7>"));
    QCOMPARE(w.StatusPanel(PortPanel), SimPort);
    QCOMPARE(DeviceControlsEnabled(w), AllEnabled);
    QVERIFY(w.Abaut->isEnabled() && w.N7->isEnabled());
}

// Clicks on the greyed "Сравнить", "Считать" and "Удалить" and on the menu
// "?", which stays enabled, during a compare: nothing after it, no menu
// opened, the bank in memory as it was.
void TstVoiceActions::inputDuringACompareStartsNothing()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(3, Wav(2000), QStringLiteral("a.wav"));
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const auto clickHelpMenu = [&] {
        wsi::ClickAt(w.MainMenu1, w.MainMenu1->actionGeometry(w.N14->menuAction()).center());
    };
    bool madeDuringCompare = false;
    bool helpMenuEnabled = false;
    DuringTransfer(
        *f.sim,
        {{50,
          [&] {
              madeDuringCompare = w.ActionRunning();
              helpMenuEnabled = w.N14->menuAction()->isEnabled() && w.Abaut->isEnabled();
              wsi::Click(w.SpeedButton9);
              wsi::Click(w.SpeedButton8);
              wsi::Click(w.BitBtn2);
              clickHelpMenu();
          }}},
        VoiceReadCommand);

    w.CompareConfExecute();
    QVERIFY(madeDuringCompare);
    QVERIFY(helpMenuEnabled);
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные в памяти контроллера отличаются от текущих"));
    // Input held back would be delivered now, with the controls enabled again.
    QTest::qWait(200);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QCOMPARE(FrameCommands(f.sim->log()).count(VoiceReadCommand), VoiceBlocks);
    QCOMPARE(w.Bank().SampleCount(3), 2000u);
    QCOMPARE(w.ActionName->text(), QStringLiteral("Данные в памяти контроллера отличаются от текущих"));

    // Outside an action the same click opens the menu.
    clickHelpMenu();
    QTRY_VERIFY(QApplication::activePopupWidget() == w.N14);
    w.N14->close();
}

void TstVoiceActions::closeRequestWaitsForActionEnd_data()
{
    QTest::addColumn<QString>("request");
    QTest::newRow("close request") << "close";
    QTest::newRow("window manager") << "window manager";
    QTest::newRow("SIGTERM") << "SIGTERM";
}

void TstVoiceActions::closeRequestWaitsForActionEnd()
{
    QFETCH(QString, request);
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    if (request == QLatin1String("window manager")) {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    CloseOnSignal closer(&w);
    CloseWatch watch(w);
    f.Import(3, Wav(2000), QStringLiteral("a.wav"));
    // True when the request was made (a direct close is refused at once).
    const auto ask = [&] {
        if (request == QLatin1String("SIGTERM"))
            return ::kill(::getpid(), SIGTERM) == 0;
        if (request == QLatin1String("close"))
            return !w.close();
        wsi::Close(&w);
        return true;
    };
    bool requested = false;
    DuringTransfer(*f.sim, {{50, [&] { requested = ask(); }}});
    w.ProgrammExecute();
    QVERIFY(requested);
    QCOMPARE(watch.duringAction, 1);
    QCOMPARE(w.ActionName->text(), QStringLiteral("Программирование завершено успешно"));
    QCOMPARE(f.sim->area(maVoiceImage), ImageBytes(w.Bank()));
    QVERIFY(!QFileInfo::exists(f.Path(QStringLiteral("default.vce"))));

    // Once the action is over, the window closes as it was asked to, saving its work.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(f.Path(QStringLiteral("default.vce"))), 10000);
    VoiceBank saved;
    QCOMPARE(LoadVoiceFile(f.Path(QStringLiteral("default.vce")), saved.Image()), 0);
    saved.ParseImage();
    QCOMPARE(saved.SampleCount(3), 2000u);
    QCOMPARE(QFileInfo(f.Path(QStringLiteral("plp.cfg"))).size(), VoiceSettingsFileSize);
}

QTEST_MAIN(TstVoiceActions)
#include "tst_voiceactions.moc"
