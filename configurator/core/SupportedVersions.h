#pragma once
// The controllers the configurator serves: the model QRV240, modification S
// with firmware 01.01.
#include <QStringList>

inline constexpr char SupportedModel[] = "QRV240";
inline constexpr char SupportedModification[] = "S";
inline constexpr char SupportedFirmware[] = "01.01";

// Version texts as status panel 2 shows them (modification "." firmware),
// built when the program starts; one entry, "S.01.01".
extern const QStringList SupportedVersions;

// Why a controller that shows as deviceName and versionText is not served
// ("Устройство ... не поддерживается", "Версия ... не поддерживается"), or empty.
QString UnservedReason(const QString &deviceName, const QString &versionText);
