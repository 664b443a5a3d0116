#include "configurator/core/Configuration.h"

#include <algorithm>

ControllerConfig &FactoryDefaults(ControllerConfig &config)
{
    CopyDefaultImage(config.ConfigImage);
    CopyDefaultModeMemory(config);
    CopyDefaultSystemParameters(config);
    return config;
}

void CopyDefaultImage(ConfigImage &image)
{
    image = DefaultImage();
}

void CopyDefaultModeMemory(ControllerConfig &config)
{
    config.ModeMemory = {0x00, 0x00, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x00};
}

void CopyDefaultSystemParameters(ControllerConfig &config)
{
    config.SystemParameters.fill(0);
}

void StripSpaces(std::span<quint8> field)
{
    const auto kept = std::remove(field.begin(), field.end(), quint8(' '));
    std::fill(kept, field.end(), quint8(0));
}

bool HasDefaultHeader(const ConfigImage &image)
{
    const ConfigImage &reference = DefaultImage();
    return std::equal(image.begin(), image.begin() + HeaderFields::Size, reference.begin());
}
