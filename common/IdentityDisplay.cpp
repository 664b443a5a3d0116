#include "common/IdentityDisplay.h"

#include <QLabel>

namespace {

void SetLabel(QWidget *window, const char *name, const QString &text)
{
    if (QLabel *label = window != nullptr ? window->findChild<QLabel *>(QLatin1String(name)) : nullptr)
        label->setText(text);
}

} // namespace

void ShowDeviceIdentity(QWidget *window, const DeviceIdentity &identity,
                        const std::function<void(const QString &)> &setVersionText)
{
    const IdentityTexts t = DecodeIdentity(identity);
    SetLabel(window, "iDeviceNameLabel", t.deviceName);
    SetLabel(window, "iModificationLabel", t.modification);
    SetLabel(window, "iHardVerLabel", t.hardwareVersion);
    SetLabel(window, "iSoftVerLabel", t.firmwareVersion);
    if (setVersionText)
        setVersionText(DeviceVersionText(t));
    SetLabel(window, "iBLLabel", t.bootLoaderVersion);
    SetLabel(window, "iDateLabel", t.date);
    SetLabel(window, "iLabelCountryCode", t.countryCode);
    SetLabel(window, "iLabelDevSNLocked", t.boundIdentifier);
    SetLabel(window, "iGSMIMEILabel", t.imei);
    SetLabel(window, "iLabelDevSN", t.uniqueIdentifier);
}

bool IsModelSupported(const QWidget *window, const QString &model)
{
    const QLabel *label = window != nullptr ? window->findChild<QLabel *>(QStringLiteral("iDeviceNameLabel")) : nullptr;
    return label != nullptr && label->text() == model;
}

bool IsVersionSupported(const QString &versionText, const QStringList &supportedVersions)
{
    return supportedVersions.contains(versionText, Qt::CaseSensitive);
}
