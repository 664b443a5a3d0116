#include "voiceprog/core/VoiceDeviceAction.h"
#include "link/Readdata.h"

namespace {

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
        identified = RunWorker(worker, link.messages);
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
        if (RunWorker(worker, link.messages) != 0)
            return false;
    }

    bank.BuildImage();
    {
        const VoiceImageSpan image = bank.Image();
        TReadData worker(true, TransferOperation(action), maVoiceImage, image.data(),
                         std::int32_t(VoiceImageSize), 0, link.port, link.progress, link.status);
        StartWorker(worker, link.messages);
        // Leaving the block deletes the worker, which waits for the transfer's end.
    }
    if (action == VoiceDeviceAction::Read)
        bank.ParseImage();
    return true;
}
