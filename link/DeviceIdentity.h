#pragma once
// The controller's 88-byte identification record and the texts it is shown as.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

constexpr int DeviceIdentitySize = 88;
using DeviceIdentity = std::array<std::uint8_t, DeviceIdentitySize>;

// The record that stands for a missing identity.
const DeviceIdentity &EmptyDeviceIdentity();

// The texts of the identity labels, in the order they are shown.
struct IdentityTexts {
    QString deviceName;       // iDeviceNameLabel
    QString modification;     // iModificationLabel
    QString hardwareVersion;  // iHardVerLabel
    QString firmwareVersion;  // iSoftVerLabel
    QString bootLoaderVersion; // iBLLabel
    QString date;             // iDateLabel
    QString countryCode;      // iLabelCountryCode
    QString boundIdentifier;  // iLabelDevSNLocked
    QString imei;             // iGSMIMEILabel
    QString uniqueIdentifier; // iLabelDevSN
};

IdentityTexts DecodeIdentity(const DeviceIdentity &identity);

// "--.--" for 0, else the two bytes as upper-case hex: 0x0A1F -> "0A.1F".
QString VersionText(std::uint16_t word);
// The version text a program checks: modification + "." + firmware version.
QString DeviceVersionText(const IdentityTexts &texts);

// versionText is one of the supported texts, exactly.
bool IsVersionSupported(const QString &versionText, const QStringList &supportedVersions);
