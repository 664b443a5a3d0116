#pragma once
// One device action of the voice programmer: identify the controller, check
// its version, open it with the empty password, then program, read back or
// compare the whole voice memory. Each step is one transfer worker.
#include "link/DeviceIdentity.h"
#include "toolkit/StatusView.h"
#include "voiceprog/core/Voicebank.h"

#include <QString>
#include <QStringList>

#include <functional>

class TCustomComPort;

enum class VoiceDeviceAction { Program, Read, Compare };

// What the workers use: the port, where they report, the status texts.
struct VoiceActionLink {
    TCustomComPort *port = nullptr;
    IStatusLabel *status = nullptr;
    IProgressBar *progress = nullptr;
    const QStringList *messages = nullptr;
};

// What the window does between the steps.
struct VoiceActionView {
    // Shows an identity and gives back the version text it shows.
    std::function<QString(const DeviceIdentity &)> showIdentity;
    std::function<void()> repaint;
};

// Runs the action on the calling (GUI) thread, waiting for each worker. True
// when the voice memory was transferred (whatever the transfer's outcome); a
// read has then parsed the image into the bank.
bool RunVoiceDeviceAction(VoiceDeviceAction action, VoiceBank &bank, const QStringList &supportedVersions,
                          const VoiceActionLink &link, const VoiceActionView &view);
