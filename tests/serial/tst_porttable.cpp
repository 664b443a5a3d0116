// The COM names: the port table file, the machine's devices found in /dev and
// /sys (here a made-up tree), and the sorted list the selector shows.
#include "serial/ComPort.h"
#include "serial/ComPortList.h"
#include "tests/serial/PtyPeer.h"
#include "tests/support/Raised.h"
#include "serial/posix/PortTable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A made-up /dev and /sys/class/tty.
class FakeMachine {
public:
    FakeMachine()
    {
        QDir(dir.path()).mkpath("dev");
        QDir(dir.path()).mkpath("sys/class/tty");
        QDir(dir.path()).mkpath("sys/devices/virtual/tty");
    }
    QString Dev() const { return dir.filePath("dev"); }
    QString SysClassTty() const { return dir.filePath("sys/class/tty"); }

    void Node(const QString &name) const { Touch(dir.filePath("dev/" + name)); }
    // A modification time long past: a table built from a file changed just
    // now is built again at each look-up, until the file has been left alone.
    static void SetTime(const QString &path, int seconds)
    {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    }
    void StampDev(int seconds) const { SetTime(Dev(), seconds); }
    void SetType(const QString &name, const QString &type) const
    {
        Write(dir.filePath("sys/devices/platform/" + name + "/type"), type + "\n");
    }
    // A tty with hardware behind it; type is the sysfs UART type, or empty for none.
    void Hardware(const QString &name, const QString &type = QString()) const
    {
        const QString real = dir.filePath("sys/devices/platform/" + name);
        QDir().mkpath(real + "/hw");
        QFile::link(real + "/hw", real + "/device");
        if (!type.isEmpty())
            Write(real + "/type", type + "\n");
        QFile::link(real, dir.filePath("sys/class/tty/" + name));
    }
    // A virtual tty; it may even carry a device link.
    void Virtual(const QString &name) const
    {
        const QString real = dir.filePath("sys/devices/virtual/tty/" + name);
        QDir().mkpath(real + "/device");
        QFile::link(real, dir.filePath("sys/class/tty/" + name));
    }
    QString TableFile(const QString &lines) const
    {
        const QString path = dir.filePath("serialcomm");
        Write(path, lines);
        return path;
    }
    PortTableSources Sources(const QString &tableFile = QString()) const { return {tableFile, Dev(), SysClassTty()}; }

    QTemporaryDir dir;

private:
    static void Touch(const QString &path) { Write(path, QString()); }
    static void Write(const QString &path, const QString &text)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
    }
};

QStringList Rows(const QList<PortTableEntry> &table, const QString &devDir)
{
    QStringList rows;
    for (const PortTableEntry &e : table)
        rows << e.Name + " " + QString(e.Device).replace(devDir, "DEV");
    return rows;
}

} // namespace

class TstPortTable : public QObject {
    Q_OBJECT
private slots:
    void tableFileLines();
    void machineDevicesInOrder();
    void fileEntriesComeFirst();
    void noPortsNoError();
    void tableThatIsNoRegularFileIsNotRead_data();
    void tableThatIsNoRegularFileIsNotRead();
    void defaultSources_data();
    void defaultSources();
    void machinePortsOutOfReachInTests();
    void lookUp();
    void keptTableFollowsTheMachine();
    void enumSorted();
};

void TstPortTable::tableFileLines()
{
    FakeMachine m;
    const QString file = m.TableFile("# ports of the bench\n"
                                     "\n"
                                     "COM3 /dev/ttyUSB7   # the controller\n"
                                     "com12\t/dev/serial/by-id/usb-FTDI port0\n"
                                     "COM3 /dev/duplicate\n"
                                     "COM0 /dev/zero-is-no-port\n"
                                     "PRN1 /dev/lp0\n"
                                     "COM4\n"
                                     "   COM2   /dev/ttyS9  \n");
    QCOMPARE(Rows(BuildPortTable(m.Sources(file)), m.Dev()),
             QStringList({"COM3 /dev/ttyUSB7", "COM12 /dev/serial/by-id/usb-FTDI port0", "COM2 /dev/ttyS9"}));
}

void TstPortTable::machineDevicesInOrder()
{
    FakeMachine m;
    for (const char *n : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS10", "ttyS2", "ttyAMA0",
                          "tty0", "ttyprintk"})
        m.Node(n);
    m.Hardware("ttyS0", "4");
    m.Hardware("ttyS1", "0");   // no UART behind it
    m.Hardware("ttyS10", "4");
    m.Hardware("ttyS2", "4");
    m.Hardware("ttyAMA0");
    m.Hardware("ttyUSB10");      // already counted from /dev
    m.Hardware("ttyXR0");        // no node in /dev
    m.Virtual("tty0");
    m.Virtual("ttyprintk");
    QCOMPARE(Rows(BuildPortTable(m.Sources()), m.Dev()),
             QStringList({"COM1 DEV/ttyUSB2", "COM2 DEV/ttyUSB10", "COM3 DEV/ttyACM0", "COM4 DEV/ttyAMA0",
                          "COM5 DEV/ttyS0", "COM6 DEV/ttyS2", "COM7 DEV/ttyS10"}));
}

void TstPortTable::fileEntriesComeFirst()
{
    FakeMachine m;
    m.Node("ttyUSB0");
    m.Node("ttyUSB1");
    m.Node("ttyACM0");
    // A file entry naming a device through a link takes that device out of the scan.
    QFile::link(m.Dev() + "/ttyUSB1", m.Dev() + "/by-id-link");
    const QString file = m.TableFile(QString("COM1 /some/pty\nCOM3 %1/by-id-link\n").arg(m.Dev()));
    QCOMPARE(Rows(BuildPortTable(m.Sources(file)), m.Dev()),
             QStringList({"COM1 /some/pty", "COM3 DEV/by-id-link", "COM2 DEV/ttyUSB0", "COM4 DEV/ttyACM0"}));
}

void TstPortTable::noPortsNoError()
{
    FakeMachine m;
    QVERIFY(BuildPortTable(m.Sources(m.dir.filePath("missing-file"))).isEmpty());
    PortTableSources nothing{QString(), m.dir.filePath("nodev"), m.dir.filePath("nosys")};
    QVERIFY(BuildPortTable(nothing).isEmpty());
}

void TstPortTable::tableThatIsNoRegularFileIsNotRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("larger than a table can be") << "large";
}

// Nothing blocks or grows: the table counts as missing and the machine's own
// devices are listed.
void TstPortTable::tableThatIsNoRegularFileIsNotRead()
{
    QFETCH(QString, kind);
    FakeMachine m;
    m.Node("ttyUSB0");
    QString file = m.dir.filePath("serialcomm");
    if (kind == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0666) == 0);
    } else if (kind == "zero") {
        QVERIFY(QFile::link("/dev/zero", file));
    } else {
        file = m.TableFile("COM5 /dev/ttyS9\n" + QString(2 * 1024 * 1024, QLatin1Char('#')) + "\n");
    }
    QCOMPARE(Rows(BuildPortTable(m.Sources(file)), m.Dev()), QStringList({"COM1 DEV/ttyUSB0"}));
}

void TstPortTable::defaultSources_data()
{
    QTest::addColumn<QByteArray>("noScan"); // QRV_NO_PORT_SCAN; null: unset
    QTest::addColumn<QString>("devDir");
    QTest::addColumn<QString>("sysClassTty");
    QTest::newRow("as a user starts the tools") << QByteArray() << "/dev" << "/sys/class/tty";
    QTest::newRow("set empty") << QByteArray("") << "/dev" << "/sys/class/tty";
    QTest::newRow("scan turned off") << QByteArray("1") << "" << "";
}

void TstPortTable::defaultSources()
{
    QFETCH(QByteArray, noScan);
    QFETCH(QString, devDir);
    QFETCH(QString, sysClassTty);
    const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldTable = qgetenv("QRV_SERIALCOMM");
    const QByteArray oldNoScan = qgetenv("QRV_NO_PORT_SCAN");
    if (noScan.isNull())
        qunsetenv("QRV_NO_PORT_SCAN");
    else
        qputenv("QRV_NO_PORT_SCAN", noScan);
    qputenv("QRV_SERIALCOMM", "/tmp/a-table");
    QCOMPARE(DefaultPortTableSources().TableFile, QString("/tmp/a-table"));
    qunsetenv("QRV_SERIALCOMM");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg");
    QCOMPARE(DefaultPortTableSources().TableFile, QString("/tmp/xdg/qrv/serialcomm"));
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(DefaultPortTableSources().TableFile, QDir::homePath() + "/.config/qrv/serialcomm");
    QCOMPARE(DefaultPortTableSources().DevDir, devDir);
    QCOMPARE(DefaultPortTableSources().SysClassTty, sysClassTty);
    if (!oldXdg.isEmpty())
        qputenv("XDG_CONFIG_HOME", oldXdg);
    if (!oldTable.isEmpty())
        qputenv("QRV_SERIALCOMM", oldTable);
    if (oldNoScan.isNull())
        qunsetenv("QRV_NO_PORT_SCAN");
    else
        qputenv("QRV_NO_PORT_SCAN", oldNoScan);
}

// A test that forgets to name its port finds none, whatever serial ports
// the machine has (its console, a technician's adapter).
void TstPortTable::machinePortsOutOfReachInTests()
{
    PortTableFile table("COM7 /dev/pts/777\n");
    QStringList list;
    EnumComPorts(list);
    QCOMPARE(list, QStringList{"COM7"});
    for (int n = 1; n <= 16; ++n) {
        if (n != 7)
            QVERIFY2(FindPortDevice(QStringLiteral("COM%1").arg(n)).isEmpty(), qPrintable(QString::number(n)));
    }
    TComPort port;
    port.SetPort(QStringLiteral("COM1"));
    const EComPort e = Raised([&] { port.Open(); });
    QCOMPARE(e.ErrorCode(), 1);
    QCOMPARE(e.WinErrorCode(), ENOENT);
}

void TstPortTable::lookUp()
{
    PortTableFile table("COM3 /dev/pts/333\nCOM12 /dev/pts/444\n");
    QCOMPARE(ComPortDevicePath("COM3"), QString("/dev/pts/333"));
    QCOMPARE(ComPortDevicePath("com12"), QString("/dev/pts/444"));
    QVERIFY(ComPortDevicePath("COM99").isEmpty());
    QVERIFY(ComPortDevicePath("LPT1").isEmpty());
    QVERIFY(ComPortDevicePath("").isEmpty());
}

void TstPortTable::keptTableFollowsTheMachine()
{
    FakeMachine m;
    const PortTableSources sources = m.Sources();
    m.Node("ttyS1");
    m.Node("ttyS2");
    m.Hardware("ttyS1", "0");
    m.Hardware("ttyS2", "4");
    m.StampDev(1000);
    QCOMPARE(FindPortDevice("COM1", sources), m.Dev() + "/ttyS2");
    QVERIFY(FindPortDevice("COM2", sources).isEmpty());

    // An adapter plugged in takes the first number; the device directory's change shows it.
    m.Node("ttyUSB3");
    m.StampDev(2000);
    QCOMPARE(FindPortDevice("COM1", sources), m.Dev() + "/ttyUSB3");
    QCOMPARE(FindPortDevice("COM2", sources), m.Dev() + "/ttyS2");

    // A name the table lacks looks again.
    m.Node("ttyACM0");
    m.StampDev(3000);
    QCOMPARE(FindPortDevice("COM3", sources), m.Dev() + "/ttyS2");
    QCOMPARE(FindPortDevice("com2", sources), m.Dev() + "/ttyACM0");

    // The table is kept while the files looked at stay as they were: a UART
    // that only /sys tells of comes in when a name is missing.
    m.SetType("ttyS1", "4");
    QCOMPARE(FindPortDevice("COM3", sources), m.Dev() + "/ttyS2");
    QCOMPARE(FindPortDevice("COM4", sources), m.Dev() + "/ttyS2");
    QCOMPARE(FindPortDevice("COM3", sources), m.Dev() + "/ttyS1");

    // A table file rewritten at once, to the same size: read again all the same.
    const QString file = m.TableFile("COM1 /dev/pts/77\n");
    const PortTableSources withFile = m.Sources(file);
    QCOMPARE(FindPortDevice("COM1", withFile), QString("/dev/pts/77"));
    QCOMPARE(FindPortDevice("COM2", withFile), m.Dev() + "/ttyUSB3");
    m.TableFile("COM2 /dev/pts/78\n");
    QCOMPARE(FindPortDevice("COM2", withFile), QString("/dev/pts/78"));
    QCOMPARE(FindPortDevice("COM1", withFile), m.Dev() + "/ttyUSB3");
    // Left alone for long, a rewrite shows by its time.
    FakeMachine::SetTime(file, 4000);
    QCOMPARE(FindPortDevice("COM2", withFile), QString("/dev/pts/78"));
    m.TableFile("COM2 /dev/pts/79\n");
    QCOMPARE(FindPortDevice("COM2", withFile), QString("/dev/pts/79"));
}

void TstPortTable::enumSorted()
{
    PortTableFile table("COM3 /dev/pts/333\nCOM1 /dev/pts/111\nCOM12 /dev/pts/444\n");
    QStringList list = {"left over"};
    EnumComPorts(list);
    // Sorted as text; the machine's own ports are out of the tests' reach.
    QCOMPARE(list, QStringList({"COM1", "COM12", "COM3"}));
}

QTEST_GUILESS_MAIN(TstPortTable)
#include "tst_porttable.moc"
