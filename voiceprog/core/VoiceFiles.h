#pragma once
// The voice file (".vce": header, the whole voice image, then CheckByte of
// the image, the two's-complement negation of the XOR of its bytes) and the
// settings file "plp.cfg" (the COM port).
#include "toolkit/WholeFile.h"
#include "voiceprog/core/Voicebank.h"

#include <QString>

inline constexpr char VoiceWorkingCopyName[] = "default.vce";
inline constexpr char VoiceSettingsFileName[] = "plp.cfg";
constexpr qint64 VoiceFileSize = 22 + VoiceImageSize + 1;
constexpr qint64 VoiceSettingsFileSize = 24 + 1 + 4;

// frOk written, frIoError failed (an existing file is then left as it was,
// unless its folder allows no new file and it was being written in place).
int SaveVoiceFile(const QString &path, ConstVoiceImageSpan image);
// frOk loaded; frIoError cannot open, read error or wrong layout;
// frFormatError check byte differs. The image is read in place, so after a
// failure it may hold part of the file.
int LoadVoiceFile(const QString &path, VoiceImageSpan image);

// Stores "COM1".."COM8" by number; any other port as 2. frOk written,
// frIoError failed.
int SaveVoiceSettings(const QString &path, const QString &port);
// frOk loaded, frIoError failed. Sets port only from a whole, valid file
// whose port number is 1..8; any other number leaves it as it is.
int LoadVoiceSettings(const QString &path, QString &port);
