#include "voiceprog/core/Voicebank.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr char FormatText[8] = "v.01.00";
constexpr std::uint32_t EntryStart = 8;
constexpr std::uint32_t EntrySize = 6;
// Offsets count from the byte after the format text.
constexpr std::uint32_t DataOffsetBase = VoiceDataStart - EntryStart;

constexpr std::array<int, 16> IndexTable = {-1, -1, -1, -1, 2, 4, 6, 8,
                                            -1, -1, -1, -1, 2, 4, 6, 8};

constexpr std::array<int, 89> StepTable = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr std::uint32_t PackedBytes(std::uint32_t count) { return (count + 1) / 2; }

std::uint32_t ReadU24(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
}

void WriteU24(std::uint8_t *p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
}

} // namespace

VoiceBank::VoiceBank() : image_(VoiceImageSize)
{
    ResetImage();
    ClearAll();
}

void VoiceBank::ResetImage()
{
    std::fill(image_.begin(), image_.end(), std::uint8_t(0));
    std::memcpy(image_.data(), FormatText, sizeof FormatText);
}

void VoiceBank::ClearAll()
{
    for (Slot &s : slots_)
        s = Slot{};
}

void VoiceBank::ClearSlot(std::uint8_t slot)
{
    // A fresh Slot also gives the memory of a long message back.
    SlotAt(slot) = Slot{};
    ResetEncoder();
}

void VoiceBank::AppendSample(std::uint8_t slot, std::int16_t sample)
{
    Slot &s = SlotAt(slot);
    if (s.count >= VoiceCapacity)
        return;
    const std::uint8_t code = EncodeSample(sample);
    if (s.count % 2 == 0)
        s.codes.push_back(code);
    else // over whatever a parsed image left in the spare nibble
        s.codes.back() = std::uint8_t((s.codes.back() & 0x0F) | code << 4);
    ++s.count;
}

std::uint32_t VoiceBank::TotalSamples() const
{
    std::uint32_t total = 0;
    for (const Slot &s : slots_)
        total += s.count;
    return total;
}

std::uint32_t VoiceBank::FreeSamples() const
{
    const std::uint32_t total = TotalSamples();
    return total < VoiceCapacity ? VoiceCapacity - total : 0;
}

std::uint32_t VoiceBank::UsedSamples() const
{
    return std::min(TotalSamples(), VoiceCapacity);
}

void VoiceBank::BuildImage()
{
    ResetImage();
    std::uint32_t p = 0;
    for (int i = 0; i < VoiceSlotCount; ++i) {
        Slot &s = slots_[i];
        if (i >= VoiceEventCount)
            s = Slot{};
        // Slots parsed from a foreign image may claim more than fits: copy
        // up to the end of the image and let the entry say what was copied.
        const std::uint32_t bytes = std::min(PackedBytes(s.count), VoiceDataSize - p);
        const std::uint32_t count = std::min(s.count, bytes * 2);
        std::uint8_t *entry = image_.data() + EntryStart + EntrySize * i;
        WriteU24(entry, DataOffsetBase + p);
        WriteU24(entry + 3, count);
        std::copy_n(s.codes.begin(), bytes, image_.begin() + VoiceDataStart + p);
        p += bytes;
    }
}

void VoiceBank::ParseImage()
{
    ClearAll();
    for (int i = 0; i < VoiceEventCount; ++i) {
        const std::uint8_t *entry = image_.data() + EntryStart + EntrySize * i;
        const std::uint32_t start = EntryStart + ReadU24(entry);
        // An erased or foreign memory may point anywhere: take only what
        // lies inside the image and what one slot may hold.
        const std::uint32_t inImage = start < VoiceImageSize ? VoiceImageSize - start : 0;
        const std::uint32_t count = std::min({ReadU24(entry + 3), VoiceCapacity, inImage * 2});
        if (count == 0)
            continue;
        Slot &s = slots_[i];
        s.count = count;
        const std::uint8_t *from = image_.data() + start;
        // As read, the spare high nibble of an odd message's last byte too,
        // so that the image built again is the one read.
        s.codes.assign(from, from + PackedBytes(count));
    }
}

void VoiceBank::ResetEncoder()
{
    predictor_ = 0;
    stepIndex_ = 0;
}

std::uint8_t VoiceBank::EncodeSample(std::int16_t sample)
{
    const int step = StepTable[stepIndex_];
    int diff = int(sample) - predictor_;
    std::uint8_t code = 0;
    if (diff < 0) {
        code = 8;
        diff = -diff;
    }
    int delta = step >> 3;
    if (diff >= step) {
        code |= 4;
        diff -= step;
        delta += step;
    }
    const int half = step / 2;
    if (diff >= half) {
        code |= 2;
        diff -= half;
        delta += half;
    }
    const int quarter = half / 2;
    if (diff >= quarter) {
        code |= 1;
        delta += quarter;
    }
    predictor_ = std::clamp((code & 8) ? predictor_ - delta : predictor_ + delta, -32768, 32767);
    stepIndex_ = std::int8_t(std::clamp(stepIndex_ + IndexTable[code], 0, 88));
    return code;
}

std::uint32_t VoiceBank::SampleCount(std::uint8_t slot) const
{
    return SlotAt(slot).count;
}

std::span<const std::uint8_t> VoiceBank::SlotCodes(std::uint8_t slot) const
{
    return SlotAt(slot).codes;
}

void VoiceBank::CheckSlot(std::uint8_t slot)
{
    if (slot >= VoiceSlotCount)
        throw std::out_of_range("voice slot " + std::to_string(slot) + " does not exist");
}

VoiceBank::Slot &VoiceBank::SlotAt(std::uint8_t slot)
{
    CheckSlot(slot);
    return slots_[slot];
}

const VoiceBank::Slot &VoiceBank::SlotAt(std::uint8_t slot) const
{
    CheckSlot(slot);
    return slots_[slot];
}
