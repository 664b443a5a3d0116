#include "serial/ComError.h"

#include <array>

namespace {

constexpr std::array<const char *, PortErrorCount> PortErrorTexts = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};

std::string WithWinCode(std::int32_t code, std::int32_t winCode)
{
    return QStringLiteral("%1 (win error code: %2)").arg(PortErrorText(code)).arg(winCode).toStdString();
}

} // namespace

QString PortErrorText(std::int32_t code)
{
    if (code < 1 || code > PortErrorCount)
        return QString();
    return QString::fromLatin1(PortErrorTexts[static_cast<std::size_t>(code - 1)]);
}

EComPort::EComPort(std::int32_t code, std::int32_t winCode)
    : std::runtime_error(WithWinCode(code, winCode)), winErrorCode_(winCode), errorCode_(code)
{
}

EComPort::EComPort(std::int32_t code)
    : std::runtime_error(PortErrorText(code).toStdString()), winErrorCode_(-1), errorCode_(code)
{
}
