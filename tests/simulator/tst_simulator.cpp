// The simulator driven by hand from the slave side of its pseudo-terminal,
// with frames built here, independently of the programs' own code.
#include "simulator/ControllerSimulator.h"
#include "simulator/ScopedPortTable.h"
#include "tests/support/Bytes.h"
#include "tests/support/HandFrames.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using qrvsim::ControllerSimulator;
using qrvsim::Fault;
using qrvsim::FrameRecord;

namespace {

// The PC's end of the line, as plain as it gets.
class RawLine {
public:
    explicit RawLine(const QString &path)
    {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios t{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~RawLine() { close(); }
    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    int fd() const { return fd_; }

    bool send(const QByteArray &bytes) const
    {
        return ::write(fd_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // Up to count bytes, returning early only when the time limit runs out.
    QByteArray receive(int count, int timeoutMs = 10000) const
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < count) {
            const qint64 left = timeoutMs - timer.elapsed();
            if (left <= 0)
                break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, int(left)) <= 0)
                continue;
            char buf[512];
            const ssize_t n = ::read(fd_, buf, size_t(std::min<qsizetype>(count - out.size(), sizeof buf)));
            if (n <= 0)
                break;
            out.append(buf, n);
        }
        return out;
    }
    // Switches the controller to frames and takes its answer.
    QByteArray binaryMode(int answer = 1) const
    {
        send("BINARY\r");
        return receive(answer);
    }

private:
    int fd_ = -1;
};

QByteArray AreaRead(quint8 command, quint32 address, quint16 count)
{
    return Frame(command, Le(address, 4) + Le(count, 2) + QByteArray(2, '\0'));
}

QByteArray AreaWrite(quint8 command, quint32 address, const QByteArray &data)
{
    return Frame(command, Le(address, 4) + Le(quint16(data.size()), 2) + data);
}

bool ChecksumOk(const QByteArray &reply)
{
    return reply.size() >= 5 && quint8(reply.back()) == Sum(reply, 1, int(reply.size()) - 1);
}

constexpr quint8 Identify = 0x05, ReadState = 0x0C, ReadKey = 0x0E, Password = 0x11;
const QByteArray IdentifyFrame = QByteArray::fromHex("050500 00FB");
const QByteArray FirstConfigBlock = QByteArray::fromHex("05070800000000000001 0000F2");

// A simulator on its own pty and port table, with a line switched to frames.
struct Bench {
    qrvsim::ScopedPortTable table;
    ControllerSimulator sim{QStringLiteral("COM7"), table.path()};
    RawLine line{sim.devicePath()};

    Bench() { line.binaryMode(); }
    // The reply to one request, read to the size it should have.
    QByteArray ask(const QByteArray &request, int size) const
    {
        line.send(request);
        return line.receive(size);
    }
    // The record of the request just sent, once the simulator has logged it.
    FrameRecord last(int logged) const
    {
        if (!sim.waitForLogSize(logged))
            return {};
        return sim.log().at(logged - 1);
    }
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TstSimulator : public QObject {
    Q_OBJECT
private slots:
    void identifyAnswersIdentity();
    void identityIsConfigurable();
    void readsAndLiveBlocks();
    void configBlocksAsTheWorkedExamples();
    void writeThenReadRoundTrip_data();
    void writeThenReadRoundTrip();
    void requestsOutOfRange_data();
    void requestsOutOfRange();
    void badChecksumIsIgnored();
    void noiseBeforeRequestIsSkipped();
    void unfinishedRequestIsDroppedAfterLineGap();
    void binaryModeAnswer_data();
    void binaryModeAnswer();
    void lockedControllerRefuses();
    void passwordUnlocksAcrossConnections();
    void protectedCommands_data();
    void protectedCommands();
    void faultActsOnceThenClears_data();
    void faultActsOnceThenClears();
    void faultTargetsCommandAfterSkip();
    void replyOnlyOnSendCountsRepeats();
    void flipByteInStoredArea();
    void pacingModelsTheWire();
    void unplugFailsPendingRead();
    void unplugFaultOnFrame();
    void unpluggedControllerLeavesThePortTable();
    void portCloseClearsExclusive();
    void portTableEditsKeepOtherLines();
    void simulatorNamesItselfInTable();
    void stopAndStartAgain();
};

void TstSimulator::identifyAnswersIdentity()
{
    Bench b;
    const QByteArray reply = b.ask(IdentifyFrame, 93);
    QCOMPARE(reply.size(), 93);
    QCOMPARE(quint8(reply[0]), quint8(0x05));
    QCOMPARE(quint8(reply[1]), Identify);
    QVERIFY(ChecksumOk(reply));
    const QByteArray id = reply.mid(4, 88);
    QCOMPARE(id.left(7), QByteArray("QRV240\0", 7));
    QCOMPARE(id.mid(9, 2), QByteArray("S\0", 2));
    QCOMPARE(id.mid(20, 2), QByteArray::fromHex("0101")); // firmware 01.01, little-endian
    const FrameRecord r = b.last(2);
    QCOMPARE(r.command, Identify);
    QVERIFY(r.answered);
    QCOMPARE(r.replySize, 93);
}

void TstSimulator::identityIsConfigurable()
{
    Bench b;
    qrvsim::SimIdentity id;
    id.deviceName = "QRV610ABC"; // fills its field: no terminator
    id.modification = "H";
    id.firmwareVersion = 0x0A1F;
    id.uniqueIdentifier = {1, 0xABCD, 0x10000, 0xFFFFFFFF};
    b.sim.setIdentity(id);
    const QByteArray got = b.ask(IdentifyFrame, 93).mid(4, 88);
    QCOMPARE(got.left(9), QByteArray("QRV610ABC"));
    QCOMPARE(got.mid(9, 2), QByteArray("H\0", 2));
    QCOMPARE(got.mid(20, 2), QByteArray::fromHex("1F0A"));
    QCOMPARE(got.mid(72, 16), QByteArray::fromHex("01000000CDAB000000000100FFFFFFFF"));
    QCOMPARE(got, b.sim.identityBytes());
}

void TstSimulator::readsAndLiveBlocks()
{
    Bench b;
    const QByteArray state = Pattern(36, 3);
    const QByteArray key = QByteArray::fromHex("0102030405060708030000 00");
    b.sim.setStateBlock(state);
    b.sim.setTouchKeyBlock(key);

    const QByteArray s = b.ask(Frame(ReadState), 41);
    QCOMPARE(s.size(), 41);
    QVERIFY(ChecksumOk(s));
    QCOMPARE(s.mid(4, 36), state);
    const QByteArray k = b.ask(Frame(ReadKey), 17);
    QCOMPARE(k.size(), 17);
    QVERIFY(ChecksumOk(k));
    QCOMPARE(k.mid(4, 12), key);

    // The clock set is what the state block reads back.
    const QByteArray clock = QByteArray::fromHex("1A0C09070503");
    const QByteArray set = b.ask(Frame(0x0D, clock), 6);
    QCOMPARE(set, QByteArray::fromHex("050D010000F4"));
    QCOMPARE(b.ask(Frame(ReadState), 41).mid(4, 6), clock);
}

void TstSimulator::configBlocksAsTheWorkedExamples()
{
    Bench b;
    const QByteArray image = Pattern(5292, 11);
    QVERIFY(b.sim.setArea(1, image));
    // The frames built here are the worked examples, byte for byte.
    QCOMPARE(AreaRead(0x07, 0, 256), FirstConfigBlock);
    QCOMPARE(Frame(0x10, QByteArray(1, '\0')), QByteArray::fromHex("05100100 00EF"));
    const QByteArray first = b.ask(FirstConfigBlock, 267);
    QCOMPARE(first.size(), 267);
    QCOMPARE(first.left(10), QByteArray::fromHex("05070601000000000001"));
    QCOMPARE(first.mid(10, 256), image.left(256));
    QVERIFY(ChecksumOk(first));

    const QByteArray last = b.ask(QByteArray::fromHex("05070800001400 00AC00000049"), 183);
    QCOMPARE(last.size(), 183);
    QCOMPARE(last.mid(4, 6), QByteArray::fromHex("00140000AC00"));
    QCOMPARE(last.mid(10, 172), image.mid(0x1400, 172));
    QVERIFY(ChecksumOk(last));
}

void TstSimulator::writeThenReadRoundTrip_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("writeCommand");
    QTest::addColumn<int>("readCommand");
    QTest::addColumn<quint32>("address");
    QTest::addColumn<int>("count");
    QTest::newRow("config, last block") << 1 << 0x06 << 0x07 << quint32(0x1400) << 172;
    QTest::newRow("voice, last block") << 2 << 0x01 << 0x02 << quint32(0xFFF00) << 256;
    QTest::newRow("mode memory") << 4 << 0x08 << 0x09 << quint32(0) << 10;
    QTest::newRow("system parameters") << 5 << 0x12 << 0x13 << quint32(0) << 8;
    QTest::newRow("empty block") << 1 << 0x06 << 0x07 << quint32(0) << 0;
}

void TstSimulator::writeThenReadRoundTrip()
{
    QFETCH(int, area);
    QFETCH(int, writeCommand);
    QFETCH(int, readCommand);
    QFETCH(quint32, address);
    QFETCH(int, count);
    Bench b;
    const QByteArray data = Pattern(count, area);
    const QByteArray before = b.sim.area(area);

    const QByteArray w = b.ask(AreaWrite(quint8(writeCommand), address, data), 13);
    QCOMPARE(w.size(), 13);
    QCOMPARE(quint8(w[1]), quint8(writeCommand));
    QCOMPARE(w.mid(4, 6), Le(address, 4) + Le(quint16(count), 2));
    QCOMPARE(quint8(w[10]), quint8(0));
    QVERIFY(ChecksumOk(w));

    QByteArray expected = before;
    expected.replace(qsizetype(address), count, data);
    QCOMPARE(b.sim.area(area), expected);

    const QByteArray r = b.ask(AreaRead(quint8(readCommand), address, quint16(count)), count + 11);
    QCOMPARE(r.size(), count + 11);
    QCOMPARE(r.mid(10, count), data);
    QVERIFY(ChecksumOk(r));
}

void TstSimulator::requestsOutOfRange_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status"); // -1: no reply expected
    QTest::newRow("write past the end") << AreaWrite(0x06, 5292 - 10, Pattern(11, 0)) << 3;
    QTest::newRow("write of 257 bytes") << AreaWrite(0x01, 0, Pattern(257, 0)) << 3;
    QTest::newRow("write to an area not held") << AreaWrite(0x03, 0, Pattern(4, 0)) << 3;
    QTest::newRow("write with a wrong count") << Frame(0x06, Le(0, 4) + Le(9, 2) + Pattern(8, 0)) << 3;
    QTest::newRow("read past the end") << AreaRead(0x09, 8, 3) << -1;
    QTest::newRow("read of 257 bytes") << AreaRead(0x02, 0, 257) << -1;
    QTest::newRow("read address wrapping") << AreaRead(0x07, 0xFFFFFFF0, 32) << -1;
    QTest::newRow("read of an area not held") << AreaRead(0x17, 0, 4) << -1;
    QTest::newRow("unknown command") << Frame(0x15) << -1;
    QTest::newRow("clock of 5 bytes") << Frame(0x0D, Pattern(5, 0)) << 3;
}

void TstSimulator::requestsOutOfRange()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    Bench b;
    const QByteArray config = b.sim.area(1);
    b.line.send(request);
    const FrameRecord r = b.last(2);
    QCOMPARE(r.command, quint8(request[1]));
    if (status < 0) {
        QVERIFY2(!r.answered, qPrintable(qrvsim::Describe(r)));
    } else {
        QVERIFY(r.answered);
        QCOMPARE(r.status, status);
        const QByteArray reply = b.line.receive(r.replySize);
        QCOMPARE(quint8(reply[r.replySize == 13 ? 10 : 4]), quint8(status));
    }
    QVERIFY(!r.note.isEmpty());
    QCOMPARE(b.sim.area(1), config);
    // Nothing else was sent: the next reply comes clean.
    const QByteArray next = b.ask(IdentifyFrame, 93);
    QCOMPARE(next.left(2), QByteArray::fromHex("0505"));
    QVERIFY(ChecksumOk(next));
}

void TstSimulator::badChecksumIsIgnored()
{
    Bench b;
    QByteArray bad = IdentifyFrame;
    bad[4] = char(0xFA);
    b.line.send(bad);
    const FrameRecord r = b.last(2);
    QVERIFY(!r.checksumOk);
    QVERIFY(!r.answered);
    QCOMPARE(b.ask(IdentifyFrame, 93).left(2), QByteArray::fromHex("0505"));
}

void TstSimulator::noiseBeforeRequestIsSkipped()
{
    Bench b;
    // Noise, a start byte with an impossible length, and a broken "BINARY".
    b.line.send(QByteArray::fromHex("00FF13") + QByteArray::fromHex("05 07FFFF") + "BINAR\r");
    const QByteArray reply = b.ask(IdentifyFrame, 93);
    QCOMPARE(reply.size(), 93);
    QVERIFY(ChecksumOk(reply));
    QCOMPARE(b.sim.commands(), QList<quint8>{Identify});
}

void TstSimulator::unfinishedRequestIsDroppedAfterLineGap()
{
    Bench b;
    b.line.send(FirstConfigBlock.left(6));
    // Longer than the controller's line gap; the stale bytes must not swallow the next request.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    const QByteArray reply = b.ask(IdentifyFrame, 93);
    QCOMPARE(reply.size(), 93);
    QVERIFY(ChecksumOk(reply));
    QCOMPARE(b.sim.commands(), QList<quint8>{Identify});
}

void TstSimulator::binaryModeAnswer_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
}

void TstSimulator::binaryModeAnswer()
{
    QFETCH(int, count);
    qrvsim::ScopedPortTable table;
    ControllerSimulator sim(QStringLiteral("COM3"), table.path());
    sim.setBinaryReplyBytes(count);
    RawLine line(sim.devicePath());
    line.send("BINARY\r");
    QVERIFY(sim.waitForLogSize(1));
    const FrameRecord r = sim.log().at(0);
    QCOMPARE(r.kind, FrameRecord::Kind::BinaryMode);
    QCOMPARE(r.answered, count > 0);
    QCOMPARE(r.replySize, count);
    QCOMPARE(line.receive(count).size(), count);
    line.send(IdentifyFrame);
    QCOMPARE(line.receive(93).left(2), QByteArray::fromHex("0505"));
}

void TstSimulator::lockedControllerRefuses()
{
    Bench b;
    b.sim.setPassword("secret");
    b.sim.setLocked(true);
    const QByteArray config = b.sim.area(1);

    const QByteArray w = b.ask(AreaWrite(0x06, 0, Pattern(16, 1)), 13);
    QCOMPARE(w.size(), 13);
    QCOMPARE(quint8(w[10]), quint8(2));
    QVERIFY(ChecksumOk(w));
    QCOMPARE(b.sim.area(1), config);
    QCOMPARE(quint8(b.ask(Frame(0x10, QByteArray(1, '\0')), 6)[4]), quint8(2));

    // Identification, live state, touch key and reads are always answered.
    QCOMPARE(b.ask(IdentifyFrame, 93).size(), 93);
    QCOMPARE(b.ask(Frame(ReadState), 41).size(), 41);
    QCOMPARE(b.ask(Frame(ReadKey), 17).size(), 17);
    QCOMPARE(b.ask(FirstConfigBlock, 267).size(), 267);

    const QByteArray wrong = b.ask(Frame(Password, QByteArray("secreT\0\0\0", 9)), 6);
    QCOMPARE(wrong, QByteArray::fromHex("0511010002EE"));
    const QByteArray empty = b.ask(Frame(Password), 6); // the voice programmer's empty password
    QCOMPARE(quint8(empty[4]), quint8(2));
    QVERIFY(b.sim.isLocked());
}

void TstSimulator::passwordUnlocksAcrossConnections()
{
    Bench b;
    b.sim.setPassword("secret");
    b.sim.setLocked(true);
    QCOMPARE(b.ask(Frame(Password, QByteArray("secret\0\0\0", 9)), 6), QByteArray::fromHex("0511010000F0"));
    QVERIFY(!b.sim.isLocked());

    // One connection per operation: the unlock outlives this one.
    b.line.close();
    RawLine again(b.sim.devicePath());
    again.binaryMode();
    again.send(AreaWrite(0x06, 0, Pattern(16, 1)));
    QCOMPARE(quint8(again.receive(13)[10]), quint8(0));
    QCOMPARE(b.sim.area(1).left(16), Pattern(16, 1));

    // With no password set, a locked controller opens to any password, even an empty one.
    b.sim.setPassword(QByteArray());
    b.sim.setLocked(true);
    again.send(Frame(Password));
    QCOMPARE(quint8(again.receive(6)[4]), quint8(0));
    QVERIFY(!b.sim.isLocked());
}

void TstSimulator::protectedCommands_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("clock") << 0x0D << QByteArray::fromHex("1A0C09070503");
    QTest::newRow("reconfigure") << 0x0F << QByteArray(1, '\0');
    QTest::newRow("restart") << 0x10 << QByteArray(1, '\0');
    QTest::newRow("control") << 0x14 << QByteArray::fromHex("020101");
}

void TstSimulator::protectedCommands()
{
    QFETCH(int, command);
    QFETCH(QByteArray, payload);
    Bench b;
    b.sim.setLocked(true);
    const QByteArray refused = b.ask(Frame(quint8(command), payload), 6);
    QCOMPARE(refused.left(2), QByteArray::fromHex("05") + char(command));
    QCOMPARE(quint8(refused[4]), quint8(2));
    QVERIFY(ChecksumOk(refused));
    b.sim.setLocked(false);
    QCOMPARE(quint8(b.ask(Frame(quint8(command), payload), 6)[4]), quint8(0));
    QCOMPARE(b.sim.log().last().payload, payload);
}

void TstSimulator::faultActsOnceThenClears_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("size");       // size of the correct reply
    QTest::addColumn<QString>("effect");
    QTest::addColumn<int>("at");         // effect's byte offset, or the status expected
    QTest::newRow("no reply") << Fault::noReply(Identify, 1) << IdentifyFrame << 93 << QStringLiteral("none") << 0;
    QTest::newRow("short reply") << Fault::shortReply(Identify, 1) << IdentifyFrame << 93 << QStringLiteral("short") << 92;
    QTest::newRow("short reply of 4") << Fault::shortReply(0x07, 1, 4) << FirstConfigBlock << 267 << QStringLiteral("short") << 4;
    QTest::newRow("bad checksum") << Fault::badChecksum(Identify, 1) << IdentifyFrame << 93 << QStringLiteral("checksum") << 0;
    QTest::newRow("wrong command echo") << Fault::wrongEcho(Identify, 1) << IdentifyFrame << 93 << QStringLiteral("echo") << 1;
    QTest::newRow("wrong address echo") << Fault::wrongEcho(0x07, 1, 5) << FirstConfigBlock << 267 << QStringLiteral("echo") << 5;
    QTest::newRow("status 1 on a send") << Fault::status(1, Password, 1) << Frame(Password) << 6 << QStringLiteral("status") << 1;
    QTest::newRow("status 3 on a send") << Fault::status(3, Password, 1) << Frame(Password) << 6 << QStringLiteral("status") << 3;
    QTest::newRow("status 2 on a write") << Fault::status(2, 0x06, 1) << AreaWrite(0x06, 0, Pattern(8, 2)) << 13 << QStringLiteral("status") << 2;
    QTest::newRow("flipped read byte") << Fault::flipReadData(0x1A, 0x07, 1) << FirstConfigBlock << 267 << QStringLiteral("flip") << 10 + 0x1A;
}

void TstSimulator::faultActsOnceThenClears()
{
    QFETCH(Fault, fault);
    QFETCH(QByteArray, request);
    QFETCH(int, size);
    QFETCH(QString, effect);
    QFETCH(int, at);
    Bench b;
    QVERIFY(b.sim.setArea(1, Pattern(5292, 5)));
    const QByteArray config = b.sim.area(1);
    b.sim.setFault(fault);
    b.line.send(request);
    const FrameRecord r = b.last(2);
    QVERIFY2(r.note.contains(QStringLiteral("fault")), qPrintable(qrvsim::Describe(r)));

    if (effect == QStringLiteral("none")) {
        QVERIFY(!r.answered);
    } else if (effect == QStringLiteral("short")) {
        QCOMPARE(r.replySize, at);
        QCOMPARE(b.line.receive(at).size(), at);
    } else {
        const QByteArray reply = b.line.receive(size);
        QCOMPARE(reply.size(), size);
        QCOMPARE(ChecksumOk(reply), effect != QStringLiteral("checksum"));
        if (effect == QStringLiteral("echo"))
            QVERIFY(reply[at] != request[at]);
        if (effect == QStringLiteral("status")) {
            QCOMPARE(quint8(reply[size == 13 ? 10 : 4]), quint8(at));
            QCOMPARE(b.sim.area(1), config); // refused: nothing written
        }
        if (effect == QStringLiteral("flip")) {
            QCOMPARE(quint8(reply[at]), quint8(~quint8(config[at - 10])));
            QCOMPARE(reply.mid(10, at - 10), config.left(at - 10));
            QCOMPARE(b.sim.area(1), config); // only the reply was changed
        }
    }

    // The fault was for one frame only: the same request now gets a clean reply.
    const QByteArray clean = b.ask(request, size);
    QCOMPARE(clean.size(), size);
    QVERIFY(ChecksumOk(clean));
    QCOMPARE(clean.left(2), request.left(2));
    if (size == 267)
        QCOMPARE(clean.mid(10, 256), config.left(256));
    if (size == 6 || size == 13)
        QCOMPARE(quint8(clean[size == 13 ? 10 : 4]), quint8(0));
}

void TstSimulator::faultTargetsCommandAfterSkip()
{
    Bench b;
    b.sim.setFault(Fault::noReply(ReadState).after(1));
    QCOMPARE(b.ask(Frame(ReadState), 41).size(), 41); // skipped
    int logged = 2;
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(b.ask(IdentifyFrame, 93).size(), 93); // another command: untouched
        b.line.send(Frame(ReadState));
        logged += 2;
        QVERIFY(!b.last(logged).answered); // until cleared
    }
    b.sim.clearFaults();
    QCOMPARE(b.ask(Frame(ReadState), 41).size(), 41);
}

void TstSimulator::replyOnlyOnSendCountsRepeats()
{
    Bench b;
    b.sim.setFault(Fault::replyOnlyOnSend(3, 0x07));
    int logged = 1;
    for (quint32 block = 0; block < 2; ++block) {
        const QByteArray request = AreaRead(0x07, block * 256, 256);
        for (int send = 1; send < 3; ++send) {
            b.line.send(request);
            QVERIFY(!b.last(++logged).answered);
        }
        QCOMPARE(b.ask(request, 267).mid(4, 4), Le(block * 256, 4));
        ++logged;
    }
    // A new connection starts the count again.
    b.line.binaryMode();
    b.line.send(AreaRead(0x07, 256, 256));
    logged += 2;
    QVERIFY(!b.last(logged).answered);
}

void TstSimulator::flipByteInStoredArea()
{
    Bench b;
    QVERIFY(b.sim.setArea(4, Pattern(10, 0)));
    QVERIFY(b.sim.flipByteInArea(4, 9));
    QVERIFY(!b.sim.flipByteInArea(4, 10));
    QVERIFY(!b.sim.flipByteInArea(3, 0));
    QVERIFY(!b.sim.setArea(5, Pattern(9, 0)));
    QByteArray expected = Pattern(10, 0);
    expected[9] = char(~quint8(expected[9]));
    QCOMPARE(b.ask(AreaRead(0x09, 0, 10), 21).mid(10, 10), expected);
}

void TstSimulator::pacingModelsTheWire()
{
    Bench b;
    b.sim.setBaudRate(19200);
    QElapsedTimer timer;
    timer.start();
    b.line.send(FirstConfigBlock);
    const QByteArray first = b.line.receive(1);
    const qint64 firstAt = timer.elapsed();
    const QByteArray rest = b.line.receive(266);
    const qint64 lastAt = timer.elapsed();
    QCOMPARE(first.size() + rest.size(), 267);
    // 267 bytes out at 1920 bytes/s: 139 ms on the wire once the request is in, delivered as it goes.
    QVERIFY2(lastAt >= 139, qPrintable(QString::number(lastAt)));
    QVERIFY2(lastAt < 3000, qPrintable(QString::number(lastAt)));
    QVERIFY2(lastAt - firstAt >= 100, qPrintable(QStringLiteral("%1 %2").arg(firstAt).arg(lastAt)));
}

void TstSimulator::unplugFailsPendingRead()
{
    Bench b;
    int revents = 0;
    std::thread reader([&] {
        pollfd p{b.line.fd(), POLLIN, 0};
        if (::poll(&p, 1, 20000) > 0)
            revents = p.revents;
    });
    b.sim.unplug();
    reader.join();
    QVERIFY(b.sim.isUnplugged());
    QVERIFY(revents & POLLHUP);
    char c;
    QVERIFY(::read(b.line.fd(), &c, 1) <= 0);
    QCOMPARE(::write(b.line.fd(), "x", 1), ssize_t(-1));
    QCOMPARE(errno, EIO);
}

void TstSimulator::unplugFaultOnFrame()
{
    Bench b;
    b.sim.setFault(Fault::unplug(Identify, 1));
    QCOMPARE(b.ask(IdentifyFrame, 93).size(), 93);
    b.line.send(IdentifyFrame);
    // The read for the reply fails instead of timing out.
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(b.line.receive(93, 20000).size(), 0);
    QVERIFY(timer.elapsed() < 15000);
    QVERIFY(b.sim.isUnplugged());
    QVERIFY(b.sim.log().last().note.contains(QStringLiteral("unplugged")));
}

void TstSimulator::unpluggedControllerLeavesThePortTable()
{
    qrvsim::ScopedPortTable table;
    QVERIFY(qrvsim::setPortTableEntry(table.path(), QStringLiteral("COM2"), QStringLiteral("/dev/other")));
    auto read = [&table] {
        QFile in(table.path());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    {
        ControllerSimulator sim(QStringLiteral("COM2"), table.path());
        QCOMPARE(read(), ("COM2 " + sim.devicePath() + "\n").toUtf8());
        sim.unplug();
        // The name stands for a device that does not exist, no longer for the
        // pseudo-terminal's number, which the next one made anywhere may get.
        const QString gone = sim.devicePath() + ".unplugged";
        QCOMPARE(read(), ("COM2 " + gone + "\n").toUtf8());
        QVERIFY(!QFile::exists(gone));
    }
    QCOMPARE(read(), QByteArray("COM2 /dev/other\n"));
}

void TstSimulator::portCloseClearsExclusive()
{
    qrvsim::ScopedPortTable table;
    ControllerSimulator sim(QStringLiteral("COM4"), table.path());
    for (int i = 1; i <= 2; ++i) {
        RawLine port(sim.devicePath());
        QVERIFY(port.fd() >= 0);
        int exclusive = -1;
        QVERIFY(::ioctl(port.fd(), TIOCGEXCL, &exclusive) == 0);
        QCOMPARE(exclusive, 0); // left by the previous port's close
        QVERIFY(::ioctl(port.fd(), TIOCEXCL) == 0);
        QVERIFY(sim.isPortOpen());
        port.close();
        QVERIFY(!sim.isPortOpen());
        QCOMPARE(sim.portOpenCount(), i);
    }
}

void TstSimulator::portTableEditsKeepOtherLines()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sub/serialcomm"));
    QVERIFY(qrvsim::setPortTableEntry(file, QStringLiteral("COM2"), QStringLiteral("/dev/pts/9")));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Append));
    f.write("# my adapter\nCOM5 /dev/ttyUSB0   # the bench\ncom5 /dev/ttyUSB1\nCOM50 /dev/ttyS0\n");
    f.close();

    QStringList replaced;
    QVERIFY(qrvsim::setPortTableEntry(file, QStringLiteral("COM5"), QStringLiteral("/dev/pts/3"), &replaced));
    QCOMPARE(replaced, QStringList({"COM5 /dev/ttyUSB0   # the bench", "com5 /dev/ttyUSB1"}));
    auto read = [&] {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
    };
    QCOMPARE(read(), QStringLiteral("COM2 /dev/pts/9\n# my adapter\nCOM5 /dev/pts/3\nCOM50 /dev/ttyS0\n"));

    // A line that another device took over is left alone.
    QVERIFY(qrvsim::removePortTableEntry(file, QStringLiteral("COM2"), QStringLiteral("/dev/pts/8")));
    QVERIFY(read().startsWith(QStringLiteral("COM2 /dev/pts/9\n")));
    QVERIFY(qrvsim::removePortTableEntry(file, QStringLiteral("COM5"), QStringLiteral("/dev/pts/3"), replaced));
    QCOMPARE(read(), QStringLiteral("COM2 /dev/pts/9\n# my adapter\nCOM5 /dev/ttyUSB0   # the bench\n"
                                    "com5 /dev/ttyUSB1\nCOM50 /dev/ttyS0\n"));
}

void TstSimulator::simulatorNamesItselfInTable()
{
    // As the shell that started the test has them.
    const auto variable = [](const char *name) {
        return qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    };
    const std::optional<QByteArray> tableBefore = variable("QRV_SERIALCOMM");
    const std::optional<QByteArray> noScanBefore = variable("QRV_NO_PORT_SCAN");
    QString path;
    {
        qrvsim::ScopedPortTable table;
        QCOMPARE(qEnvironmentVariable("QRV_SERIALCOMM"), table.path());
        QCOMPARE(qgetenv("QRV_NO_PORT_SCAN"), QByteArray("1"));
        QCOMPARE(qrvsim::defaultPortTablePath(), table.path());
        path = table.path();
        QVERIFY(qrvsim::setPortTableEntry(path, QStringLiteral("COM7"), QStringLiteral("/dev/ttyUSB0")));
        {
            ControllerSimulator one(QStringLiteral("COM7"), path);
            ControllerSimulator two(QStringLiteral("COM8"), path);
            QFile in(path);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(in.readAll()),
                     QStringLiteral("COM7 %1\nCOM8 %2\n").arg(one.devicePath(), two.devicePath()));
        }
        QFile in(path);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), QByteArray("COM7 /dev/ttyUSB0\n"));
    }
    QCOMPARE(variable("QRV_SERIALCOMM"), tableBefore);
    QCOMPARE(variable("QRV_NO_PORT_SCAN"), noScanBefore);
}

void TstSimulator::stopAndStartAgain()
{
    Bench b;
    b.sim.stop();
    QVERIFY(!b.sim.isRunning());
    b.sim.start();
    QVERIFY(b.sim.isRunning());
    QCOMPARE(b.ask(IdentifyFrame, 93).size(), 93);
}

QTEST_GUILESS_MAIN(TstSimulator)
#include "tst_simulator.moc"
