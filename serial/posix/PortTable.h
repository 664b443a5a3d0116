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
};

// QRV_SERIALCOMM, else $XDG_CONFIG_HOME/qrv/serialcomm, else ~/.config/qrv/serialcomm.
PortTableSources DefaultPortTableSources();
QList<PortTableEntry> BuildPortTable(const PortTableSources &sources);
// Looks the name up in the table built now; case does not matter. Empty when absent.
QString FindPortDevice(const QString &name);
