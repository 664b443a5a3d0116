#include "configurator/core/SupportedVersions.h"
#include "link/DeviceIdentity.h"

const QStringList SupportedVersions{QLatin1String(SupportedModification) + QLatin1Char('.') +
                                    QLatin1String(SupportedFirmware)};

QString UnservedReason(const QString &deviceName, const QString &versionText)
{
    if (deviceName != QLatin1String(SupportedModel))
        return QStringLiteral("Устройство ") + deviceName + QStringLiteral(" не поддерживается");
    if (!IsVersionSupported(versionText, SupportedVersions))
        return QStringLiteral("Версия ") + versionText + QStringLiteral(" не поддерживается");
    return QString();
}
