#include "voiceprog/VoiceDeviceAction.h"
#include "common/IdentityDisplay.h"
#include "link/Readdata.h"

namespace {

// The creator's part of a worker's life: normal priority, the window's texts, run.
void Start(TReadData &worker, const VoiceActionLink &link)
{
    worker.SetPriority(TThreadPriority::tpNormal);
    worker.SetMessages(link.messages);
    worker.Resume();
}

int Run(TReadData &worker, const VoiceActionLink &link)
{
    Start(worker, link);
    return worker.WaitFor();
}

std::int8_t TransferOperation(VoiceDeviceAction action)
{
    switch (action) {
    case VoiceDeviceAction::Program: return opProgramArea;
    case VoiceDeviceAction::Read: return opReadArea;
    case VoiceDeviceAction::Compare: return opCompareArea;
    }
    return opCompareArea;
}

} // namespace

bool RunVoiceDeviceAction(VoiceDeviceAction action, VoiceBank &bank, const QStringList &supportedVersions,
                          const VoiceActionLink &link, const VoiceActionView &view)
{
    DeviceIdentity identity{};
    int identified;
    {
        TReadData worker(true, opIdentify, identity.data(), DeviceIdentitySize, link.port, link.status);
        identified = Run(worker, link);
    }
    if (identified != 0) {
        view.showIdentity(EmptyDeviceIdentity());
        return false;
    }
    const QString version = view.showIdentity(identity);
    view.repaint();
    if (!IsVersionSupported(version, supportedVersions)) {
        // The identification's blue stays; only the text changes.
        link.status->ShowStatus(QStringLiteral("Версия ") + version + QStringLiteral(" не поддерживается"), clBlue);
        return false;
    }

    if (action != VoiceDeviceAction::Compare) {
        TReadData worker(true, opSendPassword, nullptr, 0, link.port, link.status);
        if (Run(worker, link) != 0)
            return false;
    }

    bank.BuildImage();
    {
        const VoiceImageSpan image = bank.Image();
        TReadData worker(true, TransferOperation(action), maVoiceImage, image.data(),
                         std::int32_t(VoiceImageSize), 0, link.port, link.progress, link.status);
        Start(worker, link);
        // Leaving the block deletes the worker, which waits for the transfer's end.
    }
    if (action == VoiceDeviceAction::Read)
        bank.ParseImage();
    return true;
}
