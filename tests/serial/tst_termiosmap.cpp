// The line state as termios: every DCB field that has a termios meaning, and
// the raw mode that lets every byte of a frame through.
#include "serial/ComPort.h"
#include "serial/posix/TermiosMap.h"

#include <QTest>

namespace {

// A terminal as a login shell leaves it: cooked, echoing, translating.
termios Cooked()
{
    termios t{};
    t.c_iflag = ICRNL | IXON | IXANY | ISTRIP | BRKINT | IGNCR | INLCR | PARMRK | INPCK;
    t.c_oflag = OPOST | ONLCR;
    t.c_cflag = CS8 | HUPCL | PARENB | CSTOPB | CRTSCTS;
    t.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN | ECHONL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 5;
    return t;
}

} // namespace

class TstTermiosMap : public QObject {
    Q_OBJECT
private slots:
    void rawWhateverBefore();
    void lineFields_data();
    void lineFields();
    void speeds_data();
    void speeds();
    void refused_data();
    void refused();
};

void TstTermiosMap::rawWhateverBefore()
{
    TComPort port;
    termios t = Cooked();
    bool arbitrary = true;
    QCOMPARE(DcbToTermios(BuildDCB(port), t, arbitrary), 0);
    QVERIFY(!arbitrary);
    QCOMPARE(unsigned(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN)), 0u);
    QCOMPARE(unsigned(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | PARMRK | IXON | IXOFF | IXANY | INPCK)), 0u);
    QCOMPARE(unsigned(t.c_oflag & OPOST), 0u);
    QCOMPARE(unsigned(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS)), unsigned(CS8));
    QCOMPARE(unsigned(t.c_cflag & (CLOCAL | CREAD)), unsigned(CLOCAL | CREAD));
    QCOMPARE(int(t.c_cc[VMIN]), 1);
    QCOMPARE(int(t.c_cc[VTIME]), 0);
    QCOMPARE(cfgetospeed(&t), speed_t(B9600));
    QCOMPARE(cfgetispeed(&t), speed_t(B9600));
}

void TstTermiosMap::lineFields_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<unsigned>("cflag"); // of CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS
    QTest::addColumn<unsigned>("iflag"); // of INPCK | IXON | IXOFF
    QTest::newRow("8N1") << "" << unsigned(CS8) << 0u;
    QTest::newRow("5 data bits") << "db5" << unsigned(CS5) << 0u;
    QTest::newRow("6 data bits") << "db6" << unsigned(CS6) << 0u;
    QTest::newRow("7 data bits") << "db7" << unsigned(CS7) << 0u;
    QTest::newRow("odd") << "odd" << unsigned(CS8 | PARENB | PARODD) << 0u;
    QTest::newRow("even") << "even" << unsigned(CS8 | PARENB) << 0u;
    QTest::newRow("mark") << "mark" << unsigned(CS8 | PARENB | PARODD | CMSPAR) << 0u;
    QTest::newRow("space") << "space" << unsigned(CS8 | PARENB | CMSPAR) << 0u;
    QTest::newRow("even checked") << "evencheck" << unsigned(CS8 | PARENB) << unsigned(INPCK);
    QTest::newRow("1.5 stop bits") << "stop15" << unsigned(CS8 | CSTOPB) << 0u;
    QTest::newRow("2 stop bits") << "stop2" << unsigned(CS8 | CSTOPB) << 0u;
    QTest::newRow("hardware flow") << "hardware" << unsigned(CS8 | CRTSCTS) << 0u;
    QTest::newRow("cts flow alone") << "cts" << unsigned(CS8 | CRTSCTS) << 0u;
    QTest::newRow("software flow") << "software" << unsigned(CS8) << unsigned(IXON | IXOFF);
    QTest::newRow("xon out only") << "xout" << unsigned(CS8) << unsigned(IXON);
    // No termios meaning: accepted, nothing changes.
    QTest::newRow("dsr flow") << "dsr" << unsigned(CS8) << 0u;
    QTest::newRow("discard null") << "null" << unsigned(CS8) << 0u;
    QTest::newRow("rts toggle") << "toggle" << unsigned(CS8) << 0u;
    QTest::newRow("replace char") << "replace" << unsigned(CS8 | PARENB) << unsigned(INPCK);
}

void TstTermiosMap::lineFields()
{
    QFETCH(QString, setting);
    QFETCH(unsigned, cflag);
    QFETCH(unsigned, iflag);
    TComPort port;
    auto *p = port.Parity();
    auto *f = port.FlowControl();
    if (setting == "db5") port.SetDataBits(dbFive);
    if (setting == "db6") port.SetDataBits(dbSix);
    if (setting == "db7") port.SetDataBits(dbSeven);
    if (setting == "odd") p->SetBits(prOdd);
    if (setting == "even") p->SetBits(prEven);
    if (setting == "mark") p->SetBits(prMark);
    if (setting == "space") p->SetBits(prSpace);
    if (setting == "evencheck") { p->SetBits(prEven); p->SetCheck(true); }
    if (setting == "stop15") port.SetStopBits(sbOne5StopBits);
    if (setting == "stop2") port.SetStopBits(sbTwoStopBits);
    if (setting == "hardware") f->SetFlowControl(fcHardware);
    if (setting == "cts") f->SetOutCTSFlow(true);
    if (setting == "software") f->SetFlowControl(fcSoftware);
    if (setting == "xout") f->SetXonXoffOut(true);
    if (setting == "dsr") { f->SetOutDSRFlow(true); f->SetDSRSensitivity(true); }
    if (setting == "null") port.SetDiscardNull(true);
    if (setting == "toggle") f->SetControlRTS(rtsToggle);
    if (setting == "replace") { p->SetBits(prEven); p->SetCheck(true); p->SetReplace(true); p->SetReplaceChar('?'); }
    f->SetXonChar(0x11);
    f->SetXoffChar(0x13);
    termios t = Cooked();
    bool arbitrary = false;
    QCOMPARE(DcbToTermios(BuildDCB(port), t, arbitrary), 0);
    QCOMPARE(unsigned(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS)), cflag);
    QCOMPARE(unsigned(t.c_iflag & (INPCK | IXON | IXOFF | IXANY | PARMRK)), iflag);
    QCOMPARE(int(t.c_cc[VSTART]), 0x11);
    QCOMPARE(int(t.c_cc[VSTOP]), 0x13);
}

void TstTermiosMap::speeds_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("custom");
    QTest::addColumn<bool>("arbitrary");
    QTest::addColumn<unsigned>("constant");
    QTest::newRow("110") << int(br110) << 0 << false << unsigned(B110);
    QTest::newRow("19200") << int(br19200) << 0 << false << unsigned(B19200);
    QTest::newRow("115200") << int(br115200) << 0 << false << unsigned(B115200);
    QTest::newRow("14400") << int(br14400) << 0 << true << 0u;
    QTest::newRow("56000") << int(br56000) << 0 << true << 0u;
    QTest::newRow("128000") << int(br128000) << 0 << true << 0u;
    QTest::newRow("256000") << int(br256000) << 0 << true << 0u;
    QTest::newRow("custom 230400") << int(brCustom) << 230400 << false << unsigned(B230400);
    QTest::newRow("custom 31250") << int(brCustom) << 31250 << true << 0u;
}

void TstTermiosMap::speeds()
{
    QFETCH(int, rate);
    QFETCH(int, custom);
    QFETCH(bool, arbitrary);
    QFETCH(unsigned, constant);
    TComPort port;
    port.SetBaudRate(TBaudRate(rate));
    port.SetCustomBaudRate(custom);
    termios t = Cooked();
    cfsetospeed(&t, B4800);
    cfsetispeed(&t, B4800);
    bool got = !arbitrary;
    QCOMPARE(DcbToTermios(BuildDCB(port), t, got), 0);
    QCOMPARE(got, arbitrary);
    if (!arbitrary) {
        QCOMPARE(unsigned(cfgetospeed(&t)), constant);
        QCOMPARE(unsigned(cfgetispeed(&t)), constant);
    }
}

void TstTermiosMap::refused_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("speed 0") << "baud0";
    QTest::newRow("negative speed") << "baudneg";
    QTest::newRow("byte size 9") << "size9";
    QTest::newRow("byte size 4") << "size4";
    QTest::newRow("parity 5") << "parity5";
    QTest::newRow("stop bits 3") << "stop3";
}

void TstTermiosMap::refused()
{
    QFETCH(QString, field);
    TComPort port;
    DCB dcb = BuildDCB(port);
    if (field == "baud0") dcb.BaudRate = 0;
    if (field == "baudneg") dcb.BaudRate = 0xFFFFFFF0u;
    if (field == "size9") dcb.ByteSize = 9;
    if (field == "size4") dcb.ByteSize = 4;
    if (field == "parity5") dcb.Parity = 5;
    if (field == "stop3") dcb.StopBits = 3;
    termios t = Cooked();
    const termios before = t;
    bool arbitrary = false;
    QCOMPARE(DcbToTermios(dcb, t, arbitrary), EINVAL);
    QCOMPARE(t.c_lflag, before.c_lflag); // nothing half-changed
}

QTEST_GUILESS_MAIN(TstTermiosMap)
#include "tst_termiosmap.moc"
