// The port object against a recording device: defaults, the open and close
// state machine, the order of its calls and notifications, re-applying
// settings, and what the transfer and line operations ask of the device.
#include "serial/ComPort.h"
#include "toolkit/ExceptionReport.h"
#include "tests/serial/FakeSerialDevice.h"
#include "tests/support/Raised.h"

#include <QTest>

class TstComPort : public QObject {
    Q_OBJECT
private slots:
    void defaults();
    void openAndCloseOrder();
    void openAndCloseAreIdempotent();
    void openFailureLeavesClosed();
    void setupFailureClosesHandle_data();
    void setupFailureClosesHandle();
    void afterOpenFailuresLeaveOpen();
    void closeRefusedPurgeStaysOpen();
    void updateDefersApply();
    void lineSettingsApply_data();
    void lineSettingsApply();
    void portChangeReopens();
    void portChangeToMissingDevice();
    void propertiesRefusedWhileOpen();
    void connectedWhileLoading();
    void loadedReportsOpenFailure();
    void designingDoesNothing();

    void neverOpened_data();
    void neverOpened();
    void transfers();
    void asyncRequests();
    void asyncWithoutRecord();
    void lineRequests();
    void lastErrorsMapping_data();
    void lastErrorsMapping();
    void signalsAndQueues();
    void transferFailures();
};

void TstComPort::defaults()
{
    TComPort port;
    QVERIFY(!port.Connected());
    QCOMPARE(port.Port(), QString("COM1"));
    QCOMPARE(port.BaudRate(), br9600);
    QCOMPARE(port.CustomBaudRate(), 9600);
    QCOMPARE(port.DataBits(), dbEight);
    QCOMPARE(port.StopBits(), sbOneStopBit);
    QCOMPARE(port.Parity()->Bits(), prNone);
    QVERIFY(!port.Parity()->Check());
    QVERIFY(port.Events() == TComEvents::All());
    QCOMPARE(port.SyncMethod(), smThreadSync);
    QCOMPARE(port.EventThreadPriority(), TThreadPriority::tpNormal);
    QVERIFY(port.TriggersOnRxChar());
    QVERIFY(!port.DiscardNull());
    QCOMPARE(port.EventChar(), '\0');
    QCOMPARE(port.Timeouts()->ReadInterval(), -1);
    QCOMPARE(port.Timeouts()->ReadTotalMultiplier(), 0);
    QCOMPARE(port.Timeouts()->ReadTotalConstant(), 0);
    QCOMPARE(port.Timeouts()->WriteTotalMultiplier(), 100);
    QCOMPARE(port.Timeouts()->WriteTotalConstant(), 1000);
    QCOMPARE(port.Buffer()->InputSize(), 1024);
    QCOMPARE(port.Buffer()->OutputSize(), 1024);
    QCOMPARE(port.FlowControl()->FlowControl(), fcNone);
    QCOMPARE(port.FlowControl()->ControlDTR(), dtrDisable);
    QCOMPARE(port.FlowControl()->ControlRTS(), rtsDisable);
    QVERIFY(port.Timeouts()->ComPort() == &port);
    QVERIFY(port.Buffer()->ComPort() == &port);
    QVERIFY(port.Parity()->ComPort() == &port);
    QVERIFY(port.FlowControl()->ComPort() == &port);
}

void TstComPort::openAndCloseOrder()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    RecordNotifications(port, *script);
    script->modemStatus = MS_CTS_ON | MS_RLSD_ON;
    port.SetPort("COM4");
    port.Open();
    QVERIFY(port.Connected());
    // The event thread starts after the settings with the mask of all ten events.
    QCOMPARE(script->Log(), QStringList({"OnBeforeOpen", "open COM4", "SetupComm 1024 1024", "SetCommState 9600",
                                         "SetCommTimeouts", "SetCommMask 0x05ff", "OnAfterOpen",
                                         "GetCommModemStatus", "OnCTSChange 1", "GetCommModemStatus",
                                         "OnDSRChange 0", "GetCommModemStatus", "OnRLSDChange 1"}));
    script->ClearLog();
    port.Close();
    QVERIFY(!port.Connected());
    // Its end clears the mask and purges both queues before the handle closes.
    QCOMPARE(script->Log(), QStringList({"OnCTSChange 0", "OnDSRChange 0", "OnRLSDChange 0", "OnBeforeClose",
                                         "Purge 3", "SetCommMask 0x0000", "Purge 12", "close", "OnAfterClose"}));
    QCOMPARE(script->devicesAlive, 0);
}

void TstComPort::openAndCloseAreIdempotent()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    RecordNotifications(port, *script);
    port.Close();
    QVERIFY(script->log.isEmpty());
    port.Open();
    script->log.clear();
    port.Open();
    port.SetConnected(true);
    QVERIFY(script->log.isEmpty());
    port.SetConnected(false);
    QVERIFY(!port.Connected());
    QVERIFY(script->log.contains("OnAfterClose"));
    // Open with events set starts nothing else: the next close stops nothing.
    script->log.clear();
    port.SetEvents(TComEvents());
    port.Open();
    port.Close();
    QCOMPARE(script->log.count("close"), 1);
}

void TstComPort::openFailureLeavesClosed()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    RecordNotifications(port, *script);
    script->openError = ENOENT;
    const EComPort e = Raised([&] { port.Open(); });
    QCOMPARE(e.ErrorCode(), 1);
    QCOMPARE(e.WinErrorCode(), ENOENT);
    QVERIFY(!port.Connected());
    QCOMPARE(script->log, QStringList({"OnBeforeOpen", "open COM1"}));
    script->log.clear();
    port.Close();
    QVERIFY(script->log.isEmpty());
    QCOMPARE(script->devicesAlive, 0);
}

void TstComPort::setupFailureClosesHandle_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("code");
    QTest::newRow("buffer") << "SetupComm" << 9;
    QTest::newRow("state") << "SetCommState" << 7;
    QTest::newRow("timeouts") << "SetCommTimeouts" << 8;
}

void TstComPort::setupFailureClosesHandle()
{
    QFETCH(QString, call);
    QFETCH(int, code);
    TComPort port;
    auto script = UseFakeDevice(port);
    RecordNotifications(port, *script);
    script->Fail(call, EIO);
    const EComPort e = Raised([&] { port.Open(); });
    QCOMPARE(e.ErrorCode(), code);
    QCOMPARE(e.WinErrorCode(), EIO);
    QVERIFY(!port.Connected());
    QCOMPARE(script->devicesAlive, 0);
    QVERIFY(!script->log.contains("OnAfterOpen"));
    QCOMPARE(script->log.last(), QString("close"));
}

void TstComPort::afterOpenFailuresLeaveOpen()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    script->Fail("GetCommModemStatus", EIO);
    QCOMPARE(Raised([&] { port.Open(); }).ErrorCode(), 11);
    QVERIFY(port.Connected());
    script->ClearFailures();
    port.Close();

    port.OnAfterOpen = [](TCustomComPort *) { throw std::runtime_error("handler"); };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, port.Open());
    QVERIFY(port.Connected());
}

void TstComPort::closeRefusedPurgeStaysOpen()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->Fail("Purge", EIO);
    const EComPort e = Raised([&] { port.Close(); });
    QCOMPARE(e.ErrorCode(), 5);
    QVERIFY(port.Connected());
    QCOMPARE(script->devicesAlive, 1);
    script->ClearFailures();
    port.Close();
    QCOMPARE(script->devicesAlive, 0);
}

void TstComPort::updateDefersApply()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetBaudRate(br19200); // closed: only stored
    QVERIFY(script->log.isEmpty());
    port.Open();
    script->log.clear();
    port.BeginUpdate();
    port.BeginUpdate();
    port.SetBaudRate(br115200);
    port.Timeouts()->SetReadTotalC(100);
    port.Buffer()->SetInputSize(2048);
    port.EndUpdate();
    QVERIFY(script->log.isEmpty());
    port.EndUpdate();
    QCOMPARE(script->log, QStringList({"SetupComm 2048 1024", "SetCommState 115200", "SetCommTimeouts"}));
    script->log.clear();
    port.EndUpdate(); // at 0: nothing
    QVERIFY(script->log.isEmpty());
}

void TstComPort::lineSettingsApply_data()
{
    QTest::addColumn<QString>("setting");
    QTest::newRow("baud") << "baud";
    QTest::newRow("custom baud while not custom") << "custom";
    QTest::newRow("data bits") << "data";
    QTest::newRow("stop bits") << "stop";
    QTest::newRow("discard null") << "null";
    QTest::newRow("event char") << "evchar";
}

void TstComPort::lineSettingsApply()
{
    QFETCH(QString, setting);
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();
    for (int i = 0; i < 2; ++i) { // the second, equal value applies nothing
        if (setting == "baud") port.SetBaudRate(br57600);
        if (setting == "custom") port.SetCustomBaudRate(1000);
        if (setting == "data") port.SetDataBits(dbSeven);
        if (setting == "stop") port.SetStopBits(sbTwoStopBits);
        if (setting == "null") port.SetDiscardNull(true);
        if (setting == "evchar") port.SetEventChar('x');
    }
    QCOMPARE(script->log.size(), 1);
    QVERIFY(script->log.first().startsWith("SetCommState"));
}

void TstComPort::portChangeReopens()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();
    port.SetPort("COM1"); // same text: nothing
    QVERIFY(script->log.isEmpty());
    port.SetPort("com1"); // differs in case: reopened under the new text
    QVERIFY(port.Connected());
    QCOMPARE(script->log.count("close"), 1);
    QVERIFY(script->log.contains("open com1"));
    QCOMPARE(port.Port(), QString("com1"));

    port.Close();
    script->log.clear();
    port.SetPort("COM9"); // closed: stored only
    QVERIFY(script->log.isEmpty());
}

void TstComPort::portChangeToMissingDevice()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->openError = ENOENT;
    const EComPort e = Raised([&] { port.SetPort("COM7"); });
    QCOMPARE(e.ErrorCode(), 1);
    QVERIFY(!port.Connected());
    QCOMPARE(port.Port(), QString("COM7"));
    QCOMPARE(script->devicesAlive, 0);
}

void TstComPort::propertiesRefusedWhileOpen()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetSyncMethod(smNone);
    port.SetEventThreadPriority(TThreadPriority::tpHigher);
    port.Open();
    EComPort e = Raised([&] { port.SetSyncMethod(smWindowSync); });
    QCOMPARE(e.ErrorCode(), 14);
    QCOMPARE(e.WinErrorCode(), -1);
    QCOMPARE(port.SyncMethod(), smNone);
    e = Raised([&] { port.SetEventThreadPriority(TThreadPriority::tpIdle); });
    QCOMPARE(e.ErrorCode(), 14);
    QCOMPARE(port.EventThreadPriority(), TThreadPriority::tpHigher);
    // Events are stored at any time and count from the next open.
    port.SetEvents(TComEvents{evRxChar});
    QVERIFY(port.Events() == TComEvents{evRxChar});
}

void TstComPort::connectedWhileLoading()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetComponentState({false, true});
    port.SetConnected(true);
    port.SetBaudRate(br19200);
    port.Timeouts()->SetReadInterval(500);
    QVERIFY(port.Connected());
    QVERIFY(script->log.isEmpty());
    port.Loaded();
    QVERIFY(!port.ComponentState().Loading);
    QVERIFY(port.Connected());
    QCOMPARE(script->log.first(), QString("open COM1"));
    QVERIFY(script->log.contains("SetCommState 19200"));
}

void TstComPort::loadedReportsOpenFailure()
{
    QString reported;
    SetExceptionReporter([&reported](const QString &m) { reported = m; });
    TComPort port;
    auto script = UseFakeDevice(port);
    script->openError = EBUSY;
    port.SetComponentState({false, true});
    port.SetConnected(true);
    port.Loaded();
    SetExceptionReporter({});
    QVERIFY(!port.Connected());
    QCOMPARE(reported, EComPort(1, EBUSY).Message());
}

void TstComPort::designingDoesNothing()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetComponentState({true, false});
    port.Open();
    port.SetConnected(true);
    QVERIFY(script->log.isEmpty());
    QVERIFY(port.Connected()); // stored only
    port.Loaded();
    QVERIFY(script->log.isEmpty());
    port.Close();
    QVERIFY(script->log.isEmpty());
}

// ---- operations

void TstComPort::neverOpened_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("code");
    for (auto [op, code, name] : std::initializer_list<std::tuple<int, int, const char *>>{
             {0, 3, "Read"}, {1, 2, "Write"}, {2, 5, "ClearBuffer"}, {3, 10, "InputCount"},
             {4, 10, "OutputCount"}, {5, 10, "LastErrors"}, {6, 11, "Signals"}, {7, 12, "SetDTR"},
             {8, 12, "SetRTS"}, {9, 12, "SetBreak"}, {10, 12, "SetXonXoff"}, {11, 13, "TransmitChar"},
             {12, 5, "AbortAllAsync"}, {13, 3, "ReadAsync"}, {14, 2, "WriteAsync"}, {15, 10, "StateFlags"}})
        QTest::newRow(name) << op << code;
}

void TstComPort::neverOpened()
{
    QFETCH(int, op);
    QFETCH(int, code);
    TComPort port;
    auto script = UseFakeDevice(port);
    char buffer[4] = {};
    PAsync async = nullptr;
    InitAsync(async);
    const EComPort e = Raised([&] {
        switch (op) {
        case 0: port.Read(buffer, 4); break;
        case 1: port.Write(buffer, 4); break;
        case 2: port.ClearBuffer(true, true); break;
        case 3: port.InputCount(); break;
        case 4: port.OutputCount(); break;
        case 5: port.LastErrors(); break;
        case 6: port.Signals(); break;
        case 7: port.SetDTR(true); break;
        case 8: port.SetRTS(true); break;
        case 9: port.SetBreak(true); break;
        case 10: port.SetXonXoff(true); break;
        case 11: port.TransmitChar('a'); break;
        case 12: port.AbortAllAsync(); break;
        case 13: port.ReadAsync(buffer, 4, async); break;
        case 14: port.WriteAsync(buffer, 4, async); break;
        case 15: port.StateFlags(); break;
        }
    });
    DoneAsync(async);
    QCOMPARE(e.ErrorCode(), code);
    QCOMPARE(e.WinErrorCode(), EBADF);
    QVERIFY(script->log.isEmpty());
}

void TstComPort::transfers()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();
    script->input = "hello";
    char buffer[10] = {};
    QCOMPARE(port.Read(buffer, 10), 5);
    QCOMPARE(QByteArray(buffer, 5), QByteArray("hello"));
    QCOMPARE(port.Write("abc", 3), 3);
    QCOMPARE(script->written, QByteArray("abc"));
    QCOMPARE(script->log, QStringList({"StartIo read 10", "StartIo write 3"}));

    script->log.clear();
    QCOMPARE(port.WriteStr(QByteArray()), 0);
    QByteArray text = "old";
    QCOMPARE(port.ReadStr(text, 0), 0);
    QVERIFY(text.isEmpty());
    QVERIFY(script->log.isEmpty()); // neither starts a transfer
    script->input = "xy";
    QCOMPARE(port.ReadStr(text, 8), 2);
    QCOMPARE(text, QByteArray("xy"));
    QCOMPARE(port.WriteStr("BINARY\r"), 7);
    QVERIFY(script->written.endsWith("BINARY\r"));
}

void TstComPort::asyncRequests()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();
    script->holdTransfers = true;
    script->input = "abcd";
    PAsync async = nullptr;
    InitAsync(async);
    QVERIFY(async != nullptr);
    char buffer[4] = {};
    QCOMPARE(port.ReadAsync(buffer, 4, async), 0); // pending
    QCOMPARE(async->Kind, okRead);
    QVERIFY(!port.IsAsyncCompleted(async));
    QCOMPARE(port.WaitForAsync(async), 4);
    QVERIFY(port.IsAsyncCompleted(async));
    QCOMPARE(QByteArray(buffer, 4), QByteArray("abcd"));

    script->holdTransfers = false;
    QCOMPARE(port.WriteAsync("xyz", 3, async), 3); // completed at once
    QCOMPARE(async->Kind, okWrite);
    QCOMPARE(port.WaitForAsync(async), 3);
    DoneAsync(async);
    QVERIFY(async == nullptr);
    QCOMPARE(script->log, QStringList({"StartIo read 4", "AdvanceIo", "AdvanceIo wait", "StartIo write 3"}));

    // A failed request reports through the operation that looks at it.
    script->holdTransfers = true;
    InitAsync(async);
    port.WriteAsync("q", 1, async);
    script->Fail("AdvanceIo", ECANCELED);
    QCOMPARE(Raised([&] { port.IsAsyncCompleted(async); }).ErrorCode(), 6);
    const EComPort e = Raised([&] { port.WaitForAsync(async); });
    QCOMPARE(e.ErrorCode(), 2);
    QCOMPARE(e.WinErrorCode(), ECANCELED);
    DoneAsync(async);
}

void TstComPort::asyncWithoutRecord()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    char buffer[1];
    for (int op = 0; op < 4; ++op) {
        const EComPort e = Raised([&] {
            if (op == 0) port.ReadAsync(buffer, 1, nullptr);
            if (op == 1) port.WriteAsync(buffer, 1, nullptr);
            if (op == 2) port.WaitForAsync(nullptr);
            if (op == 3) port.IsAsyncCompleted(nullptr);
        });
        QCOMPARE(e.ErrorCode(), 4);
        QCOMPARE(e.WinErrorCode(), -1);
        QCOMPARE(e.Message(), QString("Invalid Async parameter"));
    }
}

void TstComPort::lineRequests()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();
    port.SetDTR(true);
    port.SetDTR(false);
    port.SetRTS(true);
    port.SetRTS(false);
    port.SetBreak(true);
    port.SetBreak(false);
    port.SetXonXoff(true);
    port.SetXonXoff(false);
    port.TransmitChar('A');
    port.ClearBuffer(true, true);
    port.ClearBuffer(true, false);
    port.ClearBuffer(false, true);
    port.ClearBuffer(false, false);
    port.AbortAllAsync();
    QCOMPARE(script->log,
             QStringList({"EscapeCommFunction 5", "EscapeCommFunction 6", "EscapeCommFunction 3",
                          "EscapeCommFunction 4", "EscapeCommFunction 8", "EscapeCommFunction 9",
                          "EscapeCommFunction 2", "EscapeCommFunction 1", "TransmitCommChar 65", "Purge 12",
                          "Purge 8", "Purge 4", "Purge 0", "Purge 3"}));

    script->Fail("EscapeCommFunction", EIO);
    QCOMPARE(Raised([&] { port.SetRTS(true); }).ErrorCode(), 12);
    script->Fail("TransmitCommChar", EAGAIN);
    QCOMPARE(Raised([&] { port.TransmitChar('x'); }).ErrorCode(), 13);
    script->Fail("Purge", EIO);
    QCOMPARE(Raised([&] { port.ClearBuffer(true, true); }).ErrorCode(), 5);
    script->Fail("ClearCommError", EIO);
    QCOMPARE(Raised([&] { port.InputCount(); }).ErrorCode(), 10);
    script->Fail("Purge", 0);
}

void TstComPort::lastErrorsMapping_data()
{
    QTest::addColumn<quint32>("bits");
    QTest::addColumn<bool>("check");
    QTest::addColumn<quint8>("expected");
    auto set = [](std::initializer_list<TComError> e) { return TComErrors(e).ToBits(); };
    QTest::newRow("parity unchecked") << CE_RXPARITY << false << set({});
    QTest::newRow("parity checked") << CE_RXPARITY << true << set({ceRxParity});
    QTest::newRow("frame overrun") << (CE_FRAME | CE_OVERRUN) << false << set({ceFrame, ceOverrun});
    QTest::newRow("rx over tx full") << (CE_RXOVER | CE_TXFULL) << false << set({ceRxOver, ceTxFull});
    QTest::newRow("break io mode") << (CE_BREAK | CE_IOE | CE_MODE) << false << set({ceBreak, ceIO, ceMode});
    QTest::newRow("none") << 0u << true << set({});
}

void TstComPort::lastErrorsMapping()
{
    QFETCH(quint32, bits);
    QFETCH(bool, check);
    QFETCH(quint8, expected);
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Parity()->SetCheck(check);
    port.Open();
    script->errorBits = bits;
    QCOMPARE(port.LastErrors().ToBits(), expected);
}

void TstComPort::signalsAndQueues()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->modemStatus = MS_DSR_ON | MS_RING_ON;
    QVERIFY(port.Signals() == (TComSignals{csDSR, csRing}));
    script->modemStatus = 0;
    QVERIFY(port.Signals().Empty());
    script->status.cbInQue = 7;
    script->status.cbOutQue = 3;
    script->status.Flags = 0x108;
    QCOMPARE(port.InputCount(), 7);
    QCOMPARE(port.OutputCount(), 3);
    QCOMPARE(port.StateFlags(), quint8(0x08));
}

void TstComPort::transferFailures()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    char buffer[4];
    script->Fail("StartIo", EIO);
    EComPort e = Raised([&] { port.Read(buffer, 4); });
    QCOMPARE(e.ErrorCode(), 3);
    QCOMPARE(e.WinErrorCode(), EIO);
    QCOMPARE(Raised([&] { port.Write(buffer, 4); }).ErrorCode(), 2);
    script->ClearFailures();
    script->holdTransfers = true;
    script->Fail("AdvanceIo", ECANCELED);
    e = Raised([&] { port.Read(buffer, 4); });
    QCOMPARE(e.ErrorCode(), 3);
    QCOMPARE(e.WinErrorCode(), ECANCELED);
}

QTEST_GUILESS_MAIN(TstComPort)
#include "tst_comport.moc"
