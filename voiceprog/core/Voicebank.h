#pragma once
// The voice messages of the 98 events as 4-bit IMA ADPCM codes, and the
// controller's 1 MiB voice memory built from them.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

constexpr int VoiceSlotCount = 250;
// Only these slots ever hold samples; the rest are forced empty.
constexpr int VoiceEventCount = 98;
constexpr std::uint32_t VoiceImageSize = 1048576;
// Format text and directory come first; the slots' code bytes follow.
constexpr std::uint32_t VoiceDataStart = 8 + 6 * VoiceSlotCount;
constexpr std::uint32_t VoiceDataSize = VoiceImageSize - VoiceDataStart;
// Shared by all slots together, and the most one slot accepts.
constexpr std::uint32_t VoiceCapacity = VoiceDataSize * 2;
constexpr int VoiceSampleRate = 8000;

using VoiceImageSpan = std::span<std::uint8_t, VoiceImageSize>;
using ConstVoiceImageSpan = std::span<const std::uint8_t, VoiceImageSize>;

// Slot arguments are event numbers; a slot past the last one raises
// std::out_of_range.
class VoiceBank {
public:
    VoiceBank();

    // All image bytes 0, then the format text.
    void ResetImage();
    // Empties every slot; the encoder state stays.
    void ClearAll();
    // Empties one slot and resets the encoder.
    void ClearSlot(std::uint8_t slot);
    // Encodes one sample onto the end of the slot; a full slot drops it
    // without advancing the encoder.
    void AppendSample(std::uint8_t slot, std::int16_t sample);

    std::uint32_t FreeSamples() const;
    std::uint32_t UsedSamples() const;

    // Rewrites the whole image from the slots.
    void BuildImage();
    // Refills every slot from the image, whatever the image holds.
    void ParseImage();

    void ResetEncoder();
    // One IMA ADPCM step on the bank's encoder state; returns the code 0..15.
    std::uint8_t EncodeSample(std::int16_t sample);

    VoiceImageSpan Image() { return VoiceImageSpan(image_.data(), VoiceImageSize); }
    ConstVoiceImageSpan Image() const { return ConstVoiceImageSpan(image_.data(), VoiceImageSize); }

    std::uint32_t SampleCount(std::uint8_t slot) const;
    // The slot's packed codes, (count + 1) / 2 bytes with the earlier sample
    // in the low nibble; valid until the slot next changes.
    std::span<const std::uint8_t> SlotCodes(std::uint8_t slot) const;

    std::int32_t Predictor() const { return predictor_; }
    int StepIndex() const { return stepIndex_; }

private:
    struct Slot {
        std::uint32_t count = 0;
        // Grows with the data, so that empty slots cost nothing.
        std::vector<std::uint8_t> codes;
    };

    // Slot numbers past the last slot raise std::out_of_range.
    static void CheckSlot(std::uint8_t slot);
    Slot &SlotAt(std::uint8_t slot);
    const Slot &SlotAt(std::uint8_t slot) const;
    std::uint32_t TotalSamples() const;

    std::array<Slot, VoiceSlotCount> slots_;
    std::vector<std::uint8_t> image_;
    std::int32_t predictor_ = 0;
    std::int8_t stepIndex_ = 0;
};
