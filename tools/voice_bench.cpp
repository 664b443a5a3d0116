// Speed and memory of the voice bank: encoding a 261-second recording, building
// and parsing the voice-memory image, and the peak memory with a full bank.
// Times are the median of several runs, with the fastest and the slowest.
#include "tools/BenchTiming.h"
#include "voiceprog/core/Voicebank.h"
#include "voiceprog/core/WavImport.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr std::uint32_t RecordingSamples = 261 * VoiceSampleRate;

// The process's peak resident memory so far (VmHWM). Unlike getrusage's
// ru_maxrss it starts anew with this program, not with the process that
// started it.
long PeakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Speech-like test signal: two tones with a slow swell and a little noise.
std::int16_t Sample(std::uint32_t k)
{
    static std::uint32_t noise = 12345;
    noise = noise * 1103515245u + 12345u;
    const double t = double(k) / VoiceSampleRate;
    const double w = 2 * std::numbers::pi * t;
    const double v = (std::sin(w * 220) * 0.6 + std::sin(w * 1330) * 0.3) * (0.5 + 0.5 * std::sin(w * 0.7))
                     + (double(noise >> 16) / 65536.0 - 0.5) * 0.1;
    return std::int16_t(std::lround(v * 20000));
}

void PutU32(QByteArray &b, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        b += char(v >> (8 * k));
}

bool WriteRecording(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::uint32_t dataBytes = 2 * RecordingSamples;
    QByteArray head = "RIFF";
    PutU32(head, 36 + dataBytes);
    head += "WAVEfmt ";
    PutU32(head, 16);
    head += QByteArray::fromHex("01000100401F0000803E000002001000");
    head += "data";
    PutU32(head, dataBytes);
    file.write(head);
    QByteArray block;
    for (std::uint32_t k = 0; k < RecordingSamples; ++k) {
        const std::int16_t s = Sample(k);
        block += char(s & 0xFF);
        block += char((s >> 8) & 0xFF);
        if (block.size() >= 65536 || k + 1 == RecordingSamples) {
            if (file.write(block) != block.size())
                return false;
            block.clear();
        }
    }
    return file.flush();
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("recording.wav");
    if (!dir.isValid() || !WriteRecording(wav)) {
        std::fprintf(stderr, "cannot write the test recording\n");
        return 1;
    }
    const long baseKiB = PeakKiB();

    constexpr int TimedRuns = 5;
    VoiceBank bank;
    const Spread import = Runs(TimedRuns, [&] {
        if (WavImport(wav, bank, 0, {}) != WavImportResult::Imported)
            std::fprintf(stderr, "import failed\n");
    });
    if (bank.SampleCount(0) != RecordingSamples) {
        std::fprintf(stderr, "imported %u samples, expected %u\n", bank.SampleCount(0), RecordingSamples);
        return 1;
    }

    // Fill the rest, so that the bank is full to the last sample.
    while (bank.FreeSamples() > 0)
        bank.AppendSample(1, Sample(bank.SampleCount(1)));

    const int runs = 50;
    const Spread build = Runs(runs, [&] { bank.BuildImage(); });
    const Spread parse = Runs(runs, [&] { bank.ParseImage(); });

    const long fullKiB = PeakKiB();

    std::vector<std::int16_t> samples(RecordingSamples);
    for (std::uint32_t k = 0; k < RecordingSamples; ++k)
        samples[k] = Sample(k);
    VoiceBank scratch;
    const Spread encode = Runs(TimedRuns, [&] {
        scratch.ClearSlot(0);
        for (std::int16_t s : samples)
            scratch.AppendSample(0, s);
    });
    samples = {};

    // The same total spread over all 98 events.
    VoiceBank spread;
    for (int slot = 0; slot < VoiceEventCount; ++slot) {
        for (std::uint32_t k = 0; k < VoiceCapacity / VoiceEventCount; ++k)
            spread.AppendSample(std::uint8_t(slot), Sample(k));
    }
    const Spread buildSpread = Runs(runs, [&] { spread.BuildImage(); });
    const Spread parseSpread = Runs(runs, [&] { spread.ParseImage(); });

    std::printf("recording: %u samples (%.0f s)\n", RecordingSamples,
                double(RecordingSamples) / VoiceSampleRate);
    std::printf("medians of %d runs (fastest .. slowest), of %d for the images\n", TimedRuns, runs);
    std::printf("WavImport:        %s  %6.1f M samples/s\n", Ms(import, 1).constData(),
                RecordingSamples / import.median / 1e6);
    std::printf("AppendSample:     %s  %6.1f M samples/s\n", Ms(encode, 1).constData(),
                RecordingSamples / encode.median / 1e6);
    std::printf("full bank, 2 slots:   BuildImage %s  ParseImage %s\n", Ms(build, 3).constData(),
                Ms(parse, 3).constData());
    std::printf("full bank, 98 slots:  BuildImage %s  ParseImage %s\n", Ms(buildSpread, 3).constData(),
                Ms(parseSpread, 3).constData());
    std::printf("peak memory (VmHWM) with one full bank: %ld KiB (%ld KiB before it; the image is %u KiB)\n",
                fullKiB, baseKiB, VoiceImageSize / 1024);
    return 0;
}
