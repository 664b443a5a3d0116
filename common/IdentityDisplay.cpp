#include "common/IdentityDisplay.h"

#include <QLabel>

namespace {

// In the order the labels are filled.
constexpr std::array<const char *, 10> LabelNames = {
    "iDeviceNameLabel", "iModificationLabel", "iHardVerLabel",     "iSoftVerLabel",  "iBLLabel",
    "iDateLabel",       "iLabelCountryCode",  "iLabelDevSNLocked", "iGSMIMEILabel", "iLabelDevSN"};
constexpr std::size_t DeviceNameLabel = 0;
// The version text is handed over before this label is filled.
constexpr std::size_t BootLoaderLabel = 4;

} // namespace

IdentityLabels::IdentityLabels(const QWidget *window)
{
    for (std::size_t i = 0; i < LabelNames.size(); ++i)
        labels_[i] = window != nullptr ? window->findChild<QLabel *>(QLatin1String(LabelNames[i])) : nullptr;
}

void IdentityLabels::Show(const DeviceIdentity &identity,
                          const std::function<void(const QString &)> &setVersionText) const
{
    const IdentityTexts t = DecodeIdentity(identity);
    const std::array<const QString *, 10> texts = {
        &t.deviceName, &t.modification, &t.hardwareVersion, &t.firmwareVersion, &t.bootLoaderVersion,
        &t.date,       &t.countryCode,  &t.boundIdentifier, &t.imei,            &t.uniqueIdentifier};
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        if (i == BootLoaderLabel && setVersionText)
            setVersionText(DeviceVersionText(t));
        if (QLabel *label = labels_[i])
            label->setText(*texts[i]);
    }
}

QString IdentityLabels::DeviceName() const
{
    const QLabel *label = labels_[DeviceNameLabel];
    return label != nullptr ? label->text() : QString();
}

void ShowDeviceIdentity(QWidget *window, const DeviceIdentity &identity,
                        const std::function<void(const QString &)> &setVersionText)
{
    IdentityLabels(window).Show(identity, setVersionText);
}

bool IsModelSupported(const QWidget *window, const QString &model)
{
    const QLabel *label = window != nullptr ? window->findChild<QLabel *>(QStringLiteral("iDeviceNameLabel")) : nullptr;
    return label != nullptr && label->text() == model;
}
