#pragma once
// The configuration the configurator edits: the three controller memory
// areas it reads and writes, byte for byte as the controller holds them.
#include "configurator/core/ImageLayout.h"

#include <array>

using ConfigImage = std::array<quint8, ConfigImageSize>;        // memory area 1
using ModeMemory = std::array<quint8, ModeMemorySize>;          // memory area 4
using SystemParameters = std::array<quint8, SystemParametersSize>; // memory area 5

struct ControllerConfig {
    ::ConfigImage ConfigImage{};
    ::ModeMemory ModeMemory{};
    ::SystemParameters SystemParameters{};
};

// The built-in default image; constant program data.
const ConfigImage &DefaultImage();

// Copies the three defaults into config, in the order image, mode memory,
// system parameters, and returns it.
ControllerConfig &FactoryDefaults(ControllerConfig &config);
// Only the image changes.
void CopyDefaultImage(ConfigImage &image);
// 00 00 40 40 40 40 40 40 40 00.
void CopyDefaultModeMemory(ControllerConfig &config);
// Eight zero bytes.
void CopyDefaultSystemParameters(ControllerConfig &config);

// Removes every blank from a text field in place, moving the rest of the
// field up and filling the freed bytes at its end with 0; never touches a
// byte outside the field (the telephone-number fields are 16 bytes).
void StripSpaces(std::span<quint8> field);

// True when the image begins with the format marker and version text of the
// default image.
bool HasDefaultHeader(const ConfigImage &image);

// Typed access to the whole image or the system parameters.
inline FieldView View(ConfigImage &image) { return image; }
inline ConstFieldView View(const ConfigImage &image) { return image; }
inline FieldView View(SystemParameters &parameters) { return parameters; }
inline ConstFieldView View(const SystemParameters &parameters) { return parameters; }

// Record `index` (0-based) of one of the repeated records of the image, e.g.
// RecordView<ConnectionRecord>(image, page - 2). An index out of range gives
// an empty view, whose fields read as 0 and take no writes.
template <class Record>
FieldView RecordView(ConfigImage &image, int index)
{
    Q_ASSERT(index >= 0 && index < Record::Count);
    if (index < 0 || index >= Record::Count)
        return {};
    return std::span<quint8>(image).subspan(std::size_t(Record::Base + index * Record::Size), Record::Size);
}

template <class Record>
ConstFieldView RecordView(const ConfigImage &image, int index)
{
    Q_ASSERT(index >= 0 && index < Record::Count);
    if (index < 0 || index >= Record::Count)
        return {};
    return std::span<const quint8>(image).subspan(std::size_t(Record::Base + index * Record::Size), Record::Size);
}
