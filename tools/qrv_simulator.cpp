// qrv_simulator: serves a simulated QRV controller on a pseudo-terminal and
// names it in the port table, so the programs find it under a COM name.
#include "simulator/ControllerSimulator.h"
#include "simulator/ScopedPortTable.h"

#include <QFile>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include <pthread.h>

namespace {

const char Usage[] =
    "usage: qrv_simulator [options]\n"
    "  --com NAME            COM name to serve (default COM1)\n"
    "  --table FILE          port table to name it in (default: $QRV_SERIALCOMM,\n"
    "                        else $XDG_CONFIG_HOME/qrv/serialcomm or ~/.config/qrv/serialcomm)\n"
    "  --baud N              pace the replies as a line at N baud (default: unpaced)\n"
    "  --model TEXT          device name (default QRV240)\n"
    "  --modification TEXT   modification (default S)\n"
    "  --firmware WORD       firmware word, as 0x0101 or 01.01 (default 0x0101)\n"
    "  --password TEXT       password of the controller; it starts locked\n"
    "  --locked              start locked (with no password any password unlocks)\n"
    "  --load-area N FILE    load memory area N (1, 2, 4, 5) from FILE\n"
    "Prints the COM name and the device, then one line per request; SIGINT or\n"
    "SIGTERM gives the port table back as it was and ends it.\n";

struct Options {
    QString com = QStringLiteral("COM1");
    QString table;
    int baud = 0;
    qrvsim::SimIdentity identity;
    std::optional<QByteArray> password;
    bool locked = false;
    std::vector<std::pair<int, QString>> areas;
};

std::optional<quint16> ParseWord(const QString &text)
{
    bool ok = false;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() == 2) {
        const uint high = parts[0].toUInt(&ok, 16);
        if (!ok || high > 0xFF)
            return std::nullopt;
        const uint low = parts[1].toUInt(&ok, 16);
        if (!ok || low > 0xFF)
            return std::nullopt;
        return quint16(high << 8 | low);
    }
    const uint word = text.toUInt(&ok, 0);
    if (!ok || word > 0xFFFF)
        return std::nullopt;
    return quint16(word);
}

// Returns an error text, empty on success.
QString Parse(int argc, char **argv, Options &o)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        auto value = [&](int n = 0) -> const char * { return i + 1 + n < argc ? argv[i + 1 + n] : nullptr; };
        auto need = [&](int n) { return value(n - 1) != nullptr; };
        if (arg == "--help" || arg == "-h")
            return QStringLiteral("help");
        if (arg == "--locked") {
            o.locked = true;
            continue;
        }
        const int count = arg == "--load-area" ? 2 : 1;
        if (!need(count))
            return QStringLiteral("%1: value missing").arg(QString::fromLocal8Bit(arg));
        const QString v = QString::fromLocal8Bit(value());
        if (arg == "--com") {
            o.com = v;
        } else if (arg == "--table") {
            o.table = v;
        } else if (arg == "--baud") {
            bool ok = false;
            o.baud = v.toInt(&ok);
            if (!ok || o.baud <= 0)
                return QStringLiteral("--baud: not a positive number: %1").arg(v);
        } else if (arg == "--model") {
            o.identity.deviceName = value();
        } else if (arg == "--modification") {
            o.identity.modification = value();
        } else if (arg == "--firmware") {
            const auto word = ParseWord(v);
            if (!word)
                return QStringLiteral("--firmware: not a version word: %1").arg(v);
            o.identity.firmwareVersion = *word;
        } else if (arg == "--password") {
            o.password = QByteArray(value());
        } else if (arg == "--load-area") {
            bool ok = false;
            const int area = v.toInt(&ok);
            if (!ok || qrvsim::ControllerSimulator::areaSize(area) == 0)
                return QStringLiteral("--load-area: no such area: %1").arg(v);
            o.areas.emplace_back(area, QString::fromLocal8Bit(value(1)));
        } else {
            return QStringLiteral("unknown option: %1").arg(QString::fromLocal8Bit(arg));
        }
        i += count;
    }
    if (o.table.isEmpty())
        o.table = qrvsim::defaultPortTablePath();
    return QString();
}

void Print(const QString &line)
{
    std::fputs(line.toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    const QString error = Parse(argc, argv, options);
    if (error == QStringLiteral("help")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "qrv_simulator: %s\n%s", error.toLocal8Bit().constData(), Usage);
        return 2;
    }

    std::vector<std::pair<int, QByteArray>> areas;
    for (const auto &[area, path] : options.areas) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "qrv_simulator: %s: %s\n", path.toLocal8Bit().constData(),
                         file.errorString().toLocal8Bit().constData());
            return 1;
        }
        areas.emplace_back(area, file.readAll());
        if (areas.back().second.size() > qrvsim::ControllerSimulator::areaSize(area)) {
            std::fprintf(stderr, "qrv_simulator: %s: larger than area %d (%d bytes)\n", path.toLocal8Bit().constData(),
                         area, qrvsim::ControllerSimulator::areaSize(area));
            return 1;
        }
    }

    // The serving thread inherits the mask, so the signals come to sigwait only.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, s);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        // Named in the table only once it is set up, so no program meets a half-made controller.
        qrvsim::ControllerSimulator sim;
        sim.setIdentity(options.identity);
        sim.setBaudRate(options.baud);
        if (options.password)
            sim.setPassword(*options.password);
        sim.setLocked(options.locked || !options.password.value_or(QByteArray()).isEmpty());
        for (const auto &[area, bytes] : areas)
            sim.setArea(area, bytes);
        sim.setObserver([](const qrvsim::FrameRecord &r) { Print(qrvsim::Describe(r)); });
        QString tableError;
        QStringList replaced;
        if (!qrvsim::setPortTableEntry(options.table, options.com, sim.devicePath(), &replaced, &tableError)) {
            std::fprintf(stderr, "qrv_simulator: %s\n", tableError.toLocal8Bit().constData());
            return 1;
        }
        Print(options.com + QLatin1Char(' ') + sim.devicePath());

        int signal = 0;
        sigwait(&stopSignals, &signal);
        sim.setObserver(nullptr);
        if (!qrvsim::removePortTableEntry(options.table, options.com, sim.devicePath(), replaced, &tableError))
            std::fprintf(stderr, "qrv_simulator: %s\n", tableError.toLocal8Bit().constData());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qrv_simulator: %s\n", e.what());
        return 1;
    }
    return 0;
}
