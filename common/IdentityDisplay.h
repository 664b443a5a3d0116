#pragma once
// The connected controller's identity as a main window shows it: ten labels,
// found by name anywhere in the window, and the version text that goes into
// a status-bar panel. Both programs show it this way.
#include "link/DeviceIdentity.h"

#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>

class QLabel;
class QWidget;

// The identity labels of one window (iDeviceNameLabel ... iLabelDevSN), looked
// up once, for a window that shows identities again and again.
class IdentityLabels {
public:
    explicit IdentityLabels(const QWidget *window);

    // Fills the labels and hands the version text, modification + "." +
    // firmware version, to setVersionText between the firmware and the
    // boot-loader label. A label the window lacks is passed over.
    void Show(const DeviceIdentity &identity, const std::function<void(const QString &)> &setVersionText) const;
    // The caption of iDeviceNameLabel; empty when the window has none.
    QString DeviceName() const;

private:
    std::array<QPointer<QLabel>, 10> labels_;
};

// The same, looking the labels up for this one call.
void ShowDeviceIdentity(QWidget *window, const DeviceIdentity &identity,
                        const std::function<void(const QString &)> &setVersionText);

// The caption of the window's iDeviceNameLabel is exactly model.
bool IsModelSupported(const QWidget *window, const QString &model);
