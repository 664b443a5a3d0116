#include "serial/posix/PortTable.h"
#include "toolkit/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>
#include <algorithm>

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
    for (const QString &pattern : {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}) {
        for (const QString &name : DevNodes(sources.DevDir, pattern))
            devices << QDir(sources.DevDir).filePath(name);
    }
    for (const QString &name : SysfsSerialPorts(sources.SysClassTty)) {
        const QString node = QDir(sources.DevDir).filePath(name);
        if (QFileInfo::exists(node))
            devices << node;
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

QString FindPortDevice(const QString &name)
{
    const int number = ComNumber(name);
    if (number == 0)
        return QString();
    const QString wanted = QStringLiteral("COM%1").arg(number);
    for (const PortTableEntry &e : BuildPortTable(DefaultPortTableSources())) {
        if (e.Name == wanted)
            return e.Device;
    }
    return QString();
}
