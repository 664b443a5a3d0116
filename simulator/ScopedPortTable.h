#pragma once
// The port table the serial layer reads: lines "COMn /path/to/device", '#'
// starts a comment. The simulator adds its own line and takes it out again.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace qrvsim {

// QRV_SERIALCOMM when set, else $XDG_CONFIG_HOME/qrv/serialcomm, else ~/.config/qrv/serialcomm.
QString defaultPortTablePath();

// Points comName at device: lines naming comName give way to one line for
// device (in the first one's place), every other line is kept as it was.
// Creates the file and its folder when missing.
bool setPortTableEntry(const QString &file, const QString &comName, const QString &device,
                       QStringList *replaced = nullptr, QString *error = nullptr);

// Takes out the line naming comName, but only while it still names device;
// the lines given in restore (those it replaced) take its place.
bool removePortTableEntry(const QString &file, const QString &comName, const QString &device,
                          const QStringList &restore = {}, QString *error = nullptr);

// For tests and benchmarks: an empty port table in a fresh temporary folder,
// named by QRV_SERIALCOMM, and the machine's own serial ports out of the
// table (QRV_NO_PORT_SCAN), for as long as this lives.
class ScopedPortTable {
public:
    ScopedPortTable();
    ~ScopedPortTable();
    ScopedPortTable(const ScopedPortTable &) = delete;
    ScopedPortTable &operator=(const ScopedPortTable &) = delete;

    QString path() const { return path_; }

private:
    // An environment variable set for a while, then as it was.
    class Setting {
    public:
        Setting(const char *name, const QByteArray &value);
        ~Setting();

    private:
        const char *name_;
        QByteArray previous_;
        bool hadPrevious_;
    };

    QTemporaryDir dir_;
    QString path_;
    Setting table_;
    Setting noScan_;
};

} // namespace qrvsim
