// The configuration transfer actions against the controller simulator: what
// each sends, in order, and what the window shows and holds afterwards.
#include "configurator/dialogs/Clearconfigform.h"
#include "common/Comportconfig.h"
#include "tests/configurator/DeviceFixture.h"
#include "tests/support/Bytes.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

using Handler = std::function<void(TForm1 &)>;
using Setup = std::function<void(DeviceFixture &)>;

ConfigImage EditedImage(const QString &phone)
{
    ConfigImage image = DefaultImage();
    RecordView<ConnectionRecord>(image, 0).Set(ConnectionRecord::Phone, phone);
    return image;
}

QByteArray DefaultModes()
{
    ControllerConfig config;
    CopyDefaultModeMemory(config);
    return Bytes(config.ModeMemory);
}

QList<quint8> WriteAndVerify(quint8 write, quint8 read, int blocks)
{
    return Repeated(write, blocks) << Repeated(read, blocks);
}

const QString NoValidConfiguration = QStringLiteral(
    "Контроллер не содержит достоверную конфигурацию.\nНастройте параметры как необходимо и запрограммируйте "
    "конфигурацию.");
const QString PasswordRefused = QStringLiteral(
    "Взаимодействие запрещено без указания пароля, команды чтения/записи и ряд управляющих команд не могут быть "
    "выполнены");

void ClickButton(TForm1 &form, const char *name)
{
    FindControl<QAbstractButton>(&form, QLatin1String(name))->click();
}

// Shut until opened from another thread.
class Gate {
public:
    void Open()
    {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }
    void Wait(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex_);
        opened_.wait_for(lock, limit, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

} // namespace

Q_DECLARE_METATYPE(Handler)
Q_DECLARE_METATYPE(qrvsim::Fault)
Q_DECLARE_METATYPE(Setup)

class TstActions : public QObject {
    Q_OBJECT
private slots:
    void conversations_data();
    void conversations();
    void pacedLine_data();
    void pacedLine();
    void readJudgesTheImageHeader_data();
    void readJudgesTheImageHeader();
    void gateStopsEveryHandler_data();
    void gateStopsEveryHandler();
    void noControllerLeavesTheWindowIdle_data();
    void noControllerLeavesTheWindowIdle();
    void refusedPasswordTransfersNothing_data();
    void refusedPasswordTransfersNothing();
    void failedImageWriteSendsNothingMore_data();
    void failedImageWriteSendsNothingMore();
    void timerAfterRestartStartsThePoller();
    void pollerAsksNothingWhileTheControllerRestarts();
    void commandDuringRestartWaitKeepsItsPoller();
    void factoryResetCountdown_data();
    void factoryResetCountdown();
    void systemParameters();
    void comPortDialogReplacesThePoller();
    void timerAndCloseWaitForTheHandler_data();
    void timerAndCloseWaitForTheHandler();
};

void TstActions::conversations_data()
{
    QTest::addColumn<Handler>("handler");
    QTest::addColumn<bool>("clearModes");
    QTest::addColumn<QList<quint8>>("frames");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("restarts"); // the poller and the actions wait for Timer2
    QTest::addColumn<QString>("controllerImage"); // area 1 afterwards: "controller" (as before), "window", "default"
    const int n = ImageBlocks;
    const QList<quint8> head{cmd::Identify, cmd::Password};
    const QString window = QStringLiteral("window");
    const QString controller = QStringLiteral("controller");

    QTest::newRow("read") << Handler(&TForm1::ReadConfExecute) << false
                          << (QList<quint8>(head) << Repeated(cmd::ReadImage, n)) << "Данные считаны" << false << controller;
    QTest::newRow("program") << Handler(&TForm1::ProgrammExecute) << false
                             << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n) << cmd::Restart)
                             << "Перезагрузка устройства инициированна" << true << window;
    QTest::newRow("program, clearing the modes")
        << Handler(&TForm1::ProgrammExecute) << true
        << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n) << cmd::WriteModes << cmd::ReadModes
                 << cmd::Restart)
        << "Перезагрузка устройства инициированна" << true << window;
    QTest::newRow("compare: no password")
        << Handler(&TForm1::CompareConfExecute) << false << (QList<quint8>{cmd::Identify} << Repeated(cmd::ReadImage, n))
        << "Данные в памяти контроллера отличаются от текущих" << false << controller;
    QTest::newRow("reconfigure") << Handler(&TForm1::ReconfigurateExecute) << false
                                 << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n) << cmd::Reconfigure)
                                 << "Программирование завершено успешно" << false << window;
    QTest::newRow("reconfigure, clearing the modes")
        << Handler(&TForm1::ReconfigurateExecute) << true
        << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n) << cmd::WriteModes << cmd::ReadModes
                 << cmd::Reconfigure)
        << "Программирование завершено успешно" << false << window;
    QTest::newRow("restart") << Handler(&TForm1::ResetExecute) << false << (QList<quint8>(head) << cmd::Restart)
                             << "Перезагрузка устройства инициированна" << true << controller;
    QTest::newRow("factory reset, empty password accepted")
        << Handler(&TForm1::FactoryConfigExecute) << false
        << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n) << cmd::WriteModes << cmd::ReadModes
                 << cmd::Reconfigure)
        << "Программирование завершено успешно" << false << QStringLiteral("default");
}

void TstActions::conversations()
{
    QFETCH(Handler, handler);
    QFETCH(bool, clearModes);
    QFETCH(QList<quint8>, frames);
    QFETCH(QString, shown);
    QFETCH(bool, restarts);
    QFETCH(QString, controllerImage);
    const bool factory = QTest::currentDataTag() == QByteArrayLiteral("factory reset, empty password accepted");
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.ControllerConfig.ConfigImage = EditedImage(QStringLiteral("+7111"));
    f.SetPasswords("pass", factory ? QByteArray() : QByteArray("pass"));
    QVERIFY(f.sim->setArea(1, Bytes(EditedImage(QStringLiteral("+7222")))));
    f.Get<QCheckBox>("CheckBoxClearSaveArea")->setChecked(clearModes);
    form.SelectPage(Pages::FirstConnection + 2);

    handler(form);

    QCOMPARE(f.HandlerCommands(), frames);
    if (frames.contains(cmd::Password))
        QCOMPARE(f.Payload(cmd::Password), PasswordPayload(factory ? QByteArray() : QByteArray("pass")));
    QCOMPARE(form.CurrentPage(), Pages::LiveState);
    QCOMPARE(f.Text("ActionName"), shown);
    const QByteArray expectedArea = controllerImage == QLatin1String("window")  ? Bytes(form.ControllerConfig.ConfigImage)
                                    : controllerImage == QLatin1String("default") ? Bytes(DefaultImage())
                                                                                  : Bytes(EditedImage(QStringLiteral("+7222")));
    QCOMPARE(f.sim->area(1), expectedArea);
    if (frames.contains(cmd::ReadImage) && !frames.contains(cmd::WriteImage))
        QCOMPARE(f.Get<QProgressBar>("ProgressBar1")->value(), ConfigImageSize);
    if (frames.contains(cmd::WriteModes)) {
        QCOMPARE(f.sim->area(4), DefaultModes());
        QCOMPARE(Bytes(form.ControllerConfig.ModeMemory), DefaultModes());
    }
    if (factory)
        QVERIFY(form.ControllerConfig.ConfigImage == DefaultImage());
    if (QTest::currentDataTag() == QByteArrayLiteral("read"))
        QCOMPARE(Bytes(form.ControllerConfig.ConfigImage), Bytes(EditedImage(QStringLiteral("+7222"))));

    if (restarts) {
        // The controller restarts: no poller and the actions locked until Timer2.
        QVERIFY(form.PanelThread == nullptr);
        QVERIFY(f.ActionsDisabled());
        QVERIFY(form.Timer2->isActive());
        QCOMPARE(form.Timer2->interval(), 3000);
        QCOMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("--------"));
    } else {
        QVERIFY(form.PanelThread != nullptr);
        QVERIFY(f.ActionsEnabled());
        QVERIFY(!form.Timer2->isActive());
        QCOMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("QRV240"));
    }
    QVERIFY(!form.ActionRunning());
}

// A line at the controller's speed, as the simulator paces it: every block
// goes once, with the port's own time-outs.
void TstActions::pacedLine_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<Handler>("handler");
    QTest::addColumn<QList<quint8>>("frames");
    QTest::addColumn<QString>("shown");
    const int n = ImageBlocks;
    const QList<quint8> head{cmd::Identify, cmd::Password};
    for (int baud : {19200, 115200}) {
        const QByteArray rate = QByteArray::number(baud);
        QTest::newRow("read at " + rate) << baud << Handler(&TForm1::ReadConfExecute)
                                         << (QList<quint8>(head) << Repeated(cmd::ReadImage, n)) << "Данные считаны";
        QTest::newRow("compare at " + rate)
            << baud << Handler(&TForm1::CompareConfExecute) << (QList<quint8>{cmd::Identify} << Repeated(cmd::ReadImage, n))
            << "Данные в памяти контроллера отличаются от текущих";
        QTest::newRow("program at " + rate)
            << baud << Handler(&TForm1::ProgrammExecute)
            << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n) << cmd::Restart)
            << "Перезагрузка устройства инициированна";
    }
}

void TstActions::pacedLine()
{
    QFETCH(int, baud);
    QFETCH(Handler, handler);
    QFETCH(QList<quint8>, frames);
    QFETCH(QString, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.ControllerConfig.ConfigImage = EditedImage(QStringLiteral("+7111"));
    f.SetPasswords("pass", "pass");
    QVERIFY(f.sim->setArea(1, Bytes(EditedImage(QStringLiteral("+7222")))));
    f.sim->setBaudRate(baud);

    handler(form);

    QCOMPARE(f.HandlerCommands(), frames);
    QCOMPARE(f.Text("ActionName"), shown);
    if (frames.contains(cmd::WriteImage))
        QCOMPARE(f.sim->area(1), Bytes(form.ControllerConfig.ConfigImage));
    else
        QCOMPARE(f.sim->area(1), Bytes(EditedImage(QStringLiteral("+7222"))));
}

void TstActions::readJudgesTheImageHeader_data()
{
    QTest::addColumn<QByteArray>("controller");
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<QString>("windowHeaderBefore"); // "default" or "other"
    QTest::addColumn<QString>("kept");               // "controller", "window" or "default"
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("panel0");
    const QByteArray valid = Bytes(EditedImage(QStringLiteral("+7222")));
    QByteArray otherVersion = valid;
    otherVersion[7] = '3'; // "v.01.03"
    QByteArray otherMarker = valid;
    otherMarker[0] = 0x02;

    QTest::newRow("valid header") << valid << false << "default" << "controller" << "Данные считаны" << "mine.cnt";
    QTest::newRow("erased controller") << QByteArray(ConfigImageSize, char(0xFF)) << false << "default" << "default"
                                       << NoValidConfiguration << "default.cnt";
    QTest::newRow("other version text") << otherVersion << false << "default" << "default" << NoValidConfiguration
                                        << "default.cnt";
    QTest::newRow("other marker") << otherMarker << false << "default" << "default" << NoValidConfiguration
                                  << "default.cnt";
    QTest::newRow("read fails, window image valid")
        << valid << true << "default" << "window" << "Ошибка передачи данных, код 2" << "mine.cnt";
    QTest::newRow("read fails, window image without the header")
        << valid << true << "other" << "default" << NoValidConfiguration << "default.cnt";
}

void TstActions::readJudgesTheImageHeader()
{
    QFETCH(QByteArray, controller);
    QFETCH(bool, readFails);
    QFETCH(QString, windowHeaderBefore);
    QFETCH(QString, kept);
    QFETCH(QString, shown);
    QFETCH(QString, panel0);
    DeviceFixture f;
    TForm1 &form = f.Form();
    QVERIFY(f.sim->setArea(1, controller));
    ConfigImage window = EditedImage(QStringLiteral("+7111"));
    if (windowHeaderBefore == QLatin1String("other"))
        window[0] = 0x00;
    form.ControllerConfig.ConfigImage = window;
    form.SetPanelText(FilePanel, QStringLiteral("mine.cnt"));
    if (readFails)
        f.sim->setFault(Fault::badChecksum(cmd::ReadImage).after(5)); // the sixth block

    form.ReadConfExecute();

    const QByteArray expected = kept == QLatin1String("controller") ? controller
                                : kept == QLatin1String("window")   ? Bytes(window)
                                                                    : Bytes(DefaultImage());
    QCOMPARE(Bytes(form.ControllerConfig.ConfigImage), expected);
    QCOMPARE(f.Text("ActionName"), shown);
    QCOMPARE(f.TextColour("ActionName"), shown == QStringLiteral("Данные считаны") ? Blue : Red);
    QCOMPARE(form.PanelText(FilePanel), panel0);
    QVERIFY(f.ActionsEnabled());
}

void TstActions::gateStopsEveryHandler_data()
{
    QTest::addColumn<Handler>("handler");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<QString>("shown");
    struct Row {
        const char *name;
        Handler handler;
        const char *status;
    };
    const Row rows[] = {
        {"read", &TForm1::ReadConfExecute, "ActionName"},
        {"program", &TForm1::ProgrammExecute, "ActionName"},
        {"compare", &TForm1::CompareConfExecute, "ActionName"},
        {"reconfigure", &TForm1::ReconfigurateExecute, "ActionName"},
        {"restart", &TForm1::ResetExecute, "ActionName"},
        {"factory reset", &TForm1::FactoryConfigExecute, "ActionName"},
        {"IMEI", &TForm1::ReadIMEICodeExecute, "ActionName"},
        {"output on", [](TForm1 &form) { ClickButton(form, "Button8"); }, "ActionName"},
        {"clock sync", [](TForm1 &form) { ClickButton(form, "Button3"); }, "ActionName"},
        {"system parameters read", &TForm1::BitBtnReadSysParClick, "LabelSysParMsg"},
        {"system parameters program", &TForm1::BitBtnProgSysParClick, "LabelSysParMsg"},
    };
    for (const Row &row : rows) {
        QTest::addRow("%s, model QRV610", row.name)
            << row.handler << row.status << QByteArray("QRV610") << 0x0101 << "Устройство QRV610 не поддерживается";
        QTest::addRow("%s, version S.01.02", row.name)
            << row.handler << row.status << QByteArray("QRV240") << 0x0102 << "Версия S.01.02 не поддерживается";
    }
}

void TstActions::gateStopsEveryHandler()
{
    QFETCH(Handler, handler);
    QFETCH(QString, status);
    QFETCH(QByteArray, model);
    QFETCH(int, firmware);
    QFETCH(QString, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    qrvsim::SimIdentity identity;
    identity.deviceName = model;
    identity.firmwareVersion = quint16(firmware);
    f.sim->setIdentity(identity);
    const bool systemPage = status == QLatin1String("LabelSysParMsg");
    if (systemPage)
        form.SelectPage(Pages::SystemParameters);
    const ConfigImage before = form.ControllerConfig.ConfigImage;

    handler(form);

    QCOMPARE(f.HandlerCommands(), QList<quint8>{cmd::Identify});
    QCOMPARE(f.Text(qPrintable(status)), shown);
    QCOMPARE(f.TextColour(qPrintable(status)), Blue); // as the identification left it
    QCOMPARE(f.Text("iDeviceNameLabel"), QString::fromLatin1(model));
    QVERIFY(form.ControllerConfig.ConfigImage == before);
    QVERIFY(form.PanelThread != nullptr);
    if (systemPage) {
        QCOMPARE(form.CurrentPage(), Pages::SystemParameters);
        QVERIFY(!form.Programm->isEnabled()); // the page keeps the six locked
        QVERIFY(form.ComPortConfig->isEnabled());
    } else {
        QVERIFY(f.ActionsEnabled());
    }
}

void TstActions::noControllerLeavesTheWindowIdle_data()
{
    QTest::addColumn<Handler>("handler");
    QTest::newRow("read") << Handler(&TForm1::ReadConfExecute);
    QTest::newRow("program") << Handler(&TForm1::ProgrammExecute);
    QTest::newRow("factory reset") << Handler(&TForm1::FactoryConfigExecute);
}

void TstActions::noControllerLeavesTheWindowIdle()
{
    QFETCH(Handler, handler);
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.ShowDeviceIdentity(DeviceIdentity{}); // something else than the placeholder
    form.ComPort1.SetPort(QStringLiteral("COM9")); // named nowhere
    const ConfigImage before = form.ControllerConfig.ConfigImage;

    handler(form);

    QCOMPARE(f.Text("ActionName"), QStringLiteral("Невозможно открыть COM9"));
    QCOMPARE(f.TextColour("ActionName"), Red);
    QCOMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("--------"));
    QCOMPARE(form.PanelText(VersionPanel), QStringLiteral("--------.--.--"));
    QVERIFY(form.ControllerConfig.ConfigImage == before);
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
    QVERIFY(f.HandlerCommands().isEmpty());
}

void TstActions::refusedPasswordTransfersNothing_data()
{
    QTest::addColumn<Handler>("handler");
    QTest::newRow("read") << Handler(&TForm1::ReadConfExecute);
    QTest::newRow("program") << Handler(&TForm1::ProgrammExecute);
    QTest::newRow("reconfigure") << Handler(&TForm1::ReconfigurateExecute);
    QTest::newRow("restart") << Handler(&TForm1::ResetExecute);
}

void TstActions::refusedPasswordTransfersNothing()
{
    QFETCH(Handler, handler);
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.SetPasswords("guess", "secret");
    const ConfigImage before = form.ControllerConfig.ConfigImage;

    handler(form);

    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password}));
    QCOMPARE(f.Text("ActionName"), PasswordRefused);
    QCOMPARE(f.TextColour("ActionName"), Red);
    QVERIFY(form.ControllerConfig.ConfigImage == before);
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
    QVERIFY(!form.Timer2->isActive());
}

void TstActions::failedImageWriteSendsNothingMore_data()
{
    QTest::addColumn<Handler>("handler");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QList<quint8>>("frames");
    QTest::addColumn<QString>("shown");
    const int n = ImageBlocks;
    const QList<quint8> head{cmd::Identify, cmd::Password};
    // Block 3 of the read-back comes back with one byte inverted.
    const Fault differs = Fault::flipReadData(3 * 256 + 10, cmd::ReadImage);
    const Fault flash = Fault::status(1, cmd::WriteImage).after(2);
    QTest::newRow("program: verification differs")
        << Handler(&TForm1::ProgrammExecute) << differs << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n))
        << "Ошибка, найдены несоответствия в данных";
    QTest::newRow("program: write refused")
        << Handler(&TForm1::ProgrammExecute) << flash << (QList<quint8>(head) << Repeated(cmd::WriteImage, 3))
        << "Внутренняя ошибка взаимодействия с FLASH памятью";
    QTest::newRow("reconfigure: verification differs")
        << Handler(&TForm1::ReconfigurateExecute) << differs
        << (QList<quint8>(head) << WriteAndVerify(cmd::WriteImage, cmd::ReadImage, n)) << "Ошибка, найдены несоответствия в данных";
    QTest::newRow("factory reset: write refused")
        << Handler(&TForm1::FactoryConfigExecute) << flash << (QList<quint8>(head) << Repeated(cmd::WriteImage, 3))
        << "Внутренняя ошибка взаимодействия с FLASH памятью";
}

void TstActions::failedImageWriteSendsNothingMore()
{
    QFETCH(Handler, handler);
    QFETCH(Fault, fault);
    QFETCH(QList<quint8>, frames);
    QFETCH(QString, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.Get<QCheckBox>("CheckBoxClearSaveArea")->setChecked(true);
    form.ControllerConfig.ConfigImage = EditedImage(QStringLiteral("+7111"));
    f.sim->setFault(fault);

    handler(form);

    QCOMPARE(f.HandlerCommands(), frames);
    QCOMPARE(f.Text("ActionName"), shown);
    QVERIFY(f.ActionsEnabled()); // at once, without waiting for a restart
    QVERIFY(form.PanelThread != nullptr);
    QVERIFY(!form.Timer2->isActive());
    // The factory reset has taken the default image whatever followed.
    const bool factory = QByteArray(QTest::currentDataTag()).startsWith("factory");
    QVERIFY(form.ControllerConfig.ConfigImage == (factory ? DefaultImage() : EditedImage(QStringLiteral("+7111"))));
}

void TstActions::timerAfterRestartStartsThePoller()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.ResetExecute();
    QVERIFY(form.PanelThread == nullptr);
    QVERIFY(f.ActionsDisabled());
    bool closeAllowed = true;
    form.FormCloseQuery(closeAllowed);
    QVERIFY(!closeAllowed); // still waiting for the restart

    QVERIFY(form.Timer2->isActive());
    QCOMPARE(form.Timer2->interval(), 3000);
    form.Timer2Timer(); // its tick, 3 s later
    QVERIFY(form.PanelThread != nullptr);
    QVERIFY(!form.Timer2->isActive());
    QCOMPARE(form.Timer2->interval(), 3000);
    QVERIFY(f.ActionsEnabled());
}

// The controller reboots for 3 s after the restart command: the poller's
// first identification comes no sooner.
void TstActions::pollerAsksNothingWhileTheControllerRestarts()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.ResetExecute();
    QTRY_VERIFY_WITH_TIMEOUT(f.Commands().count(cmd::Identify) >= 2, 20000);
    form.StopPoller();
    qint64 restartMs = -1, backMs = -1;
    for (const FrameRecord &r : f.sim->log()) {
        if (r.kind != FrameRecord::Kind::Frame)
            continue;
        if (r.command == cmd::Restart)
            restartMs = r.atMs;
        else if (r.command == cmd::Identify && restartMs >= 0 && backMs < 0)
            backMs = r.atMs;
    }
    QVERIFY(restartMs >= 0 && backMs >= 0);
    QVERIFY2(backMs - restartMs >= 3000, qPrintable(QString::number(backMs - restartMs)));
    QVERIFY(f.ActionsEnabled());
}

void TstActions::commandDuringRestartWaitKeepsItsPoller()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.ProgrammExecute();
    QVERIFY(form.Timer2->isActive());
    ClickButton(form, "Button9"); // not one of the ten actions: usable meanwhile
    TMainPanelControl *poller = form.PanelThread;
    QVERIFY(poller != nullptr);

    form.Timer2Timer();
    QCOMPARE(form.PanelThread, poller);
    QVERIFY(!form.Timer2->isActive());
    QVERIFY(f.ActionsEnabled());
}

void TstActions::factoryResetCountdown_data()
{
    QTest::addColumn<QString>("ending"); // "runs out", "cancelled", "link lost"
    QTest::newRow("runs out") << "runs out";
    QTest::newRow("cancelled") << "cancelled";
    QTest::newRow("link lost") << "link lost";
}

void TstActions::factoryResetCountdown()
{
    QFETCH(QString, ending);
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.SetPasswords("secret", "secret"); // the empty password is refused
    form.ControllerConfig.ConfigImage = EditedImage(QStringLiteral("+7111"));
    if (ending == QLatin1String("link lost"))
        f.sim->setFault(Fault::unplug(cmd::Identify, 1)); // at the poller's identification
    bool answered = false;
    bool pollerOnline = false;
    AnswerModal<TFormClearConfig>(this, [&](TFormClearConfig &dialog) {
        answered = true;
        QCOMPARE(dialog.LabelCountDoenSec->text(), QStringLiteral("1800 Сек."));
        QVERIFY(form.PanelThread != nullptr); // watching the link
        if (ending == QLatin1String("cancelled")) {
            dialog.Button1->click();
            return;
        }
        if (ending == QLatin1String("runs out")) {
            pollerOnline = QTest::qWaitFor([&] { return form.PanelThread->DeviceOnline.load() == 1; }, 20000);
            dialog.Timer1->stop();
        }
        for (int tick = 0; tick <= 1800 && dialog.isVisible(); ++tick)
            dialog.Timer1Timer();
    });

    form.FactoryConfigExecute();

    QVERIFY(answered);
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
    // A countdown that did not run out leaves its poller running: what that
    // poller sent counts too.
    const bool ranOut = ending == QLatin1String("runs out");
    if (!ranOut)
        form.StopPoller();
    const QList<quint8> commands = f.HandlerCommands();
    QCOMPARE(commands.mid(0, 2), (QList<quint8>{cmd::Identify, cmd::Password}));
    QCOMPARE(f.Payload(cmd::Password), QByteArray(9, '\0'));
    QCOMPARE(commands.count(cmd::Password), 1);
    if (!ranOut) {
        for (quint8 c : commands)
            QVERIFY2(c == cmd::Identify || c == cmd::Password || c == cmd::ReadState, qPrintable(QString::number(c)));
        QVERIFY(form.ControllerConfig.ConfigImage == EditedImage(QStringLiteral("+7111")));
        return;
    }
    QVERIFY(pollerOnline);
    const QList<quint8> tail = WriteAndVerify(cmd::WriteImage, cmd::ReadImage, ImageBlocks)
                               << cmd::WriteModes << cmd::ReadModes << cmd::Reconfigure;
    QCOMPARE(commands.mid(commands.size() - tail.size()), tail);
    QCOMPARE(f.sim->area(1), Bytes(DefaultImage()));
    QCOMPARE(f.sim->area(4), DefaultModes());
    QVERIFY(form.ControllerConfig.ConfigImage == DefaultImage());
}

void TstActions::systemParameters()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.SetPasswords("pass", "pass");
    form.SelectPage(Pages::SystemParameters);
    auto *program = f.Get<QPushButton>("BitBtnProgSysPar");
    QVERIFY(!program->isEnabled());

    // A refused password leaves programming locked.
    f.sim->setPassword("other");
    ClickButton(form, "BitBtnReadSysPar");
    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password}));
    QVERIFY(!program->isEnabled());
    QCOMPARE(f.Text("LabelSysParMsg"), PasswordRefused);
    form.StopPoller();

    const QByteArray parameters("\x15\x01\x02\x00\x00\x00\x00\x00", 8);
    QVERIFY(f.sim->setArea(5, parameters));
    f.sim->setPassword("pass");
    f.sim->clearLog();
    ClickButton(form, "BitBtnReadSysPar");
    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password, cmd::ReadSystem}));
    QCOMPARE(Bytes(form.ControllerConfig.SystemParameters), parameters);
    QCOMPARE(f.Text("LabelSysParMsg"), QStringLiteral("Данные считаны"));
    QCOMPARE(f.Get<QProgressBar>("ProgressBarSysPar")->value(), 8);
    QVERIFY(program->isEnabled());
    QCOMPARE(form.CurrentPage(), Pages::SystemParameters);
    QVERIFY(!form.ReadConf->isEnabled()); // left as the page keeps them
    QVERIFY(form.PanelThread != nullptr);
    form.StopPoller();

    f.sim->clearLog();
    QVERIFY(f.sim->setArea(5, QByteArray(8, '\0')));
    ClickButton(form, "BitBtnProgSysPar");
    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password, cmd::WriteSystem, cmd::ReadSystem}));
    QCOMPARE(f.sim->area(5), Bytes(form.ControllerConfig.SystemParameters));
    QCOMPARE(f.Text("LabelSysParMsg"), QStringLiteral("Программирование завершено успешно"));
    QVERIFY(program->isEnabled());
    QVERIFY(form.PanelThread != nullptr);
}

void TstActions::comPortDialogReplacesThePoller()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.Texts().PortDialogCaption = QStringLiteral("Порт");
    form.StartPoller();
    bool shown = false;
    AnswerModal<TFormCOMPortConfig>(this, [&](TFormCOMPortConfig &dialog) {
        shown = true;
        QVERIFY(form.PanelThread == nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Порт"));
        QVERIFY(form.ComPortConfig->isEnabled()); // the dialog is modal instead
        dialog.Button2Click();
    });

    form.ComPortConfigExecute();

    QVERIFY(shown);
    QVERIFY(form.PanelThread != nullptr);
    QCOMPARE(form.PanelText(PortPanel), QStringLiteral("COM1"));
    QVERIFY(!f.PortOpenAtHandOver());
}

void TstActions::timerAndCloseWaitForTheHandler_data()
{
    QTest::addColumn<Handler>("handler");
    QTest::newRow("read") << Handler(&TForm1::ReadConfExecute);
    QTest::newRow("output command") << Handler([](TForm1 &form) { ClickButton(form, "Button8"); });
    QTest::newRow("system parameters read") << Handler(&TForm1::BitBtnReadSysParClick);
}

void TstActions::timerAndCloseWaitForTheHandler()
{
    QFETCH(Handler, handler);
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    int firedDuringHandler = 0;
    bool pollerDuringHandler = false;
    bool closedDuringHandler = false;
    // The controller answers once the timer has fired during the handler,
    // however slowly the machine runs.
    auto fired = std::make_shared<Gate>();
    f.sim->setObserver([fired](const FrameRecord &) { fired->Wait(std::chrono::seconds(20)); });
    // Runs after Timer2Timer at every tick.
    connect(form.Timer2, &QTimer::timeout, this, [&, fired] {
        if (!form.ActionRunning())
            return;
        ++firedDuringHandler;
        fired->Open();
        pollerDuringHandler |= form.PanelThread != nullptr;
        closedDuringHandler |= form.close();
    });
    form.Timer2->setInterval(0);
    form.Timer2->start();

    handler(form);

    QVERIFY(firedDuringHandler > 0);
    QVERIFY(!pollerDuringHandler);
    QVERIFY(!closedDuringHandler);
    QVERIFY(form.isVisible());
    QVERIFY(form.Timer2->isActive()); // it comes again
    TMainPanelControl *poller = form.PanelThread;
    QVERIFY(poller != nullptr);
    QTRY_VERIFY(!form.Timer2->isActive());
    QCOMPARE(form.PanelThread, poller);
    QVERIFY(form.close());
}

QTEST_MAIN(TstActions)
#include "tst_actions.moc"
