// Settings groups, text and event-mask conversions, the device records built
// from the settings, and the layer's exception.
#include "serial/ComConvert.h"
#include "serial/ComPort.h"
#include "tests/serial/FakeSerialDevice.h"

#include <QTest>

Q_DECLARE_METATYPE(TFlowControl)

class TstComSettings : public QObject {
    Q_OBJECT
private slots:
    void parseTexts_data();
    void parseTexts();
    void textsRoundTrip();
    void eventMasks();

    void bufferSizes_data();
    void bufferSizes();
    void settersApplyOnlyOnChange();
    void refusedSettingKeepsValue_data();
    void refusedSettingKeepsValue();

    void flowControlRead_data();
    void flowControlRead();
    void flowControlWrite_data();
    void flowControlWrite();
    void flowControlWriteAlwaysApplies();
    void assignCopiesWithoutApplying();

    void dcbDefaults();
    void dcbFields_data();
    void dcbFields();
    void commTimeouts();

    void exceptionTexts();
};

// ---- conversions

void TstComSettings::parseTexts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("baud 115200") << "baud" << "115200" << int(br115200);
    QTest::newRow("baud custom mixed case") << "baud" << "cUsToM" << int(brCustom);
    QTest::newRow("baud unknown") << "baud" << "12345" << int(br9600);
    QTest::newRow("baud empty") << "baud" << "" << int(br9600);
    QTest::newRow("stop 1.5") << "stop" << "1.5" << int(sbOne5StopBits);
    QTest::newRow("stop unknown") << "stop" << "3" << int(sbOneStopBit);
    QTest::newRow("data 7") << "data" << "7" << int(dbSeven);
    QTest::newRow("data unknown") << "data" << "9" << int(dbEight);
    QTest::newRow("parity lower case") << "parity" << "even" << int(prEven);
    QTest::newRow("parity upper case") << "parity" << "SPACE" << int(prSpace);
    QTest::newRow("parity unknown") << "parity" << "x" << int(prNone);
    QTest::newRow("flow software") << "flow" << "software" << int(fcSoftware);
    QTest::newRow("flow empty") << "flow" << "" << int(fcCustom);
}

void TstComSettings::parseTexts()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(int, expected);
    int got = -1;
    if (kind == "baud")
        got = StrToBaudRate(text);
    else if (kind == "stop")
        got = StrToStopBits(text);
    else if (kind == "data")
        got = StrToDataBits(text);
    else if (kind == "parity")
        got = StrToParity(text);
    else
        got = StrToFlowControl(text);
    QCOMPARE(got, expected);
}

void TstComSettings::textsRoundTrip()
{
    const QStringList bauds = {"Custom", "110", "300", "600", "1200", "2400", "4800", "9600",
                               "14400", "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
    for (int i = 0; i <= br256000; ++i) {
        QCOMPARE(BaudRateToStr(TBaudRate(i)), bauds[i]);
        QCOMPARE(int(StrToBaudRate(bauds[i])), i);
    }
    QCOMPARE(StopBitsToStr(sbTwoStopBits), QString("2"));
    QCOMPARE(DataBitsToStr(dbFive), QString("5"));
    QCOMPARE(ParityToStr(prMark), QString("Mark"));
    QCOMPARE(FlowControlToStr(fcNone), QString("None"));
}

void TstComSettings::eventMasks()
{
    QCOMPARE(EventsToMask(TComEvents::All()), 0x05FFu);
    QCOMPARE(EventsToMask(TComEvents()), 0u);
    QVERIFY(MaskToEvents(0x05FF) == TComEvents::All());
    QCOMPARE(EventsToMask(TComEvents{evRxChar}), 0x0001u);
    QCOMPARE(EventsToMask(TComEvents{evTxEmpty, evRxFlag}), 0x0006u);
    QCOMPARE(EventsToMask(TComEvents{evRing, evRLSD}), 0x0120u);
    QVERIFY(MaskToEvents(0x0080 | 0x0400) == (TComEvents{evError, evRx80Full}));
    // Bits outside the ten events are ignored.
    QVERIFY(MaskToEvents(0xF200) == TComEvents());
    for (int i = 0; i <= evRx80Full; ++i) {
        const TComEvents one{TComEvent(i)};
        QVERIFY(MaskToEvents(EventsToMask(one)) == one);
    }
}

// ---- settings groups on a port

void TstComSettings::bufferSizes_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("stored");
    QTest::newRow("odd") << 1025 << 1024;
    QTest::newRow("even") << 4096 << 4096;
    QTest::newRow("one") << 1 << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("negative odd") << -3 << -3;
}

void TstComSettings::bufferSizes()
{
    QFETCH(int, set);
    QFETCH(int, stored);
    TComBuffer buffer;
    buffer.SetInputSize(set);
    buffer.SetOutputSize(set);
    QCOMPARE(buffer.InputSize(), stored);
    QCOMPARE(buffer.OutputSize(), stored);
}

void TstComSettings::settersApplyOnlyOnChange()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();

    port.Buffer()->SetInputSize(4096);
    port.Buffer()->SetInputSize(4096);
    port.Timeouts()->SetReadInterval(500);
    port.Timeouts()->SetReadInterval(500);
    port.Parity()->SetBits(prOdd);
    port.Parity()->SetBits(prOdd);
    port.FlowControl()->SetXonChar('A');
    port.FlowControl()->SetXonChar('A');
    QCOMPARE(script->log, QStringList({"SetupComm 4096 1024", "SetCommTimeouts", "SetCommState 9600",
                                       "SetCommState 9600"}));
    QCOMPARE(script->timeouts.ReadIntervalTimeout, 500u);
    QCOMPARE(int(script->dcb.Parity), int(ODDPARITY));
    QCOMPARE(script->dcb.XonChar, 'A');
}

void TstComSettings::refusedSettingKeepsValue_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("code");
    QTest::newRow("buffer") << "SetupComm" << 9;
    QTest::newRow("state") << "SetCommState" << 7;
    QTest::newRow("timeouts") << "SetCommTimeouts" << 8;
}

void TstComSettings::refusedSettingKeepsValue()
{
    QFETCH(QString, call);
    QFETCH(int, code);
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->Fail(call, EINVAL);
    try {
        if (code == 9)
            port.Buffer()->SetOutputSize(2048);
        else if (code == 7)
            port.Parity()->SetCheck(true);
        else
            port.Timeouts()->SetWriteTotalC(5);
        QFAIL("no exception");
    } catch (const EComPort &e) {
        QCOMPARE(e.ErrorCode(), code);
        QCOMPARE(e.WinErrorCode(), EINVAL);
    }
    if (code == 9)
        QCOMPARE(port.Buffer()->OutputSize(), 2048);
    else if (code == 7)
        QVERIFY(port.Parity()->Check());
    else
        QCOMPARE(port.Timeouts()->WriteTotalConstant(), 5);
    QVERIFY(port.Connected());
}

void TstComSettings::flowControlRead_data()
{
    QTest::addColumn<int>("rts");
    QTest::addColumn<bool>("cts");
    QTest::addColumn<bool>("xin");
    QTest::addColumn<bool>("xout");
    QTest::addColumn<TFlowControl>("expected");
    QTest::newRow("hardware") << int(rtsHandshake) << true << false << false << fcHardware;
    QTest::newRow("software") << int(rtsDisable) << false << true << true << fcSoftware;
    QTest::newRow("none") << int(rtsDisable) << false << false << false << fcNone;
    QTest::newRow("hardware plus xon out") << int(rtsHandshake) << true << false << true << fcCustom;
    QTest::newRow("xon in only") << int(rtsDisable) << false << true << false << fcCustom;
    QTest::newRow("rts enabled") << int(rtsEnable) << false << false << false << fcCustom;
    QTest::newRow("cts without rts handshake") << int(rtsDisable) << true << false << false << fcCustom;
}

void TstComSettings::flowControlRead()
{
    QFETCH(int, rts);
    QFETCH(bool, cts);
    QFETCH(bool, xin);
    QFETCH(bool, xout);
    QFETCH(TFlowControl, expected);
    TComFlowControl f;
    f.SetControlRTS(TRTSFlowControl(rts));
    f.SetOutCTSFlow(cts);
    f.SetXonXoffIn(xin);
    f.SetXonXoffOut(xout);
    // Fields outside the summary play no part.
    f.SetControlDTR(dtrHandshake);
    f.SetOutDSRFlow(true);
    QCOMPARE(f.FlowControl(), expected);
}

void TstComSettings::flowControlWrite_data()
{
    QTest::addColumn<TFlowControl>("value");
    QTest::newRow("hardware") << fcHardware;
    QTest::newRow("software") << fcSoftware;
    QTest::newRow("none") << fcNone;
}

void TstComSettings::flowControlWrite()
{
    QFETCH(TFlowControl, value);
    // Starting from a mixture that reads as custom.
    TComFlowControl f;
    f.SetControlRTS(rtsHandshake);
    f.SetOutCTSFlow(true);
    f.SetXonXoffOut(true);
    f.SetControlDTR(dtrEnable);
    f.SetOutDSRFlow(true);
    QCOMPARE(f.FlowControl(), fcCustom);
    f.SetFlowControl(value);
    QCOMPARE(f.FlowControl(), value);
    QCOMPARE(f.ControlDTR(), dtrEnable);
    QVERIFY(f.OutDSRFlow());
}

void TstComSettings::flowControlWriteAlwaysApplies()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();
    port.FlowControl()->SetFlowControl(fcNone); // already none
    port.FlowControl()->SetFlowControl(fcCustom);
    QCOMPARE(script->log, QStringList({"SetCommState 9600", "SetCommState 9600"}));
    QCOMPARE(port.FlowControl()->FlowControl(), fcNone);
}

void TstComSettings::assignCopiesWithoutApplying()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->log.clear();

    TComTimeouts t;
    t.SetReadInterval(500);
    t.SetReadTotalM(3);
    t.SetReadTotalC(100);
    t.SetWriteTotalM(4);
    t.SetWriteTotalC(200);
    t.AssignTo(*port.Timeouts());
    QVERIFY(script->log.isEmpty());
    QCOMPARE(port.Timeouts()->ReadTotalConstant(), 100);
    QCOMPARE(port.Timeouts()->WriteTotalMultiplier(), 4);

    TComFlowControl f;
    f.SetFlowControl(fcHardware);
    f.SetXoffChar('Z');
    port.SetFlowControl(f); // the port's setter copies, then applies once
    QCOMPARE(script->log, QStringList({"SetCommState 9600"}));
    QCOMPARE(port.FlowControl()->FlowControl(), fcHardware);
    QCOMPARE(port.FlowControl()->XoffChar(), 'Z');
    QVERIFY(port.FlowControl()->ComPort() == &port);
}

// ---- device records

void TstComSettings::dcbDefaults()
{
    TComPort port;
    port.FlowControl()->SetControlDTR(dtrEnable);
    const DCB dcb = BuildDCB(port);
    QCOMPARE(dcb.DCBlength, 28u);
    QCOMPARE(dcb.BaudRate, 9600u);
    QCOMPARE(dcb.Flags, 0x0011u);
    QCOMPARE(dcb.XonLim, quint16(256));
    QCOMPARE(dcb.XoffLim, quint16(256));
    QCOMPARE(int(dcb.ByteSize), 8);
    QCOMPARE(int(dcb.Parity), 0);
    QCOMPARE(int(dcb.StopBits), 0);
    QCOMPARE(int(dcb.XonChar), 17);
    QCOMPARE(int(dcb.XoffChar), 19);
    QCOMPARE(int(dcb.ErrorChar), 0);
    QCOMPARE(int(dcb.EofChar), 0);
    QCOMPARE(int(dcb.EvtChar), 0);
    QCOMPARE(dcb.wReserved, quint16(0));
    QCOMPARE(dcb.wReserved1, quint16(0));
}

void TstComSettings::dcbFields_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<quint32>("baud");
    QTest::newRow("baud 256000") << "baud256000" << 0x0001u << 256000u;
    QTest::newRow("custom baud") << "custom" << 0x0001u << 31250u;
    QTest::newRow("parity check") << "check" << 0x0003u << 9600u;
    QTest::newRow("replace needs check") << "replace" << 0x0001u << 9600u;
    QTest::newRow("check and replace") << "checkreplace" << 0x0403u << 9600u;
    QTest::newRow("cts flow") << "cts" << 0x0005u << 9600u;
    QTest::newRow("dsr flow") << "dsr" << 0x0009u << 9600u;
    QTest::newRow("dtr handshake") << "dtrhs" << 0x0021u << 9600u;
    QTest::newRow("dsr sensitivity") << "dsrsens" << 0x0041u << 9600u;
    QTest::newRow("tx continue") << "txcont" << 0x0081u << 9600u;
    QTest::newRow("software flow") << "software" << 0x0301u << 9600u;
    QTest::newRow("discard null") << "null" << 0x0801u << 9600u;
    QTest::newRow("rts enable") << "rtsen" << 0x1001u << 9600u;
    QTest::newRow("hardware flow") << "hardware" << 0x2005u << 9600u;
    QTest::newRow("rts toggle") << "rtstoggle" << 0x3001u << 9600u;
}

void TstComSettings::dcbFields()
{
    QFETCH(QString, setting);
    QFETCH(quint32, flags);
    QFETCH(quint32, baud);
    TComPort port;
    auto *p = port.Parity();
    auto *f = port.FlowControl();
    if (setting == "baud256000") port.SetBaudRate(br256000);
    if (setting == "custom") { port.SetBaudRate(brCustom); port.SetCustomBaudRate(31250); }
    if (setting == "check") p->SetCheck(true);
    if (setting == "replace") { p->SetReplace(true); p->SetReplaceChar('?'); }
    if (setting == "checkreplace") { p->SetCheck(true); p->SetReplace(true); p->SetReplaceChar('?'); }
    if (setting == "cts") f->SetOutCTSFlow(true);
    if (setting == "dsr") f->SetOutDSRFlow(true);
    if (setting == "dtrhs") f->SetControlDTR(dtrHandshake);
    if (setting == "dsrsens") f->SetDSRSensitivity(true);
    if (setting == "txcont") f->SetTxContinueOnXoff(true);
    if (setting == "software") f->SetFlowControl(fcSoftware);
    if (setting == "null") port.SetDiscardNull(true);
    if (setting == "rtsen") f->SetControlRTS(rtsEnable);
    if (setting == "hardware") f->SetFlowControl(fcHardware);
    if (setting == "rtstoggle") f->SetControlRTS(rtsToggle);
    const DCB dcb = BuildDCB(port);
    QCOMPARE(dcb.Flags, flags);
    QCOMPARE(dcb.BaudRate, baud);
    QCOMPARE(dcb.ErrorChar, setting == "checkreplace" ? '?' : '\0');
}

void TstComSettings::commTimeouts()
{
    TComTimeouts defaults;
    COMMTIMEOUTS t = BuildCommTimeouts(defaults);
    QCOMPARE(t.ReadIntervalTimeout, MAXDWORD);
    QCOMPARE(t.ReadTotalTimeoutMultiplier, 0u);
    QCOMPARE(t.ReadTotalTimeoutConstant, 0u);
    QCOMPARE(t.WriteTotalTimeoutMultiplier, 100u);
    QCOMPARE(t.WriteTotalTimeoutConstant, 1000u);

    TComTimeouts conf;
    conf.SetReadInterval(500);
    conf.SetReadTotalM(3);
    conf.SetReadTotalC(100);
    conf.SetWriteTotalM(4);
    conf.SetWriteTotalC(-2);
    t = BuildCommTimeouts(conf);
    QCOMPARE(t.ReadIntervalTimeout, 500u);
    QCOMPARE(t.ReadTotalTimeoutMultiplier, 3u);
    QCOMPARE(t.ReadTotalTimeoutConstant, 100u);
    QCOMPARE(t.WriteTotalTimeoutMultiplier, 4u);
    QCOMPARE(t.WriteTotalTimeoutConstant, 0xFFFFFFFEu);

    TComPort port;
    port.SetStopBits(sbTwoStopBits);
    port.SetDataBits(dbSeven);
    port.Parity()->SetBits(prSpace);
    port.SetEventChar('\r');
    port.Buffer()->SetInputSize(100);
    const DCB dcb = BuildDCB(port);
    QCOMPARE(int(dcb.StopBits), int(TWOSTOPBITS));
    QCOMPARE(int(dcb.ByteSize), 7);
    QCOMPARE(int(dcb.Parity), int(SPACEPARITY));
    QCOMPARE(dcb.EvtChar, '\r');
    QCOMPARE(dcb.XonLim, quint16(25));
}

void TstComSettings::exceptionTexts()
{
    const EComPort textOnly(4);
    QCOMPARE(textOnly.ErrorCode(), 4);
    QCOMPARE(textOnly.WinErrorCode(), -1);
    QCOMPARE(textOnly.Message(), QString("Invalid Async parameter"));

    const EComPort withCode(7, 87);
    QCOMPARE(withCode.ErrorCode(), 7);
    QCOMPARE(withCode.WinErrorCode(), 87);
    QCOMPARE(withCode.Message(), QString("SetCommState function failed (win error code: 87)"));
    QCOMPARE(QString::fromUtf8(withCode.what()), withCode.Message());

    QCOMPARE(EComPort(1, 2).Message(), QString("Unable to open com port (win error code: 2)"));
    QCOMPARE(PortErrorText(14), QString("Cannot set property while connected"));
    QCOMPARE(PortErrorText(20), QString("Cannot wait for event if event thread is created"));
    QCOMPARE(PortErrorText(23), QString("Registry error"));
    QVERIFY(PortErrorText(0).isEmpty());
    QVERIFY(PortErrorText(24).isEmpty());
    for (int code = 1; code <= 23; ++code)
        QVERIFY2(!PortErrorText(code).isEmpty(), qPrintable(QString::number(code)));
}

QTEST_GUILESS_MAIN(TstComSettings)
#include "tst_comsettings.moc"
