#pragma once
// Import of one WAV recording (PCM, 8000 Hz, 16-bit, mono) into a slot of
// the voice bank.
#include "voiceprog/core/Voicebank.h"

#include <QString>
#include <cstdint>
#include <functional>

enum class WavImportResult {
    Imported,    // the slot holds the recording, cut to the free memory if need be
    CannotOpen,  // the file cannot be opened
    ReadFailed,  // the first 16 bytes cannot be read
    BadFormat,   // not a RIFF WAVE file with fmt first and a data chunk
    WrongFormat, // not PCM 8000 Hz, 16-bit, mono
    MemoryFull,  // no free memory; the slot has been emptied
};

// Told when the recording is longer than the free memory; the import goes on
// with the part that fits once it returns.
using WavTruncationNotice = std::function<void()>;

// Replaces the slot's message with the recording. A rejected file leaves the
// bank as it was.
WavImportResult WavImport(const QString &path, VoiceBank &bank, std::uint8_t slot,
                          const WavTruncationNotice &truncationNotice);

struct VoiceMessageText {
    QString text;
    QString caption;
};

// The message box for a result (empty for Imported), and for the notice.
VoiceMessageText WavImportMessage(WavImportResult result);
VoiceMessageText WavTruncationMessage();
