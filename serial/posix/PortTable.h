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
    QString TableFile;   // empty: none
    // Where the machine's serial devices are looked for; empty: nowhere.
    QString DevDir;
    QString SysClassTty;
    bool operator==(const PortTableSources &) const = default;
};

// QRV_SERIALCOMM, else $XDG_CONFIG_HOME/qrv/serialcomm, else
// ~/.config/qrv/serialcomm; then /dev and /sys/class/tty, unless
// QRV_NO_PORT_SCAN is set: then the table holds the file's lines alone, so
// that a run that must not touch the machine's ports cannot find one.
PortTableSources DefaultPortTableSources();
QList<PortTableEntry> BuildPortTable(const PortTableSources &sources);
// Looks the name up (case does not matter); empty when absent. The table is
// kept between look-ups and built again when it can have changed: the table
// file or the entries of the device directory changed, the name is not in
// it, or the device it names is gone.
QString FindPortDevice(const QString &name, const PortTableSources &sources);
// The same, in the table of the default sources.
QString FindPortDevice(const QString &name);
