#pragma once
// The machine's COM names and the devices behind them: first the lines of the
// port table file, then the serial devices it does not name, each on the
// lowest free COM number.
#include <QList>
#include <QString>

struct PortTableEntry {
    QString Name;   // "COM3"
    QString Device; // "/dev/ttyUSB0"
};

struct PortTableSources {
    QString TableFile;                                   // empty: none
    QString DevDir = QStringLiteral("/dev");
    QString SysClassTty = QStringLiteral("/sys/class/tty");
    bool operator==(const PortTableSources &) const = default;
};

// QRV_SERIALCOMM, else $XDG_CONFIG_HOME/qrv/serialcomm, else ~/.config/qrv/serialcomm.
PortTableSources DefaultPortTableSources();
QList<PortTableEntry> BuildPortTable(const PortTableSources &sources);
// Looks the name up (case does not matter); empty when absent. The table is
// kept between look-ups and built again when it can have changed: the table
// file or the entries of the device directory changed, the name is not in
// it, or the device it names is gone.
QString FindPortDevice(const QString &name, const PortTableSources &sources);
// The same, in the table of the default sources.
QString FindPortDevice(const QString &name);
