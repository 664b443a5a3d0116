// The port on a real device: a pseudo-terminal pair whose slave the port table
// names COM5, with the test on the master side.
#include "serial/ComPort.h"
#include "tests/serial/LineSpeedProbe.h"
#include "tests/serial/PtyPeer.h"
#include "tests/serial/Repeater.h"
#include "tests/support/Raised.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {

void SetTimeouts(TCustomComPort &port, int interval, int readM, int readC, int writeM = 0, int writeC = 0)
{
    port.Timeouts()->SetReadInterval(interval);
    port.Timeouts()->SetReadTotalM(readM);
    port.Timeouts()->SetReadTotalC(readC);
    port.Timeouts()->SetWriteTotalM(writeM);
    port.Timeouts()->SetWriteTotalC(writeC);
}

} // namespace

class TstComPortPty : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void unknownNameRefused();
    void secondOpenRefused();
    void rawBytesBothWays();
    void readAtOnce();
    void readPartUnderTotalTimeout();
    void readNothingUnderTotalTimeout();
    void intervalTimeout();
    void intervalKeepsBurstsTogether();
    void firstByteReturnsAtOnce();
    void maxIntervalWithTotals();
    void writeOfZeroBytes();
    void writeDeadlineReturnsWhatLeft();
    void purgeBothQueues();
    void purgeFromAnotherThreadAbortsRead();
    void purgeFromAnotherThreadAbortsWrite();
    void peerClosedMidRead();
    void peerClosedWrite();
    void noModemLines();
    void termiosLeftOnDevice_data();
    void termiosLeftOnDevice();
    void customSpeed();

private:
    std::unique_ptr<PtyPeer> peer_;
    std::unique_ptr<PortTableFile> table_;
    std::unique_ptr<TComPort> port_;
};

void TstComPortPty::init()
{
    peer_ = std::make_unique<PtyPeer>();
    QVERIFY(peer_->IsValid());
    table_ = std::make_unique<PortTableFile>(QStringLiteral("# test pty\nCOM5 %1\n").arg(peer_->SlavePath()));
    port_ = std::make_unique<TComPort>();
    port_->SetPort("COM5");
}

void TstComPortPty::cleanup()
{
    port_.reset();
    table_.reset();
    peer_.reset();
}

void TstComPortPty::unknownNameRefused()
{
    port_->SetPort("COM77");
    const EComPort e = Raised([&] { port_->Open(); });
    QCOMPARE(e.ErrorCode(), 1);
    QCOMPARE(e.WinErrorCode(), ENOENT);
    QVERIFY(!port_->Connected());
    port_->Close();
}

void TstComPortPty::secondOpenRefused()
{
    port_->Open();
    TComPort second;
    second.SetPort("com5"); // names are looked up regardless of case
    const EComPort e = Raised([&] { second.Open(); });
    QCOMPARE(e.ErrorCode(), 1);
    QCOMPARE(e.WinErrorCode(), EBUSY);
    QVERIFY(!second.Connected());
    // The first port is untouched, and the device is free again once it closes.
    QCOMPARE(port_->WriteStr("ok"), 2);
    QCOMPARE(peer_->Receive(2), QByteArray("ok"));
    port_->Close();
    second.Open();
    QVERIFY(second.Connected());
}

void TstComPortPty::rawBytesBothWays()
{
    SetTimeouts(*port_, 0, 0, 5000, 0, 5000);
    port_->Open();
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QByteArray frame = QByteArray("\x05\x0D\x11\x13\x00\x0A\x7F\x03\x1A\x1C\xFF", 11) + all;
    QVERIFY(peer_->Send(frame));
    QByteArray got;
    QCOMPARE(port_->ReadStr(got, int(frame.size())), int(frame.size()));
    QCOMPARE(got, frame);
    QCOMPARE(port_->WriteStr(frame), int(frame.size()));
    QCOMPARE(peer_->Receive(int(frame.size())), frame);
}

void TstComPortPty::readAtOnce()
{
    port_->Open(); // the defaults -1/0/0
    char buffer[16];
    QElapsedTimer t;
    t.start();
    QCOMPARE(port_->Read(buffer, 16), 0);
    QVERIFY(peer_->Send("12345"));
    QTRY_COMPARE(port_->InputCount(), 5);
    QCOMPARE(port_->Read(buffer, 16), 5);
    QCOMPARE(QByteArray(buffer, 5), QByteArray("12345"));
    QVERIFY2(t.elapsed() < 5000, "a read under -1/0/0 never waits");
}

void TstComPortPty::readPartUnderTotalTimeout()
{
    SetTimeouts(*port_, 0, 0, 300);
    port_->Open();
    QVERIFY(peer_->Send("abcd"));
    QTRY_COMPARE(port_->InputCount(), 4);
    char buffer[10];
    QElapsedTimer t;
    t.start();
    QCOMPARE(port_->Read(buffer, 10), 4);
    QVERIFY2(t.elapsed() >= 290, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(QByteArray(buffer, 4), QByteArray("abcd"));
}

void TstComPortPty::readNothingUnderTotalTimeout()
{
    // The configurator's read time-outs: 3 ms a byte plus 100 ms.
    SetTimeouts(*port_, 500, 3, 100);
    port_->Open();
    char buffer[10];
    QElapsedTimer t;
    t.start();
    QCOMPARE(port_->Read(buffer, 10), 0);
    QVERIFY2(t.elapsed() >= 125, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
}

void TstComPortPty::intervalTimeout()
{
    SetTimeouts(*port_, 150, 0, 0); // no total: only the gap after a byte ends the read
    port_->Open();
    QVERIFY(peer_->Send("xyz"));
    char buffer[10];
    QElapsedTimer t;
    t.start();
    QCOMPARE(port_->Read(buffer, 10), 3);
    QVERIFY2(t.elapsed() >= 140, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
}

void TstComPortPty::intervalKeepsBurstsTogether()
{
    SetTimeouts(*port_, 2000, 0, 20000);
    port_->Open();
    std::thread sender([this] {
        peer_->Send("ab");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        peer_->Send("cd");
    });
    char buffer[4];
    const int n = port_->Read(buffer, 4); // complete by count, long before any time-out
    sender.join();
    QCOMPARE(n, 4);
    QCOMPARE(QByteArray(buffer, 4), QByteArray("abcd"));
}

void TstComPortPty::firstByteReturnsAtOnce()
{
    SetTimeouts(*port_, -1, -1, 20000);
    port_->Open();
    std::thread sender([this] { peer_->Send("Q"); });
    char buffer[10];
    QElapsedTimer t;
    t.start();
    const int n = port_->Read(buffer, 10);
    sender.join();
    QCOMPARE(n, 1);
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
}

void TstComPortPty::maxIntervalWithTotals()
{
    // Interval MAXDWORD with totals: what is queued comes back at once; an
    // empty queue waits for the count under the total time-out.
    SetTimeouts(*port_, -1, 0, 1000);
    port_->Open();
    QVERIFY(peer_->Send("ab"));
    QTRY_COMPARE(port_->InputCount(), 2);
    char buffer[10];
    QElapsedTimer t;
    t.start();
    QCOMPARE(port_->Read(buffer, 10), 2);
    QVERIFY2(t.elapsed() < 900, qPrintable(QString::number(t.elapsed())));
    t.restart();
    QCOMPARE(port_->Read(buffer, 10), 0);
    QVERIFY2(t.elapsed() >= 990, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
}

void TstComPortPty::writeOfZeroBytes()
{
    port_->Open();
    QCOMPARE(port_->Write("", 0), 0);
    QCOMPARE(port_->Read(nullptr, 0), 0);
}

void TstComPortPty::writeDeadlineReturnsWhatLeft()
{
    SetTimeouts(*port_, -1, 0, 0, 0, 200);
    port_->Open();
    // Nobody reads the master: the pseudo-terminal's queues fill up.
    QByteArray big(1 << 20, 'w');
    QElapsedTimer t;
    t.start();
    const int n = port_->WriteStr(big);
    QVERIFY2(t.elapsed() >= 190, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(n > 0);
    QVERIFY(n < big.size());
}

void TstComPortPty::purgeBothQueues()
{
    port_->Open();
    QVERIFY(peer_->Send("stale bytes"));
    QTRY_COMPARE(port_->InputCount(), 11);
    port_->ClearBuffer(true, true);
    QCOMPARE(port_->InputCount(), 0);
    QCOMPARE(port_->OutputCount(), 0);
    char buffer[4];
    QCOMPARE(port_->Read(buffer, 4), 0);
    QVERIFY(peer_->Send("new"));
    QTRY_COMPARE(port_->InputCount(), 3);
    QCOMPARE(port_->Read(buffer, 4), 3);
    QCOMPARE(QByteArray(buffer, 3), QByteArray("new"));
}

void TstComPortPty::purgeFromAnotherThreadAbortsRead()
{
    SetTimeouts(*port_, 0, 0, 60000);
    port_->Open();
    char buffer[10];
    QElapsedTimer t;
    t.start();
    EComPort e(0, 0);
    {
        Repeater abort([this] { port_->AbortAllAsync(); });
        e = Raised([&] { port_->Read(buffer, 10); });
    }
    QCOMPARE(e.ErrorCode(), 3);
    QCOMPARE(e.WinErrorCode(), ECANCELED);
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    // The port goes on working after the abort.
    QVERIFY(peer_->Send("z"));
    SetTimeouts(*port_, 0, 0, 5000);
    QCOMPARE(port_->Read(buffer, 1), 1);
}

void TstComPortPty::purgeFromAnotherThreadAbortsWrite()
{
    SetTimeouts(*port_, -1, 0, 0, 0, 0); // no write time-out: only the abort ends it
    port_->Open();
    QByteArray big(1 << 20, 'w');
    QElapsedTimer t;
    t.start();
    EComPort e(0, 0);
    {
        Repeater abort([this] { port_->AbortAllAsync(); });
        e = Raised([&] { port_->WriteStr(big); });
    }
    QCOMPARE(e.ErrorCode(), 2);
    QCOMPARE(e.WinErrorCode(), ECANCELED);
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
}

void TstComPortPty::peerClosedMidRead()
{
    SetTimeouts(*port_, 0, 0, 60000);
    port_->Open();
    char buffer[10];
    QElapsedTimer t;
    t.start();
    // Closed before or during the read: either way the read fails at once.
    std::thread closer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        peer_->CloseMaster();
    });
    const EComPort e = Raised([&] { port_->Read(buffer, 10); });
    closer.join();
    QCOMPARE(e.ErrorCode(), 3);
    QCOMPARE(e.WinErrorCode(), EIO);
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    // A second read does not spin or wait either, and the port still closes.
    t.restart();
    QCOMPARE(Raised([&] { port_->Read(buffer, 10); }).ErrorCode(), 3);
    QVERIFY(t.elapsed() < 10000);
    try {
        port_->Close();
    } catch (const EComPort &) {
    }
    QVERIFY(!port_->Connected());
}

void TstComPortPty::peerClosedWrite()
{
    SetTimeouts(*port_, -1, 0, 0, 0, 0);
    port_->Open();
    peer_->CloseMaster();
    QElapsedTimer t;
    t.start();
    const EComPort e = Raised([&] { port_->WriteStr("BINARY\r"); });
    QCOMPARE(e.ErrorCode(), 2);
    QCOMPARE(e.WinErrorCode(), EIO);
    QVERIFY(t.elapsed() < 10000);
}

void TstComPortPty::noModemLines()
{
    port_->FlowControl()->SetControlDTR(dtrEnable);
    port_->FlowControl()->SetControlRTS(rtsEnable);
    port_->Open();
    QVERIFY(port_->Signals().Empty());
    port_->SetDTR(true);
    port_->SetRTS(true);
    port_->SetDTR(false);
    port_->SetBreak(true);
    port_->SetBreak(false);
    QVERIFY(port_->LastErrors().Empty());
    port_->SetXonXoff(false);
    port_->SetXonXoff(true);
    port_->TransmitChar('T');
    QCOMPARE(peer_->Receive(1), QByteArray("T"));
}

void TstComPortPty::termiosLeftOnDevice_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("data");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("flow");
    QTest::addColumn<unsigned>("speed");
    QTest::addColumn<unsigned>("cflagSet");
    QTest::addColumn<unsigned>("cflagClear");
    QTest::addColumn<unsigned>("iflagSet");
    QTest::newRow("configurator 19200 8N1") << int(br19200) << int(dbEight) << int(prNone) << int(sbOneStopBit)
        << int(fcNone) << 19200u << unsigned(CS8) << unsigned(PARENB | CSTOPB | CRTSCTS) << 0u;
    QTest::newRow("voice 115200 8N1") << int(br115200) << int(dbEight) << int(prNone) << int(sbOneStopBit)
        << int(fcNone) << 115200u << unsigned(CS8) << unsigned(PARENB | CSTOPB) << 0u;
    QTest::newRow("7E2") << int(br9600) << int(dbSeven) << int(prEven) << int(sbTwoStopBits) << int(fcNone)
        << 9600u << unsigned(CS7 | PARENB | CSTOPB) << unsigned(PARODD | CMSPAR) << 0u;
    QTest::newRow("odd") << int(br4800) << int(dbEight) << int(prOdd) << int(sbOneStopBit) << int(fcNone)
        << 4800u << unsigned(PARENB | PARODD) << unsigned(CMSPAR | CSTOPB) << 0u;
    QTest::newRow("mark") << int(br1200) << int(dbEight) << int(prMark) << int(sbOneStopBit) << int(fcNone)
        << 1200u << unsigned(PARENB | PARODD | CMSPAR) << 0u << 0u;
    QTest::newRow("space 5 bits 1.5 stop") << int(br110) << int(dbFive) << int(prSpace) << int(sbOne5StopBits)
        << int(fcNone) << 110u << unsigned(CS5 | PARENB | CMSPAR | CSTOPB) << unsigned(PARODD) << 0u;
    QTest::newRow("hardware flow") << int(br38400) << int(dbEight) << int(prNone) << int(sbOneStopBit)
        << int(fcHardware) << 38400u << unsigned(CRTSCTS) << 0u << 0u;
    QTest::newRow("software flow") << int(br57600) << int(dbEight) << int(prNone) << int(sbOneStopBit)
        << int(fcSoftware) << 57600u << 0u << unsigned(CRTSCTS) << unsigned(IXON | IXOFF);
    QTest::newRow("no Bxxx: 14400") << int(br14400) << int(dbEight) << int(prNone) << int(sbOneStopBit)
        << int(fcNone) << 14400u << 0u << 0u << 0u;
    QTest::newRow("no Bxxx: 256000") << int(br256000) << int(dbEight) << int(prNone) << int(sbOneStopBit)
        << int(fcNone) << 256000u << 0u << 0u << 0u;
}

void TstComPortPty::termiosLeftOnDevice()
{
    QFETCH(int, baud);
    QFETCH(int, data);
    QFETCH(int, parity);
    QFETCH(int, stop);
    QFETCH(int, flow);
    QFETCH(unsigned, speed);
    QFETCH(unsigned, cflagSet);
    QFETCH(unsigned, cflagClear);
    QFETCH(unsigned, iflagSet);

    // A cooked device to start from, as a fresh terminal is.
    termios before;
    QCOMPARE(tcgetattr(peer_->Master(), &before), 0);
    before.c_lflag |= ICANON | ECHO | ISIG;
    before.c_iflag |= ICRNL | ISTRIP;
    before.c_oflag |= OPOST | ONLCR;
    QCOMPARE(tcsetattr(peer_->Master(), TCSANOW, &before), 0);

    port_->SetBaudRate(TBaudRate(baud));
    port_->SetDataBits(TDataBits(data));
    port_->Parity()->SetBits(TParityBits(parity));
    port_->SetStopBits(TStopBits(stop));
    port_->FlowControl()->SetFlowControl(TFlowControl(flow));
    port_->Open();

    termios t;
    QCOMPARE(tcgetattr(peer_->Master(), &t), 0); // the slave's settings, seen from the master
    QCOMPARE(ProbeLineSpeed(peer_->Master()), speed);
    // The pseudo-terminal driver drops PARENB (kept by the mapping's own test).
    cflagSet &= ~unsigned(PARENB);
    QCOMPARE(unsigned(t.c_cflag & cflagSet), cflagSet);
    QCOMPARE(unsigned(t.c_cflag & cflagClear), 0u);
    QCOMPARE(unsigned(t.c_iflag & (IXON | IXOFF)), iflagSet);
    QCOMPARE(unsigned(t.c_cflag & (CLOCAL | CREAD)), unsigned(CLOCAL | CREAD));
    QCOMPARE(unsigned(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN)), 0u);
    QCOMPARE(unsigned(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | PARMRK | IXANY)), 0u);
    QCOMPARE(unsigned(t.c_oflag & OPOST), 0u);
    QCOMPARE(int(t.c_cc[VSTART]), 17);
    QCOMPARE(int(t.c_cc[VSTOP]), 19);
}

void TstComPortPty::customSpeed()
{
    port_->SetBaudRate(brCustom);
    port_->SetCustomBaudRate(31250);
    port_->Open();
    QCOMPARE(ProbeLineSpeed(peer_->Master()), 31250u);
    port_->SetBaudRate(br19200); // back to a Bxxx rate on the open port
    QCOMPARE(ProbeLineSpeed(peer_->Master()), 19200u);
    // Speed 0 would hang the line up: refused, the value kept.
    port_->SetBaudRate(brCustom);
    const EComPort e = Raised([&] { port_->SetCustomBaudRate(0); });
    QCOMPARE(e.ErrorCode(), 7);
    QCOMPARE(e.WinErrorCode(), EINVAL);
    QCOMPARE(port_->CustomBaudRate(), 0);
    QVERIFY(port_->Connected());
}

QTEST_GUILESS_MAIN(TstComPortPty)
#include "tst_comport_pty.moc"
