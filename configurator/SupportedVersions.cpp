#include "configurator/SupportedVersions.h"

const QStringList SupportedVersions{QLatin1String(SupportedModification) + QLatin1Char('.') +
                                    QLatin1String(SupportedFirmware)};
