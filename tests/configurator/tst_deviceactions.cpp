// The configurator's device actions without a window: a window that only
// writes down what it is asked, the workers on a real port, the controller
// simulator on the other end.
#include "configurator/core/ConfigDeviceActions.h"
#include "configurator/core/ConfigFiles.h"
#include "configurator/core/ConfiguratorPort.h"
#include "link/Readdata.h"
#include "serial/ComPort.h"
#include "simulator/ControllerSimulator.h"
#include "tests/support/RecordingViews.h"
#include "simulator/ScopedPortTable.h"

#include <QTest>

using qrvsim::ControllerSimulator;
using qrvsim::Fault;

namespace {

namespace cmd {
constexpr quint8 Identify = 0x05, WriteImage = 0x06, ReadImage = 0x07, SetClock = 0x0D, Restart = 0x10,
                 Password = 0x11, Control = 0x14;
} // namespace cmd

class LoggingWindow : public ConfigActionWindow {
public:
    // What the window was asked, in order; `during` sees each request as it comes.
    QStringList log;
    std::function<void(const QString &)> during;
    bool countdownRunsOut = false;
    bool clearModes = false;

    void StopPoller() override { Note(QStringLiteral("StopPoller")); }
    void StartPoller() override { Note(QStringLiteral("StartPoller")); }
    bool PollerLostController() const override { return false; }
    void SetDeviceActionsEnabled(bool enabled) override
    {
        Note(enabled ? QStringLiteral("Unlock") : QStringLiteral("Lock"));
    }
    void SelectRootPage() override { Note(QStringLiteral("SelectRootPage")); }
    void StoreSelectedPage() override { Note(QStringLiteral("StoreSelectedPage")); }
    void ShowSelectedPage() override { Note(QStringLiteral("ShowSelectedPage")); }
    void Repaint() override {}
    void ShowDeviceIdentity(const DeviceIdentity &identity) override
    {
        Note(identity == EmptyDeviceIdentity() ? QStringLiteral("NoIdentity") : QStringLiteral("Identity"));
    }
    void SetPanelText(int panel, const QString &text) override
    {
        Note(QStringLiteral("Panel%1 %2").arg(panel).arg(text));
    }
    bool ClearModesAsked() const override { return clearModes; }
    void WaitForRestart() override { Note(QStringLiteral("WaitForRestart")); }
    bool RunResetCountdown() override
    {
        Note(QStringLiteral("Countdown"));
        return countdownRunsOut;
    }
    void AllowSystemParameterProgramming() override { Note(QStringLiteral("AllowSystemProgramming")); }
    void RunPortDialog() override { Note(QStringLiteral("PortDialog")); }
    void CopyToClipboard(const QString &text) override { Note(QStringLiteral("Clipboard ") + text); }
    void Warn(const QString &text, const QString &) override { Note(QStringLiteral("Warn ") + text); }

private:
    void Note(const QString &entry)
    {
        log << entry;
        if (during)
            during(entry);
    }
};

struct Actions {
    qrvsim::ScopedPortTable ports;
    ControllerSimulator sim{QStringLiteral("COM1"), ports.path()};
    TComPort port;
    QStringList messages;
    RecordingStatus actionStatus, commandStatus, systemStatus;
    RecordingProgress imageProgress, systemProgress;
    LoggingWindow window;
    ControllerConfig config;
    ConfigDeviceActions actions{{&port, &messages, &actionStatus, &commandStatus, &systemStatus, &imageProgress,
                                 &systemProgress},
                                window,
                                config};

    Actions()
    {
        FillStatusMessages(&messages);
        port.SetPort(QStringLiteral("COM1"));
        SetConfiguratorPortSettings(port);
        FactoryDefaults(config);
        sim.setArea(1, QByteArray(reinterpret_cast<const char *>(config.ConfigImage.data()), ConfigImageSize));
    }
};

} // namespace

class TstDeviceActions : public QObject {
    Q_OBJECT
private slots:
    void readLocksTheWindowAndGivesItBack();
    void programmingEndsLockedForTheRestart();
    void failureTextHeldUntilTheNextAction();
    void unservedControllerHearsNothingMore();
    void cancelledCountdownLeavesThePollerRunning();
    void systemParametersLeaveTheActionsAlone();
    void controlCommandResultInPanel3();
    void typedClock_data();
    void typedClock();
    void passwordBuffer_data();
    void passwordBuffer();
};

void TstDeviceActions::readLocksTheWindowAndGivesItBack()
{
    Actions a;
    bool runningInWait = false;
    a.window.during = [&](const QString &entry) {
        if (entry == QLatin1String("Identity"))
            runningInWait = a.actions.Running();
    };
    a.actions.ReadConfiguration();
    QVERIFY(runningInWait);
    QVERIFY(!a.actions.Running());
    QCOMPARE(a.window.log, QStringList({"StopPoller", "SelectRootPage", "Lock", "Identity", "Unlock", "StartPoller"}));
    QCOMPARE(a.sim.commands().mid(0, 3), QList<quint8>({cmd::Identify, cmd::Password, cmd::ReadImage}));
    QCOMPARE(a.actionStatus.last().colour, clBlue);
    QVERIFY(!a.actions.FailureTextHeld());
}

void TstDeviceActions::programmingEndsLockedForTheRestart()
{
    Actions a;
    a.actions.ProgramConfiguration();
    QCOMPARE(a.window.log,
             QStringList({"StopPoller", "SelectRootPage", "Lock", "Identity", "NoIdentity", "WaitForRestart"}));
    QCOMPARE(a.sim.commands().first(), cmd::Identify);
    QCOMPARE(a.sim.commands().last(), cmd::Restart);
    QVERIFY(a.sim.commands().contains(cmd::WriteImage));
}

void TstDeviceActions::failureTextHeldUntilTheNextAction()
{
    Actions a;
    a.sim.setFault(Fault::noReply(cmd::ReadImage));
    a.actions.ReadConfiguration();
    QCOMPARE(a.actionStatus.last().colour, clRed);
    QVERIFY(a.actions.FailureTextHeld());

    a.sim.clearFaults();
    bool heldAtStart = true;
    a.window.during = [&](const QString &entry) {
        if (entry == QLatin1String("Lock"))
            heldAtStart = a.actions.FailureTextHeld();
    };
    a.actions.CompareConfiguration();
    QVERIFY(!heldAtStart);
    QVERIFY(!a.actions.FailureTextHeld());
}

void TstDeviceActions::unservedControllerHearsNothingMore()
{
    Actions a;
    qrvsim::SimIdentity other;
    other.deviceName = "QRV610";
    a.sim.setIdentity(other);
    a.actions.SendControl(ControlCommand::ArmMode, 0, 0);
    QCOMPARE(a.sim.commands(), QList<quint8>({cmd::Identify}));
    QCOMPARE(a.actionStatus.last().text, QStringLiteral("Устройство QRV610 не поддерживается"));
    QCOMPARE(a.actionStatus.last().colour, clBlue);
    QCOMPARE(a.window.log.mid(a.window.log.size() - 2), QStringList({"Unlock", "StartPoller"}));
}

void TstDeviceActions::cancelledCountdownLeavesThePollerRunning()
{
    Actions a;
    a.sim.setPassword("secret");
    a.actions.FactoryReset();
    QCOMPARE(a.window.log, QStringList({"StopPoller", "SelectRootPage", "Lock", "Identity", "StartPoller",
                                        "Countdown", "Unlock"}));
    QVERIFY(!a.sim.commands().contains(cmd::WriteImage));
    QVERIFY(a.actions.FailureTextHeld());
}

void TstDeviceActions::systemParametersLeaveTheActionsAlone()
{
    Actions a;
    a.actions.ReadSystemParameters();
    QCOMPARE(a.window.log, QStringList({"StopPoller", "Identity", "StoreSelectedPage", "AllowSystemProgramming",
                                        "ShowSelectedPage", "StartPoller"}));
    QVERIFY(a.actionStatus.shown().isEmpty());
    QCOMPARE(a.systemStatus.last().colour, clBlue);
}

void TstDeviceActions::controlCommandResultInPanel3()
{
    Actions a;
    a.actions.SendControl(ControlCommand::Output, onRelay2, oaSwitchOff);
    QCOMPARE(a.sim.commands(), QList<quint8>({cmd::Identify, cmd::Password, cmd::Control}));
    QCOMPARE(a.sim.log().last().payload, QByteArray("\x02\x01\x02", 3));
    QVERIFY(a.window.log.contains(QStringLiteral("Panel3 ") + a.messages.at(11)));
}

void TstDeviceActions::typedClock_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("warning"); // empty: sent
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("sent, seconds unchecked") << "00.00.26 23:59:75" << "" << QByteArray("\x1a\x00\x00\x17\x3b\x4b", 6);
    // Year, month, day, hour, minute, second: no two fields alike.
    QTest::newRow("sent, every field its own") << "09.12.25 07:05:03" << "" << QByteArray("\x19\x0c\x09\x07\x05\x03", 6);
    QTest::newRow("day 32") << "32.01.26 10:00:00" << "Не верно установлено число" << QByteArray();
    QTest::newRow("month 13") << "01.13.26 10:00:00" << "Не верно установлен месяц" << QByteArray();
    QTest::newRow("hour 24") << "01.01.26 24:00:00" << "Не верно установлены часы" << QByteArray();
    QTest::newRow("minute 60") << "01.01.26 10:60:00" << "Не верно установлены минуты" << QByteArray();
}

void TstDeviceActions::typedClock()
{
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    QFETCH(QByteArray, sent);
    Actions a;
    a.actions.SetTypedClock(typed);
    QVERIFY(typed.isEmpty());
    if (!warning.isEmpty()) {
        QCOMPARE(a.window.log, QStringList({"Warn " + warning}));
        QVERIFY(a.sim.commands().isEmpty());
        return;
    }
    QCOMPARE(a.sim.commands(), QList<quint8>({cmd::Identify, cmd::SetClock}));
    QCOMPARE(a.sim.log().last().payload, sent);
    // A second press sends nothing.
    a.actions.SetTypedClock(typed);
    QCOMPARE(a.sim.commands().size(), 2);
}

void TstDeviceActions::passwordBuffer_data()
{
    QTest::addColumn<QByteArray>("field"); // the 9 bytes of SystemPassword
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("short") << QByteArray("abc\0xyz\0\0", 9) << QByteArray("abc\0\0\0\0\0\0", 9);
    QTest::newRow("full, no terminator") << QByteArray("123456789", 9) << QByteArray("12345678\0", 9);
    QTest::newRow("empty") << QByteArray(9, '\0') << QByteArray(9, '\0');
}

void TstDeviceActions::passwordBuffer()
{
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, sent);
    ConfigImage image{};
    std::copy(field.begin(), field.end(), image.begin() + GeneralFields::SystemPassword.offset);
    const PasswordBuffer buffer = SystemPasswordBuffer(image);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(buffer.data()), int(buffer.size())), sent);
}

QTEST_GUILESS_MAIN(TstDeviceActions)
#include "tst_deviceactions.moc"
