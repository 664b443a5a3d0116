#pragma once
// The configuration file ("*.cnt", also the working copy "default.cnt") and
// the settings file "QRVConfig.cfg". A failed save reports frIoError and,
// where the folder lets a new file be made beside the old one, keeps the old
// file whole.
#include "configurator/core/Configuration.h"
#include "toolkit/WholeFile.h"

#include <QString>

inline constexpr int ConfigFileHeaderSize = 35;
inline constexpr int ConfigFileSize = ConfigFileHeaderSize + ConfigImageSize + 1;
inline constexpr int SettingsFileSize = 24;
inline constexpr char SettingsFileName[] = "QRVConfig.cfg";
inline constexpr char WorkingCopyName[] = "default.cnt";

// The four functions give a FileResult. frIoError: creating, opening,
// reading, writing or closing failed, and for LoadProgramSettings any
// failure; frFormatError: header start, length or check byte wrong;
// frVersionMismatch: header start right, version characters wrong.

// "[QRVControllerConfiguration_v" + image bytes 3..7 + "]", as they stand.
QByteArray ConfigFileHeader(const ConfigImage &image);

// Writes the image as a configuration file with its SystemPassword zeroed
// (the image itself is not changed). frOk or frIoError.
int SaveConfigFile(const QString &fileName, const ConfigImage &image);

// Reads a configuration file; image changes only when the result is frOk.
// The check byte (CheckByte of the image) follows the image; bytes after it
// are ignored.
int LoadConfigFile(const QString &fileName, ConfigImage &image);

// Writes startDirectory/QRVConfig.cfg with the first 7 characters of port.
// frOk or frIoError.
int SaveProgramSettings(const QString &startDirectory, const QString &port);

// Reads startDirectory/QRVConfig.cfg. A port name holding the letters C, O
// and M is stored into port as soon as it is read, before the magic number
// is checked, so port may change although the result is frIoError; the
// caller then sets its default port. frOk or frIoError.
int LoadProgramSettings(const QString &startDirectory, QString &port);
