#pragma once
// The connected controller's identity as a main window shows it: ten labels,
// found by name anywhere in the window, and the version text that goes into
// a status-bar panel. Both programs show it this way.
#include "link/DeviceIdentity.h"

#include <QStringList>

#include <functional>

class QWidget;

// Fills the window's identity labels (iDeviceNameLabel ... iLabelDevSN) and
// hands the version text, modification + "." + firmware version, to
// setVersionText between the firmware and the boot-loader label. A label the
// window lacks is passed over.
void ShowDeviceIdentity(QWidget *window, const DeviceIdentity &identity,
                        const std::function<void(const QString &)> &setVersionText);

// The caption of the window's iDeviceNameLabel is exactly model.
bool IsModelSupported(const QWidget *window, const QString &model);

// versionText is one of the supported texts, exactly.
bool IsVersionSupported(const QString &versionText, const QStringList &supportedVersions);
