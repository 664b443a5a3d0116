// CPU cost of the configurator's live-state polling. Each QRV_CONF given runs as
// a process of its own, offscreen, against the controller simulator, first
// pacing its replies at 19200 baud and then unpaced. After a warm-up the
// process's CPU time (utime + stime of /proc/<pid>/stat) is taken over a
// measured span and set against the poll cycles the simulator served (one
// identification each). Give the binaries before and after a change to see
// both in one run on the same machine; the runs take turns, so that a load
// that comes and goes falls on all of them, and each figure is the median of
// the runs with the lowest and the highest.
#include "simulator/ControllerSimulator.h"
#include "simulator/ScopedPortTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char Usage[] =
    "usage: poll_bench [--runs N] [--warmup S] [--seconds S] [[LABEL=]QRV_CONF ...]\n"
    "  --runs N      runs of each program against each simulator (default 3)\n"
    "  --warmup S    seconds of polling before the measured span (default 5)\n"
    "  --seconds S   length of the measured span (default 15)\n"
    "  QRV_CONF      binaries to measure, each optionally labelled (default: this build's)\n";

constexpr quint8 IdentifyCommand = 0x05;
constexpr int PacedBaud = 19200;

struct Program {
    QString label;
    QString path;
};

struct Figures {
    double cpuShare = 0;   // of one core
    double cpuPerCycle = 0; // seconds
    double cyclesPerSecond = 0;
};

// utime + stime of the whole process, in seconds; nothing once it has gone.
std::optional<double> ProcessCpu(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = stat.readAll();
    // The command name may hold blanks; the fields counted here follow it.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    if (fields.size() < 13)
        return std::nullopt;
    const double ticks = double(fields[11].toLongLong() + fields[12].toLongLong());
    return ticks / double(sysconf(_SC_CLK_TCK));
}

// "median (lowest .. highest)" of one figure over the runs.
QString Spread(std::vector<double> values, double scale, int decimals)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    auto text = [&](double v) { return QString::number(v * scale, 'f', decimals); };
    return QStringLiteral("%1 (%2 .. %3)").arg(text(median), text(values.front()), text(values.back()));
}

bool WaitFor(const std::atomic<long> &cycles, long count, std::chrono::seconds limit)
{
    const auto end = Clock::now() + limit;
    while (cycles.load() < count) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::optional<Figures> Measure(const Program &program, int baud, double warmup, double seconds)
{
    QTemporaryDir root;
    const QString home = root.filePath(QStringLiteral("home"));
    const QString runtime = root.filePath(QStringLiteral("runtime"));
    const QString work = root.filePath(QStringLiteral("work"));
    for (const QString &dir : {home, runtime, work})
        QDir().mkpath(dir);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The program finds the simulator's port and no port of the machine.
    const qrvsim::ScopedPortTable table;
    qrvsim::ControllerSimulator sim(QStringLiteral("COM1"), table.path());
    sim.setBaudRate(baud);
    std::atomic<long> cycles{0};
    sim.setObserver([&cycles](const qrvsim::FrameRecord &r) {
        if (r.kind == qrvsim::FrameRecord::Kind::Frame && r.command == IdentifyCommand && r.answered)
            cycles.fetch_add(1);
    });

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(work);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(root.filePath(QStringLiteral("stderr")));
    process.start(program.path, {});
    auto fail = [&](const char *what) -> std::optional<Figures> {
        std::fprintf(stderr, "%s: %s\n", qPrintable(program.path), what);
        QFile err(root.filePath(QStringLiteral("stderr")));
        if (err.open(QIODevice::ReadOnly))
            std::fprintf(stderr, "%s", err.readAll().right(2000).constData());
        return std::nullopt;
    };
    if (!process.waitForStarted(30000))
        return fail("does not start");
    const qint64 pid = process.processId();

    std::optional<Figures> figures;
    if (!WaitFor(cycles, 1, std::chrono::seconds(30))) {
        fail("no poll cycle within 30 s");
    } else {
        std::this_thread::sleep_for(std::chrono::duration<double>(warmup));
        sim.clearLog();
        const auto cpu0 = ProcessCpu(pid);
        const long cycles0 = cycles.load();
        const auto t0 = Clock::now();
        for (auto end = t0 + std::chrono::duration<double>(seconds); Clock::now() < end;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            sim.clearLog(); // the simulator keeps every frame otherwise
        }
        const auto cpu1 = ProcessCpu(pid);
        const long cycles1 = cycles.load();
        const double span = std::chrono::duration<double>(Clock::now() - t0).count();
        if (!cpu0 || !cpu1 || cycles1 == cycles0) {
            fail("ended or stopped polling while measured");
        } else {
            Figures f;
            f.cpuShare = (*cpu1 - *cpu0) / span;
            f.cpuPerCycle = (*cpu1 - *cpu0) / double(cycles1 - cycles0);
            f.cyclesPerSecond = double(cycles1 - cycles0) / span;
            figures = f;
        }
    }
    ::kill(pid_t(pid), SIGTERM);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    sim.setObserver(nullptr);
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 3;
    double warmup = 5, seconds = 15;
    std::vector<Program> programs;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (arg == QLatin1String("--runs") || arg == QLatin1String("--warmup") || arg == QLatin1String("--seconds")) {
            bool ok = false;
            const double value = i + 1 < args.size() ? args[i + 1].toDouble(&ok) : 0;
            if (!ok || value <= 0) {
                std::fprintf(stderr, "%s: not a positive number\n%s", qPrintable(arg), Usage);
                return 2;
            }
            if (arg == QLatin1String("--runs"))
                runs = std::max(1, int(value));
            else
                (arg == QLatin1String("--warmup") ? warmup : seconds) = value;
            ++i;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        programs.push_back(eq > 0 ? Program{arg.left(eq), arg.mid(eq + 1)} : Program{arg, arg});
    }
    if (programs.empty())
        programs.push_back({QStringLiteral("QRV_CONF"), QStringLiteral(QRV_CONF_PATH)});

    std::printf("%d runs of %.0f s after %.0f s of warm-up; median (lowest .. highest)\n", runs, seconds, warmup);
    std::printf("%-12s %-11s %-24s %-26s %s\n", "program", "simulator", "CPU share, % of a core", "CPU per cycle, ms",
                "cycles/s");
    bool allMeasured = true;
    for (const int baud : {PacedBaud, 0}) {
        std::vector<std::vector<Figures>> measured(programs.size());
        for (int run = 0; run < runs; ++run) {
            for (size_t p = 0; p < programs.size(); ++p) {
                if (const auto f = Measure(programs[p], baud, warmup, seconds))
                    measured[p].push_back(*f);
                else
                    allMeasured = false;
            }
        }
        const QString line = baud > 0 ? QStringLiteral("%1 baud").arg(baud) : QStringLiteral("unpaced");
        for (size_t p = 0; p < programs.size(); ++p) {
            if (measured[p].empty()) {
                std::printf("%-12s %-11s failed\n", qPrintable(programs[p].label), qPrintable(line));
                continue;
            }
            std::vector<double> share, perCycle, rate;
            for (const Figures &f : measured[p]) {
                share.push_back(f.cpuShare);
                perCycle.push_back(f.cpuPerCycle);
                rate.push_back(f.cyclesPerSecond);
            }
            std::printf("%-12s %-11s %-24s %-26s %s\n", qPrintable(programs[p].label), qPrintable(line),
                        qPrintable(Spread(share, 100, 1)), qPrintable(Spread(perCycle, 1e3, 3)),
                        qPrintable(Spread(rate, 1, 1)));
        }
        std::fflush(stdout);
    }
    return allMeasured ? 0 : 1;
}
