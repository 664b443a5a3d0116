// Programming and verifying the whole voice memory through PhraseLoader's
// window, against the controller simulator pacing at 115200 baud: measured
// time against the time the bytes take on the wire, and the CPU the program
// spends meanwhile (the process's, less the simulator's thread). About 100 s;
// run by hand.
#include "simulator/ControllerSimulator.h"
#include "voiceprog/Mainform.h"
#include "simulator/ScopedPortTable.h"
#include "link/Readdata.h"
#include "voiceprog/core/VoiceFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

constexpr int Baud = 115200;

struct WireBytes {
    long requests = 0;
    long replies = 0;
};

// Bytes each direction carried, from what the simulator saw and sent.
WireBytes Carried(const QList<qrvsim::FrameRecord> &log)
{
    WireBytes bytes;
    for (const qrvsim::FrameRecord &r : log) {
        const bool binary = r.kind == qrvsim::FrameRecord::Kind::BinaryMode;
        bytes.requests += binary ? BinaryModeCommandLength : r.payload.size() + 5;
        bytes.replies += r.replySize;
    }
    return bytes;
}

QSet<QString> Threads()
{
    const QStringList tasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return QSet<QString>(tasks.begin(), tasks.end());
}

double ProcessCpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// CPU time of threads of this process, from their schedstat (nanoseconds first).
double ThreadsCpuSeconds(const QSet<QString> &threads)
{
    double seconds = 0;
    for (const QString &tid : threads) {
        QFile stat(QStringLiteral("/proc/self/task/%1/schedstat").arg(tid));
        if (stat.open(QIODevice::ReadOnly))
            seconds += stat.readAll().split(' ').value(0).toDouble() / 1e9;
    }
    return seconds;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SelectMemoryAreaTable(MemoryAreaTable::VoiceProgrammer);
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    qrvsim::ScopedPortTable table;
    const QSet<QString> before = Threads();
    qrvsim::ControllerSimulator sim(QStringLiteral("COM7"), table.path());
    const QSet<QString> simThreads = Threads() - before;
    sim.setBaudRate(Baud);
    SaveVoiceSettings(QLatin1String(VoiceSettingsFileName), QStringLiteral("COM7"));

    TForm1 window;
    // A bank close to full, so that the image is mostly messages.
    for (int event = 0; event < VoiceEventCount; ++event) {
        for (int k = 0; k < 21000; ++k)
            window.Bank().AppendSample(std::uint8_t(event), std::int16_t((k * 7919 + event * 131) % 50000 - 25000));
    }
    sim.clearLog();

    const double cpuStart = ProcessCpuSeconds() - ThreadsCpuSeconds(simThreads);
    const auto start = std::chrono::steady_clock::now();
    window.ProgrammExecute();
    const double measured = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - ThreadsCpuSeconds(simThreads) - cpuStart;

    const QByteArray image(reinterpret_cast<const char *>(window.Bank().Image().data()), qsizetype(VoiceImageSize));
    const bool same = sim.area(maVoiceImage) == image;
    const WireBytes bytes = Carried(sim.log());
    const double wire = (bytes.requests + bytes.replies) * 10.0 / Baud;
    // A UART's write returns once the request is sent; the pty's returns at
    // once, so the requests' wire time is missing from the measured time.
    const double hidden = bytes.requests * 10.0 / Baud;
    const double asOnAUart = measured + hidden;
    std::printf("program and verify the voice memory at %d baud: \"%s\", controller %s\n", Baud,
                qPrintable(window.ActionName->text()), same ? "holds the image" : "DIFFERS");
    std::printf("measured %.3f s; wire %.3f s (%ld bytes), of it %.3f s of requests that the pty hides; "
                "as on a UART %.3f s, ratio %.4f\n",
                measured, wire, bytes.requests + bytes.replies, hidden, asOnAUart, asOnAUart / wire);
    const qsizetype exchanges = sim.log().size();
    // The same work spread over the longer time a UART takes is a smaller share.
    std::printf("PhraseLoader's CPU: %.2f s, %.3f ms per exchange (%lld exchanges); %.2f %% of a core here, "
                "%.2f %% as on a UART\n",
                cpu, cpu / double(exchanges) * 1e3, qlonglong(exchanges), cpu / measured * 100, cpu / asOnAUart * 100);
    return same ? 0 : 1;
}
