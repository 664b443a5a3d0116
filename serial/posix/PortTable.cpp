#include "serial/posix/PortTable.h"
#include "toolkit/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A table names a few ports, one a line.
constexpr qint64 MaxTableFileSize = 1024 * 1024;

// COM3 -> 3; 0 for anything that is no COM name.
int ComNumber(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^COM([1-9][0-9]{0,8})$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(name);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString Canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

// ttyS2 before ttyS10: the name's text, then its trailing number.
bool NaturalLess(const QString &a, const QString &b)
{
    auto split = [](const QString &s) {
        qsizetype i = s.size();
        while (i > 0 && s.at(i - 1).isDigit())
            --i;
        return std::make_pair(s.left(i), s.mid(i).toULongLong());
    };
    return split(a) < split(b);
}

void ReadTableFile(const QString &file, QList<PortTableEntry> &table)
{
    // Only a regular file is read, so that a FIFO or device named here cannot hold up the start.
    const OptionalFile f = file.isEmpty() ? OptionalFile{} : ReadOptionalFile(file, MaxTableFileSize);
    if (f.status != OptionalFile::Read)
        return;
    QTextStream in(f.bytes);
    while (!in.atEnd()) {
        QString line = in.readLine();
        line.truncate(line.indexOf(QLatin1Char('#')) < 0 ? line.size() : line.indexOf(QLatin1Char('#')));
        line = line.trimmed();
        const qsizetype gap = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
        if (gap < 0)
            continue;
        const int number = ComNumber(line.left(gap));
        const QString device = line.mid(gap).trimmed();
        const QString name = QStringLiteral("COM%1").arg(number);
        const bool taken = std::any_of(table.begin(), table.end(),
                                       [&](const PortTableEntry &e) { return e.Name == name; });
        if (number > 0 && !taken)
            table.append({name, device});
    }
}

QStringList DevNodes(const QString &devDir, const QString &pattern)
{
    QStringList names = QDir(devDir).entryList({pattern}, QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

// Other ttys with hardware behind them; ttyS* only where a UART was found.
QStringList SysfsSerialPorts(const QString &sysClassTty)
{
    QStringList names;
    const QDir dir(sysClassTty);
    for (const QString &name : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        if (name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM")))
            continue;
        const QString entry = dir.filePath(name);
        if (!QFileInfo::exists(entry + QStringLiteral("/device")))
            continue;
        if (Canonical(entry).contains(QLatin1String("/devices/virtual/")))
            continue;
        if (name.startsWith(QLatin1String("ttyS"))) {
            QFile type(entry + QStringLiteral("/type"));
            if (!type.open(QIODevice::ReadOnly) || type.readAll().trimmed() == "0")
                continue;
        }
        names << name;
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

// What a look at a file or directory tells without reading it: a new file
// (a new inode), a rewritten one, a directory whose entries changed.
struct Stamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const Stamp &) const = default;
};

Stamp StampOf(const QString &path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    auto ns = [](const timespec &t) { return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return {true, st.st_dev, st.st_ino, st.st_size, ns(st.st_mtim), ns(st.st_ctim)};
}

bool DeviceExists(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), F_OK) == 0;
}

QString Lookup(const QList<PortTableEntry> &table, const QString &name)
{
    for (const PortTableEntry &e : table) {
        if (e.Name == name)
            return e.Device;
    }
    return QString();
}

std::int64_t RealTimeNs()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// File times move in clock ticks: a file changed again within the tick of
// its last change (a table rewritten at once, a new file that gets the freed
// inode) keeps its stamp. A stamp is trusted only once the file had been left
// alone this long when the table was built.
constexpr std::int64_t SettleNs = 1000000000;

// The table of the last look-up and what it was built from. Every port open
// looks a name up; listing the machine's devices each time is what it saves.
struct KeptTable {
    bool built = false;
    PortTableSources sources;
    Stamp tableFile;
    Stamp devDir;
    std::int64_t builtNs = 0;
    QList<PortTableEntry> entries;

    void Build(const PortTableSources &from)
    {
        // Stamped before the build, so that a change during it shows next time.
        sources = from;
        tableFile = StampOf(from.TableFile);
        devDir = StampOf(from.DevDir);
        builtNs = RealTimeNs();
        entries = BuildPortTable(from);
        built = true;
    }
    bool Settled(const Stamp &stamp) const { return !stamp.exists || stamp.modifiedNs < builtNs - SettleNs; }
    bool Current(const PortTableSources &from) const
    {
        return built && sources == from && Settled(tableFile) && Settled(devDir) &&
               tableFile == StampOf(from.TableFile) && devDir == StampOf(from.DevDir);
    }
};

std::mutex keptMutex;
KeptTable kept;

} // namespace

PortTableSources DefaultPortTableSources()
{
    PortTableSources s;
    if (qEnvironmentVariableIsSet("QRV_SERIALCOMM")) {
        s.TableFile = qEnvironmentVariable("QRV_SERIALCOMM");
    } else {
        QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (config.isEmpty())
            config = QDir::homePath() + QStringLiteral("/.config");
        s.TableFile = config + QStringLiteral("/qrv/serialcomm");
    }
    if (qEnvironmentVariableIsEmpty("QRV_NO_PORT_SCAN")) {
        s.DevDir = QStringLiteral("/dev");
        s.SysClassTty = QStringLiteral("/sys/class/tty");
    }
    return s;
}

QList<PortTableEntry> BuildPortTable(const PortTableSources &sources)
{
    QList<PortTableEntry> table;
    ReadTableFile(sources.TableFile, table);

    QSet<int> taken;
    QSet<QString> named;
    for (const PortTableEntry &e : table) {
        taken.insert(ComNumber(e.Name));
        named.insert(Canonical(e.Device));
    }
    QStringList devices;
    if (!sources.DevDir.isEmpty()) {
        for (const QString &pattern : {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}) {
            for (const QString &name : DevNodes(sources.DevDir, pattern))
                devices << QDir(sources.DevDir).filePath(name);
        }
        const QStringList others =
            sources.SysClassTty.isEmpty() ? QStringList() : SysfsSerialPorts(sources.SysClassTty);
        for (const QString &name : others) {
            const QString node = QDir(sources.DevDir).filePath(name);
            if (QFileInfo::exists(node))
                devices << node;
        }
    }
    int next = 1;
    for (const QString &device : devices) {
        if (named.contains(Canonical(device)))
            continue;
        while (taken.contains(next))
            ++next;
        taken.insert(next);
        table.append({QStringLiteral("COM%1").arg(next), device});
    }
    return table;
}

QString FindPortDevice(const QString &name, const PortTableSources &sources)
{
    const int number = ComNumber(name);
    if (number == 0)
        return QString();
    const QString wanted = QStringLiteral("COM%1").arg(number);
    std::lock_guard lock(keptMutex);
    if (!kept.Current(sources)) {
        kept.Build(sources);
        return Lookup(kept.entries, wanted);
    }
    QString device = Lookup(kept.entries, wanted);
    // An adapter may have come or gone without a change the stamps show.
    if (device.isEmpty() || !DeviceExists(device)) {
        kept.Build(sources);
        device = Lookup(kept.entries, wanted);
    }
    return device;
}

QString FindPortDevice(const QString &name)
{
    return FindPortDevice(name, DefaultPortTableSources());
}
