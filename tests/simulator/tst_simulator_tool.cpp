// The qrv_simulator program as a user runs it: options, the port table line
// it adds, and the clean-up on SIGTERM.
#include "tests/support/Files.h"
#include "tests/support/HandFrames.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Writes a request on the slave and reads the whole reply.
QByteArray Exchange(int fd, const QByteArray &request, int size)
{
    if (::write(fd, request.constData(), size_t(request.size())) != request.size())
        return {};
    QByteArray out;
    while (out.size() < size) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0)
            break;
        char buf[512];
        const ssize_t n = ::read(fd, buf, size_t(size - out.size()));
        if (n <= 0)
            break;
        out.append(buf, n);
    }
    return out;
}

} // namespace

class TstSimulatorTool : public QObject {
    Q_OBJECT
private slots:
    void servesAsConfiguredAndCleansUp();
    void badOptionsAreRefused_data();
    void badOptionsAreRefused();
};

void TstSimulatorTool::servesAsConfiguredAndCleansUp()
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("serialcomm"));
    QFile t(table);
    QVERIFY(t.open(QIODevice::WriteOnly));
    t.write("# bench\nCOM9 /dev/ttyUSB0\nCOM2 /dev/ttyUSB1\n");
    t.close();
    const QString params = dir.filePath(QStringLiteral("params.bin"));
    QFile p(params);
    QVERIFY(p.open(QIODevice::WriteOnly));
    p.write(QByteArray::fromHex("0102030405060708"));
    p.close();

    QProcess sim;
    sim.start(QStringLiteral(QRV_SIMULATOR_PATH),
              {"--com", "COM9", "--table", table, "--model", "QRV610", "--firmware", "01.02",
               "--password", "pw", "--load-area", "5", params});
    QVERIFY(sim.waitForStarted());
    while (!sim.canReadLine())
        QVERIFY2(sim.waitForReadyRead(20000), sim.readAllStandardError().constData());
    const QList<QByteArray> first = sim.readLine().trimmed().split(' ');
    QCOMPARE(first.size(), 2);
    QCOMPARE(first[0], QByteArray("COM9"));
    const QByteArray device = first[1];
    QCOMPARE(ReadAll(table), "# bench\nCOM9 " + device + "\nCOM2 /dev/ttyUSB1\n");

    const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    QCOMPARE(Exchange(fd, "BINARY\r", 1).size(), 1);
    const QByteArray id = Exchange(fd, Frame(0x05), 93);
    QCOMPARE(id.size(), 93);
    QCOMPARE(id.mid(4, 7), QByteArray("QRV610\0", 7));
    QCOMPARE(id.mid(24, 2), QByteArray::fromHex("0201"));
    const QByteArray area = Exchange(fd, Frame(0x13, QByteArray::fromHex("00000000080000 00")), 19);
    QCOMPARE(area.mid(10, 8), QByteArray::fromHex("0102030405060708"));
    // A password makes it start locked.
    const QByteArray write = Exchange(fd, Frame(0x12, QByteArray::fromHex("000000000100") + "x"), 13);
    QCOMPARE(quint8(write.at(10)), quint8(2));
    QCOMPARE(quint8(Exchange(fd, Frame(0x11, QByteArray("pw\0\0\0\0\0\0\0", 9)), 6).at(4)), quint8(0));
    ::close(fd);

    sim.terminate(); // SIGTERM
    QVERIFY(sim.waitForFinished(20000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    const QByteArray log = sim.readAllStandardOutput();
    QVERIFY2(log.contains("BINARY"), log.constData());
    QVERIFY2(log.contains("cmd 11"), log.constData());
    QCOMPARE(ReadAll(table), QByteArray("# bench\nCOM9 /dev/ttyUSB0\nCOM2 /dev/ttyUSB1\n"));
}

void TstSimulatorTool::badOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{"--colour"};
    QTest::newRow("missing value") << QStringList{"--com"};
    QTest::newRow("bad baud") << QStringList{"--baud", "fast"};
    QTest::newRow("bad firmware") << QStringList{"--firmware", "1.2.3"};
    QTest::newRow("area not held") << QStringList{"--load-area", "3", "/dev/null"};
    QTest::newRow("area file missing") << QStringList{"--load-area", "4", "/nonexistent/file"};
    QTest::newRow("area file too large") << QStringList{"--load-area", "5", QStringLiteral(QRV_SIMULATOR_PATH)};
}

void TstSimulatorTool::badOptionsAreRefused()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("serialcomm"));
    QProcess sim;
    sim.start(QStringLiteral(QRV_SIMULATOR_PATH), QStringList{"--table", table} + arguments);
    QVERIFY(sim.waitForFinished(20000));
    QVERIFY(sim.exitCode() != 0);
    QVERIFY(!sim.readAllStandardError().isEmpty());
    QVERIFY(!QFile::exists(table));
}

QTEST_GUILESS_MAIN(TstSimulatorTool)
#include "tst_simulator_tool.moc"
