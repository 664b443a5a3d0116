// Transfer figures of the controller link against the controller simulator:
// software overhead per block exchange (unpaced), and measured time against
// wire time for programming and verifying the configuration image at 19200 baud.
#include "configurator/core/ConfiguratorPort.h"
#include "serial/ComPort.h"
#include "simulator/ControllerSimulator.h"
#include "simulator/ScopedPortTable.h"
#include "link/Readdata.h"
#include "voiceprog/core/VoiceProgrammerPort.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Prints failures only.
class NoStatus : public IStatusLabel {
public:
    void ShowStatus(const QString &text, TColor colour) override
    {
        if (colour == clRed)
            std::printf("  failure: %s\n", qPrintable(text));
    }
};

// Time of every block step.
class StepClock : public IProgressBar {
public:
    void SetMax(int) override {}
    void SetPosition(int) override
    {
        std::lock_guard lock(m_);
        steps.push_back(Clock::now());
    }
    std::vector<Clock::time_point> steps;

private:
    std::mutex m_;
};

int Run(TReadData &worker)
{
    worker.Resume();
    return worker.WaitFor();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qrvsim::ScopedPortTable table;
    NoStatus status;

    {
        SelectMemoryAreaTable(MemoryAreaTable::VoiceProgrammer);
        qrvsim::ControllerSimulator sim(QStringLiteral("COM7"), table.path());
        TComPort port;
        port.SetPort(QStringLiteral("COM7"));
        SetVoiceProgrammerPortSettings(port);
        std::vector<char> image(1048576);
        StepClock steps;
        const auto start = Clock::now();
        TReadData worker(true, opReadArea, maVoiceImage, image.data(), int(image.size()), 0, &port, &steps, &status);
        const int result = Run(worker);
        const double total = std::chrono::duration<double>(Clock::now() - start).count();
        std::vector<double> deltas;
        for (size_t i = 2; i < steps.steps.size(); ++i)
            deltas.push_back(std::chrono::duration<double, std::micro>(steps.steps[i] - steps.steps[i - 1]).count());
        std::sort(deltas.begin(), deltas.end());
        std::printf("read 1 MiB of area 2, unpaced: result %d, %.2f s, %zu blocks, per block median %.0f us, "
                    "99th %.0f us\n",
                    result, total, deltas.size() + 1, deltas[deltas.size() / 2], deltas[deltas.size() * 99 / 100]);
    }

    {
        SelectMemoryAreaTable(MemoryAreaTable::Configurator);
        qrvsim::ControllerSimulator sim(QStringLiteral("COM8"), table.path());
        sim.setBaudRate(19200);
        TComPort port;
        port.SetPort(QStringLiteral("COM8"));
        SetConfiguratorPortSettings(port);
        std::vector<char> image(5292);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = char(i * 13);
        const auto start = Clock::now();
        TReadData worker(true, opProgramArea, maConfigImage, image.data(), int(image.size()), 0, &port, nullptr,
                         &status);
        const int result = Run(worker);
        const double measured = std::chrono::duration<double>(Clock::now() - start).count();
        if (result != 0)
            for (const auto &record : sim.log())
                std::printf("  %s\n", qPrintable(qrvsim::Describe(record)));
        // Bytes each direction carries: the binary-mode text and its answer, then per
        // block a request and a reply, for the write and for the read-back.
        long requests = 7, replies = 1;
        for (int done = 0; done < 5292; done += 256) {
            const int count = std::min(256, 5292 - done);
            requests += (count + 11) + 13; // write request, read request
            replies += 13 + (count + 11);  // their replies
        }
        const double wire = (requests + replies) * 10.0 / 19200;
        // A UART's write returns once the request is sent; the pty's returns at
        // once, so the requests' wire time is missing from the measured time.
        const double hidden = requests * 10.0 / 19200;
        const double asOnAUart = measured + hidden;
        std::printf("program and verify 5292 bytes at 19200 baud: result %d, measured %.3f s; wire %.3f s "
                    "(%ld bytes), of it %.3f s of requests that the pty hides; as on a UART %.3f s, ratio %.4f\n",
                    result, measured, wire, requests + replies, hidden, asOnAUart, asOnAUart / wire);
    }
    return 0;
}
