#include "voiceprog/core/Voicebank.h"
#include "tests/support/Bytes.h"

#include <QTest>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Entry {
    std::uint32_t offset;
    std::uint32_t count;
};

std::uint32_t U24(const std::uint8_t *p)
{
    return p[0] | p[1] << 8 | p[2] << 16;
}

Entry EntryAt(const VoiceBank &bank, int i)
{
    const std::uint8_t *p = bank.Image().data() + 8 + 6 * i;
    return {U24(p), U24(p + 3)};
}

void SetEntry(VoiceBank &bank, int i, std::uint32_t offset, std::uint32_t count)
{
    std::uint8_t *p = bank.Image().data() + 8 + 6 * i;
    for (int k = 0; k < 3; ++k) {
        p[k] = std::uint8_t(offset >> (8 * k));
        p[3 + k] = std::uint8_t(count >> (8 * k));
    }
}

QByteArray ImageBytes(const VoiceBank &bank, std::uint32_t from, std::uint32_t n)
{
    return Bytes(bank.Image().subspan(from, n));
}

// A varied, reproducible signal, so that the codes are not all alike.
std::int16_t Signal(std::uint32_t k)
{
    return std::int16_t((k * 7919u) % 20000u) - 10000;
}

void Fill(VoiceBank &bank, std::uint8_t slot, std::uint32_t n, std::uint32_t seed = 0)
{
    for (std::uint32_t k = 0; k < n; ++k)
        bank.AppendSample(slot, Signal(k + seed));
}

std::uint32_t DirectoryBytes(const VoiceBank &bank)
{
    std::uint32_t total = 0;
    for (int i = 0; i < VoiceSlotCount; ++i)
        total += (EntryAt(bank, i).count + 1) / 2;
    return total;
}

} // namespace

class TestVoiceBank : public QObject {
    Q_OBJECT

private slots:
    void newBankBuildsEmptyImage();
    void directoryFollowsTheSlots();
    void encoderFollowsImaSteps();
    void silenceStaysAtRest();
    void encoderStateStaysInRange();
    void encoderStateIsSharedAndResetOnlyByClearSlot();
    void fullSlotDropsFurtherSamples();
    void parseRestoresBuiltImage();
    void spareNibbleIsKeptAsRead();
    void parseIgnoresFormatText();
    void totalsAboveCapacity();
    void erasedMemoryGivesEmptyBank();
    void parseClipsEntries_data();
    void parseClipsEntries();
    void buildStopsAtImageEndWithOddSlots();
    void slotPastTheLastIsAnError();
};

void TestVoiceBank::newBankBuildsEmptyImage()
{
    VoiceBank bank;
    bank.BuildImage();
    QCOMPARE(ImageBytes(bank, 0, 8), QByteArray("v.01.00\0", 8));
    for (int i = 0; i < VoiceSlotCount; ++i)
        QCOMPARE(ImageBytes(bank, 8 + 6 * i, 6), QByteArray::fromHex("DC0500000000"));
    const auto data = bank.Image().subspan(VoiceDataStart);
    QVERIFY(std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0; }));
    QCOMPARE(bank.UsedSamples(), 0u);
    QCOMPARE(bank.FreeSamples(), VoiceCapacity);
}

void TestVoiceBank::directoryFollowsTheSlots()
{
    VoiceBank bank;
    Fill(bank, 0, 3);
    Fill(bank, 1, 2, 100);
    bank.BuildImage();
    QCOMPARE(ImageBytes(bank, 8, 6), QByteArray::fromHex("DC0500030000"));
    QCOMPARE(ImageBytes(bank, 14, 6), QByteArray::fromHex("DE0500020000"));
    for (int i = 2; i < VoiceSlotCount; ++i)
        QCOMPARE(ImageBytes(bank, 8 + 6 * i, 6), QByteArray::fromHex("DF0500000000"));
    QCOMPARE(ImageBytes(bank, 1508, 2), Bytes(bank.SlotCodes(0)));
    QCOMPARE(ImageBytes(bank, 1510, 1), Bytes(bank.SlotCodes(1)));
    QCOMPARE(bank.Image()[1509] & 0xF0, 0);
    QCOMPARE(bank.Image()[1511], 0);
    QCOMPARE(bank.UsedSamples(), 5u);
    QCOMPARE(bank.FreeSamples(), VoiceCapacity - 5);
}

void TestVoiceBank::encoderFollowsImaSteps()
{
    struct Step {
        std::int16_t sample;
        int code, predictor, index;
    };
    const Step steps[] = {{1000, 7, 11, 8}, {1000, 7, 41, 16}, {-1000, 15, -22, 24}, {0, 1, 5, 23}};
    VoiceBank bank;
    for (const Step &s : steps) {
        QCOMPARE(int(bank.EncodeSample(s.sample)), s.code);
        QCOMPARE(bank.Predictor(), s.predictor);
        QCOMPARE(bank.StepIndex(), s.index);
    }

    // The same samples in a slot: the earlier sample in the low nibble.
    bank.ClearSlot(4);
    for (const Step &s : steps)
        bank.AppendSample(4, s.sample);
    QCOMPARE(Bytes(bank.SlotCodes(4)), QByteArray::fromHex("771F"));
    QCOMPARE(bank.SampleCount(4), 4u);
}

void TestVoiceBank::silenceStaysAtRest()
{
    VoiceBank bank;
    for (int k = 0; k < 1001; ++k)
        bank.AppendSample(0, 0);
    QCOMPARE(bank.Predictor(), 0);
    QCOMPARE(bank.StepIndex(), 0);
    QCOMPARE(bank.SlotCodes(0).size(), std::size_t(501));
    QVERIFY(std::all_of(bank.SlotCodes(0).begin(), bank.SlotCodes(0).end(),
                        [](std::uint8_t b) { return b == 0; }));
}

void TestVoiceBank::encoderStateStaysInRange()
{
    // Full-scale square waves drive both the predictor and the step index
    // against their limits.
    VoiceBank bank;
    int lowest = 0, highest = 0, maxIndex = 0;
    for (int k = 0; k < 4000; ++k) {
        const std::uint8_t code = bank.EncodeSample((k / 200) % 2 ? -32768 : 32767);
        QVERIFY(code <= 15);
        QVERIFY(bank.StepIndex() >= 0 && bank.StepIndex() <= 88);
        lowest = std::min(lowest, bank.Predictor());
        highest = std::max(highest, bank.Predictor());
        maxIndex = std::max(maxIndex, bank.StepIndex());
    }
    QCOMPARE(lowest, -32768);
    QCOMPARE(highest, 32767);
    QCOMPARE(maxIndex, 88);
    for (int k = 0; k < 200 && bank.StepIndex() > 0; ++k)
        bank.EncodeSample(std::int16_t(bank.Predictor()));
    QCOMPARE(bank.StepIndex(), 0);
}

void TestVoiceBank::encoderStateIsSharedAndResetOnlyByClearSlot()
{
    VoiceBank bank;
    bank.AppendSample(0, 1000);
    bank.ClearAll();
    bank.BuildImage();
    bank.ParseImage();
    bank.ResetImage();
    QCOMPARE(bank.Predictor(), 11);
    QCOMPARE(bank.StepIndex(), 8);

    // Another slot carries on from where the first left off.
    bank.AppendSample(1, 1000);
    QCOMPARE(Bytes(bank.SlotCodes(1)), QByteArray::fromHex("07"));
    QCOMPARE(bank.Predictor(), 41);

    bank.ClearSlot(2);
    QCOMPARE(bank.Predictor(), 0);
    QCOMPARE(bank.StepIndex(), 0);
    QCOMPARE(bank.SampleCount(1), 1u);
}

void TestVoiceBank::fullSlotDropsFurtherSamples()
{
    VoiceBank bank;
    Fill(bank, 3, VoiceCapacity);
    QCOMPARE(bank.SampleCount(3), VoiceCapacity);
    const QByteArray codes = Bytes(bank.SlotCodes(3));
    const int predictor = bank.Predictor();
    const int index = bank.StepIndex();
    for (int k = 0; k < 10; ++k)
        bank.AppendSample(3, std::int16_t(k % 2 ? 30000 : -30000));
    QCOMPARE(bank.SampleCount(3), VoiceCapacity);
    QCOMPARE(Bytes(bank.SlotCodes(3)), codes);
    QCOMPARE(bank.Predictor(), predictor);
    QCOMPARE(bank.StepIndex(), index);
    QCOMPARE(bank.FreeSamples(), 0u);
    QCOMPARE(bank.UsedSamples(), VoiceCapacity);

    // Exactly one image's worth of data.
    bank.BuildImage();
    QCOMPARE(EntryAt(bank, 3).count, VoiceCapacity);
    QCOMPARE(ImageBytes(bank, VoiceDataStart, VoiceDataSize), codes);
}

void TestVoiceBank::parseRestoresBuiltImage()
{
    VoiceBank bank;
    const std::uint32_t counts[] = {0, 1, 2, 7, 8000, 12345, 0, 3};
    const std::uint8_t slotNumbers[] = {0, 1, 2, 5, 40, 41, 60, 97};
    for (int i = 0; i < 8; ++i) {
        bank.ClearSlot(slotNumbers[i]);
        Fill(bank, slotNumbers[i], counts[i], 31 * i);
    }
    bank.AppendSample(150, 1234); // never goes into the image
    std::vector<QByteArray> codes;
    for (int i = 0; i < VoiceSlotCount; ++i)
        codes.push_back(Bytes(bank.SlotCodes(std::uint8_t(i))));

    bank.BuildImage();
    QCOMPARE(bank.SampleCount(150), 0u);
    QCOMPARE(EntryAt(bank, 150).count, 0u);
    SetEntry(bank, 120, 1500, 40); // a foreign claim on a slot above the events

    VoiceBank parsed;
    std::copy(bank.Image().begin(), bank.Image().end(), parsed.Image().begin());
    parsed.ParseImage();
    for (int i = 0; i < VoiceEventCount; ++i) {
        QCOMPARE(parsed.SampleCount(std::uint8_t(i)), bank.SampleCount(std::uint8_t(i)));
        QCOMPARE(Bytes(parsed.SlotCodes(std::uint8_t(i))), codes[i]);
    }
    for (int i = VoiceEventCount; i < VoiceSlotCount; ++i)
        QCOMPARE(parsed.SampleCount(std::uint8_t(i)), 0u);

    // Building again gives the same image.
    parsed.BuildImage();
    bank.BuildImage();
    QVERIFY(std::equal(bank.Image().begin(), bank.Image().end(), parsed.Image().begin()));
}

// A controller's memory may hold anything in the spare high nibble of an odd
// message's last byte: what is read is built again byte for byte, and a
// sample appended there takes the nibble's place.
void TestVoiceBank::spareNibbleIsKeptAsRead()
{
    VoiceBank bank;
    Fill(bank, 0, 3);
    Fill(bank, 1, 5, 17);
    bank.BuildImage();
    QCOMPARE(bank.Image()[1509] & 0xF0, 0); // this program writes 0 there
    bank.Image()[1509] |= 0xA0;             // slot 0's second byte
    bank.Image()[1512] |= 0x50;             // slot 1's third byte
    const QByteArray read = ImageBytes(bank, 0, VoiceImageSize);

    bank.ParseImage();
    QCOMPARE(bank.SampleCount(0), 3u);
    QCOMPARE(quint8(bank.SlotCodes(0).back()) >> 4, 0xA);
    bank.BuildImage();
    QCOMPARE(ImageBytes(bank, 0, VoiceImageSize), read);

    const std::uint8_t low = bank.SlotCodes(1).back() & 0x0F;
    const std::uint8_t code = VoiceBank().EncodeSample(20000); // from the state a fresh bank has
    bank.ResetEncoder();
    bank.AppendSample(1, 20000);
    QCOMPARE(bank.SlotCodes(1).back(), std::uint8_t(code << 4 | low));
}

void TestVoiceBank::parseIgnoresFormatText()
{
    VoiceBank bank;
    Fill(bank, 10, 101);
    const QByteArray codes = Bytes(bank.SlotCodes(10));
    bank.BuildImage();
    std::memcpy(bank.Image().data(), "x.99.99X", 8);
    bank.ParseImage();
    QCOMPARE(bank.SampleCount(10), 101u);
    QCOMPARE(Bytes(bank.SlotCodes(10)), codes);
}

void TestVoiceBank::totalsAboveCapacity()
{
    // Two overlapping runs, each longer than half the memory.
    VoiceBank bank;
    SetEntry(bank, 0, 1500, 1500000);
    SetEntry(bank, 1, 1500, 1500000);
    for (std::uint32_t k = VoiceDataStart; k < VoiceImageSize; ++k)
        bank.Image()[k] = std::uint8_t(k * 13);
    bank.ParseImage();
    QCOMPARE(bank.SampleCount(0), 1500000u);
    QCOMPARE(bank.SampleCount(1), 1500000u);
    QCOMPARE(bank.FreeSamples(), 0u);
    QCOMPARE(bank.UsedSamples(), VoiceCapacity);
    const QByteArray codes1 = Bytes(bank.SlotCodes(1));

    // Building stops at the end of the image and says what it copied.
    bank.BuildImage();
    const std::uint32_t left = VoiceDataSize - 750000;
    QCOMPARE(EntryAt(bank, 0).count, 1500000u);
    QCOMPARE(EntryAt(bank, 1).offset, 1500u + 750000u);
    QCOMPARE(EntryAt(bank, 1).count, 2 * left);
    QCOMPARE(EntryAt(bank, 2).offset, 1500u + VoiceDataSize);
    QCOMPARE(EntryAt(bank, 2).count, 0u);
    QCOMPARE(DirectoryBytes(bank), VoiceDataSize);
    QCOMPARE(ImageBytes(bank, VoiceDataStart + 750000, left), codes1.left(left));
    // The slots stay the master copy.
    QCOMPARE(bank.SampleCount(1), 1500000u);
}

void TestVoiceBank::erasedMemoryGivesEmptyBank()
{
    VoiceBank bank;
    Fill(bank, 7, 500);
    std::fill(bank.Image().begin(), bank.Image().end(), std::uint8_t(0xFF));
    bank.ParseImage();
    for (int i = 0; i < VoiceSlotCount; ++i)
        QCOMPARE(bank.SampleCount(std::uint8_t(i)), 0u);
    QCOMPARE(bank.UsedSamples(), 0u);
    bank.BuildImage();
    QCOMPARE(EntryAt(bank, 249).offset, 1500u);
}

void TestVoiceBank::parseClipsEntries_data()
{
    QTest::addColumn<quint32>("offset");
    QTest::addColumn<quint32>("count");
    QTest::addColumn<quint32>("kept");

    const quint32 end = VoiceImageSize - 8; // the offset of the byte after the image
    QTest::newRow("in bounds") << 1500u << 9u << 9u;
    QTest::newRow("count above capacity") << 1500u << 0xFFFFFFu << VoiceCapacity;
    QTest::newRow("run past the end") << end - 10 << 100u << 20u;
    QTest::newRow("odd run ending at the end") << end - 3 << 5u << 5u;
    QTest::newRow("starts at the end") << end << 5u << 0u;
    QTest::newRow("starts far past the end") << 0xFFFFFFu << 5u << 0u;
    QTest::newRow("inside the directory") << 0u << 4u << 4u;
}

void TestVoiceBank::parseClipsEntries()
{
    QFETCH(quint32, offset);
    QFETCH(quint32, count);
    QFETCH(quint32, kept);

    VoiceBank bank;
    for (std::uint32_t k = VoiceDataStart; k < VoiceImageSize; ++k)
        bank.Image()[k] = 0xA0 | (k % 16);
    SetEntry(bank, 5, offset, count);
    bank.ParseImage();
    QCOMPARE(bank.SampleCount(5), kept);
    QCOMPARE(Bytes(bank.SlotCodes(5)), ImageBytes(bank, 8 + std::min(offset, VoiceImageSize - 8), (kept + 1) / 2));
}

void TestVoiceBank::buildStopsAtImageEndWithOddSlots()
{
    // Full to the capacity with odd counts only: packed, that is 49 bytes
    // more than the memory holds.
    VoiceBank bank;
    const std::uint32_t each = 21369;
    for (int i = 0; i < VoiceEventCount - 1; ++i)
        Fill(bank, std::uint8_t(i), each, i);
    const std::uint32_t last = VoiceCapacity - (VoiceEventCount - 1) * each;
    QVERIFY(last % 2 == 1);
    Fill(bank, VoiceEventCount - 1, last);
    QCOMPARE(bank.UsedSamples(), VoiceCapacity);
    QCOMPARE(bank.FreeSamples(), 0u);

    bank.BuildImage();
    QCOMPARE(DirectoryBytes(bank), VoiceDataSize);
    const std::uint32_t before = (VoiceEventCount - 1) * ((each + 1) / 2);
    QCOMPARE(EntryAt(bank, VoiceEventCount - 1).count, 2 * (VoiceDataSize - before));
    QCOMPARE(EntryAt(bank, VoiceEventCount).offset, 1500u + VoiceDataSize);

    VoiceBank parsed;
    std::copy(bank.Image().begin(), bank.Image().end(), parsed.Image().begin());
    parsed.ParseImage();
    QCOMPARE(parsed.SampleCount(0), each);
    QCOMPARE(parsed.SampleCount(VoiceEventCount - 1), 2 * (VoiceDataSize - before));
    QCOMPARE(Bytes(parsed.SlotCodes(VoiceEventCount - 1)),
             Bytes(bank.SlotCodes(VoiceEventCount - 1).first(VoiceDataSize - before)));
}

void TestVoiceBank::slotPastTheLastIsAnError()
{
    VoiceBank bank;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, bank.AppendSample(250, 1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, bank.ClearSlot(255));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, bank.SampleCount(250));
    QCOMPARE(bank.UsedSamples(), 0u);
}

QTEST_GUILESS_MAIN(TestVoiceBank)
#include "tst_voicebank.moc"
