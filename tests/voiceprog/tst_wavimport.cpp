#include "voiceprog/core/WavImport.h"
#include "tests/support/Bytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(WavImportResult)

namespace {

QByteArray Chunk(const char *id, const QByteArray &body, std::optional<quint32> size = {})
{
    return QByteArray(id, 4) + U32(size.value_or(quint32(body.size()))) + body;
}

struct Fmt {
    quint16 format = 1;
    quint16 channels = 1;
    quint32 rate = 8000;
    quint32 byteRate = 16000;
    quint16 align = 2;
    quint16 bits = 16;
    int extra = 0; // bytes after the 16 that are tested
};

QByteArray FmtChunk(const Fmt &f)
{
    return Chunk("fmt ", U16(f.format) + U16(f.channels) + U32(f.rate) + U32(f.byteRate)
                             + U16(f.align) + U16(f.bits) + QByteArray(f.extra, '\x5A'));
}

QByteArray Riff(const QByteArray &chunks, std::optional<quint32> size = {})
{
    const QByteArray body = "WAVE" + chunks;
    return "RIFF" + U32(size.value_or(quint32(body.size()))) + body;
}

// 16-bit samples of a varied signal.
QByteArray Pcm(int samples, int seed = 0)
{
    QByteArray b;
    b.reserve(2 * samples);
    for (int k = 0; k < samples; ++k)
        b += U16(quint16(((k + seed) * 7919) % 50000 - 25000));
    return b;
}

QByteArray Wav(const QByteArray &pcm)
{
    return Riff(FmtChunk({}) + Chunk("data", pcm));
}

QString WriteFile(const QTemporaryDir &dir, const QByteArray &content)
{
    static int n = 0;
    const QString path = dir.filePath(QStringLiteral("sound%1.wav").arg(++n));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The codes a freshly reset encoder gives for these 16-bit samples.
QByteArray Encoded(const QByteArray &pcm)
{
    VoiceBank bank;
    for (int k = 0; k + 1 < pcm.size(); k += 2)
        bank.AppendSample(0, std::int16_t(quint8(pcm[k]) | quint8(pcm[k + 1]) << 8));
    return QByteArray(reinterpret_cast<const char *>(bank.SlotCodes(0).data()),
                      qsizetype(bank.SlotCodes(0).size()));
}

QByteArray Codes(const VoiceBank &bank, std::uint8_t slot)
{
    return QByteArray(reinterpret_cast<const char *>(bank.SlotCodes(slot).data()),
                      qsizetype(bank.SlotCodes(slot).size()));
}

constexpr int Seconds = VoiceSampleRate;

} // namespace

class TestWavImport : public QObject {
    Q_OBJECT

private slots:
    void importsOrRejects_data();
    void importsOrRejects();
    void fileThatCannotBeOpened();
    void longRecordingIsCutToFreeMemory();
    void fullMemoryLeavesSlotEmpty();
    void replacingFreesTheOldMessage();
};

void TestWavImport::importsOrRejects_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<WavImportResult>("result");
    QTest::addColumn<QByteArray>("pcm"); // what ends up encoded in the slot

    using R = WavImportResult;
    const QByteArray pcm = Pcm(400);
    const QByteArray fmt = FmtChunk({});
    const QByteArray data = Chunk("data", pcm);
    const QByteArray list = Chunk("LIST", "INFOISFT" + U32(6) + "Tool\0\0");

    QTest::newRow("fmt then data") << Wav(pcm) << R::Imported << pcm;
    QTest::newRow("fmt of 18 bytes") << Riff(FmtChunk({.extra = 2}) + data) << R::Imported << pcm;
    QTest::newRow("fmt of 100 bytes") << Riff(FmtChunk({.extra = 84}) + data) << R::Imported << pcm;
    QTest::newRow("fmt of 101 bytes") << Riff(FmtChunk({.extra = 85}) + data) << R::BadFormat << QByteArray();
    QTest::newRow("fmt of 14 bytes") << Riff(Chunk("fmt ", fmt.mid(8, 14)) + data) << R::BadFormat
                                     << QByteArray();
    QTest::newRow("fmt not first") << Riff(list + fmt + data) << R::BadFormat << QByteArray();
    QTest::newRow("LIST before data") << Riff(fmt + list + data) << R::Imported << pcm;
    QTest::newRow("data inside LIST")
        << Riff(fmt + Chunk("LIST", "INFOICMTmetadata" + U32(4) + "ABCD") + data) << R::Imported
        << QByteArray("ABCD");
    QTest::newRow("no data chunk") << Riff(fmt + list) << R::BadFormat << QByteArray();

    QTest::newRow("stereo") << Riff(FmtChunk({.channels = 2, .byteRate = 32000, .align = 4}) + data)
                            << R::WrongFormat << QByteArray();
    QTest::newRow("stereo 8-bit") << Riff(FmtChunk({.channels = 2, .align = 2, .bits = 8}) + data)
                                  << R::WrongFormat << QByteArray();
    QTest::newRow("8-bit") << Riff(FmtChunk({.byteRate = 8000, .align = 1, .bits = 8}) + data)
                           << R::WrongFormat << QByteArray();
    QTest::newRow("11025 Hz") << Riff(FmtChunk({.rate = 11025, .byteRate = 22050}) + data)
                              << R::WrongFormat << QByteArray();
    QTest::newRow("non-PCM") << Riff(FmtChunk({.format = 3}) + data) << R::WrongFormat << QByteArray();
    QTest::newRow("wrong byte rate") << Riff(FmtChunk({.byteRate = 16001}) + data) << R::WrongFormat
                                     << QByteArray();

    QTest::newRow("truncated data") << Riff(fmt + Chunk("data", pcm, 4000)) << R::Imported << pcm;
    QTest::newRow("cut inside a sample") << Riff(fmt + Chunk("data", pcm.left(799), 800)) << R::Imported
                                         << pcm.left(798);
    QTest::newRow("odd data size") << Riff(fmt + Chunk("data", pcm + 'x')) << R::Imported << pcm;
    QTest::newRow("RIFF size ends the body early")
        << Riff(fmt + data, quint32(4 + fmt.size() + data.size() - 200)) << R::Imported << pcm.left(600);

    QTest::newRow("empty file") << QByteArray() << R::ReadFailed << QByteArray();
    QTest::newRow("15 bytes") << Wav(pcm).left(15) << R::ReadFailed << QByteArray();
    QTest::newRow("not RIFF") << "RIFX" + Wav(pcm).mid(4) << R::BadFormat << QByteArray();
    QTest::newRow("not WAVE") << Wav(pcm).replace(8, 4, "AVI ") << R::BadFormat << QByteArray();
    QTest::newRow("RIFF size below 12") << Riff(fmt + data, 11) << R::BadFormat << QByteArray();
    QTest::newRow("no fmt size") << Wav(pcm).left(18) << R::BadFormat << QByteArray();
    QTest::newRow("fmt past the RIFF size") << Riff(fmt + data, 4 + 8 + 15) << R::BadFormat << QByteArray();
    QTest::newRow("fmt cut short") << Wav(pcm).left(30) << R::BadFormat << QByteArray();
    QTest::newRow("data size cut short") << Riff(fmt + "data" + U32(8).left(2)) << R::BadFormat
                                         << QByteArray();
}

void TestWavImport::importsOrRejects()
{
    QFETCH(QByteArray, file);
    QFETCH(WavImportResult, result);
    QFETCH(QByteArray, pcm);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The slot holds an old message, and the encoder is not at rest.
    VoiceBank bank;
    for (int k = 0; k < 777; ++k)
        bank.AppendSample(5, std::int16_t(k * 37));
    const QByteArray old = Codes(bank, 5);

    int notices = 0;
    QCOMPARE(WavImport(WriteFile(dir, file), bank, 5, [&] { ++notices; }), result);
    QCOMPARE(notices, 0);
    if (result == WavImportResult::Imported) {
        QCOMPARE(bank.SampleCount(5), quint32(pcm.size() / 2));
        QCOMPARE(Codes(bank, 5), Encoded(pcm));
    } else {
        QCOMPARE(bank.SampleCount(5), 777u);
        QCOMPARE(Codes(bank, 5), old);
    }
}

void TestWavImport::fileThatCannotBeOpened()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    bank.AppendSample(0, 100);
    QCOMPARE(WavImport(dir.filePath("missing.wav"), bank, 0, {}), WavImportResult::CannotOpen);
    QCOMPARE(WavImport(dir.path(), bank, 0, {}), WavImportResult::CannotOpen);
    QCOMPARE(bank.SampleCount(0), 1u);
}

void TestWavImport::longRecordingIsCutToFreeMemory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    for (quint32 k = 0; k < VoiceCapacity - 10 * Seconds; ++k)
        bank.AppendSample(1, std::int16_t(k));
    QCOMPARE(bank.FreeSamples(), quint32(10 * Seconds));

    const QByteArray pcm = Pcm(15 * Seconds);
    int notices = 0;
    quint32 countAtNotice = 1;
    const auto notice = [&] {
        ++notices;
        countAtNotice = bank.SampleCount(0);
    };
    QCOMPARE(WavImport(WriteFile(dir, Wav(pcm)), bank, 0, notice), WavImportResult::Imported);
    QCOMPARE(notices, 1);
    QCOMPARE(countAtNotice, 0u); // told before anything is encoded
    QCOMPARE(bank.SampleCount(0), quint32(10 * Seconds));
    QCOMPARE(Codes(bank, 0), Encoded(pcm.left(2 * 10 * Seconds)));
    QCOMPARE(bank.FreeSamples(), 0u);
}

void TestWavImport::fullMemoryLeavesSlotEmpty()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    for (quint32 k = 0; k < VoiceCapacity; ++k)
        bank.AppendSample(1, std::int16_t(k));
    for (int k = 0; k < 50; ++k)
        bank.AppendSample(0, std::int16_t(k));

    int notices = 0;
    QCOMPARE(WavImport(WriteFile(dir, Wav(Pcm(100))), bank, 0, [&] { ++notices; }),
             WavImportResult::MemoryFull);
    QCOMPARE(notices, 0);
    QCOMPARE(bank.SampleCount(0), 0u);
    QCOMPARE(bank.SampleCount(1), VoiceCapacity);
}

void TestWavImport::replacingFreesTheOldMessage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    for (quint32 k = 0; k < VoiceCapacity - 12 * Seconds; ++k)
        bank.AppendSample(1, std::int16_t(k));
    const QByteArray first = Pcm(12 * Seconds, 3);
    const QByteArray second = Pcm(11 * Seconds, 5);
    int notices = 0;
    const auto notice = [&] { ++notices; };
    QCOMPARE(WavImport(WriteFile(dir, Wav(first)), bank, 0, notice), WavImportResult::Imported);
    QCOMPARE(bank.FreeSamples(), 0u);
    QCOMPARE(WavImport(WriteFile(dir, Wav(second)), bank, 0, notice), WavImportResult::Imported);
    QCOMPARE(notices, 0);
    QCOMPARE(bank.SampleCount(0), quint32(11 * Seconds));
    QCOMPARE(Codes(bank, 0), Encoded(second));
    QCOMPARE(bank.FreeSamples(), quint32(1 * Seconds));
}

QTEST_GUILESS_MAIN(TestWavImport)
#include "tst_wavimport.moc"
