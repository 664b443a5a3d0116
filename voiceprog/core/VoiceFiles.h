#pragma once
// The voice file (".vce": header, the whole voice image, check byte) and the
// settings file "plp.cfg" (the COM port).
#include "voiceprog/core/Voicebank.h"

#include <QString>

inline constexpr char VoiceWorkingCopyName[] = "default.vce";
inline constexpr char VoiceSettingsFileName[] = "plp.cfg";
constexpr qint64 VoiceFileSize = 22 + VoiceImageSize + 1;
constexpr qint64 VoiceSettingsFileSize = 24 + 1 + 4;

// The byte that makes the XOR of the image and itself 0.
std::uint8_t VoiceCheckByte(ConstVoiceImageSpan image);

// 0 written, 1 failed (an existing file is then left as it was, unless its
// folder allows no new file and it was being written in place).
int SaveVoiceFile(const QString &path, ConstVoiceImageSpan image);
// 0 loaded, 1 cannot open, read error or wrong layout, 2 check byte differs.
// The image is read in place, so after a failure it may hold part of the file.
int LoadVoiceFile(const QString &path, VoiceImageSpan image);

// Stores "COM1".."COM8" by number; any other port as 2. 0 written, 1 failed.
int SaveVoiceSettings(const QString &path, const QString &port);
// 0 loaded, 1 failed. Sets port only from a whole, valid file whose port
// number is 1..8; any other number leaves it as it is.
int LoadVoiceSettings(const QString &path, QString &port);
