#pragma once
// The one failure of the serial-port layer.
#include <QString>
#include <cstdint>
#include <stdexcept>

// Layer error codes 1..23; each is the position of its text in PortErrorTexts.
enum : std::int32_t {
    CError_OpenFailed = 1,
    CError_WriteFailed,
    CError_ReadFailed,
    CError_InvalidAsync,
    CError_PurgeFailed,
    CError_AsyncCheck,
    CError_SetStateFailed,
    CError_SetTimeoutsFailed,
    CError_SetupComFailed,
    CError_ClearComFailed,
    CError_ModemStatFailed,
    CError_EscapeComFailed,
    CError_TransmitFailed,
    CError_ConnChangeProp,
    CError_EnumPortsFailed,
    CError_StoreFailed,
    CError_LoadFailed,
    CError_RegFailed,
    CError_LedStateFailed,
    CError_ThreadCreated,
    CError_WaitFailed,
    CError_HasLink,
    CError_RegError,
};

constexpr int PortErrorCount = 23;

// The fixed English text of a layer code (1..23); empty for any other code.
QString PortErrorText(std::int32_t code);

class EComPort : public std::runtime_error {
public:
    // The code's text followed by the OS error number.
    EComPort(std::int32_t code, std::int32_t winCode);
    // The code's text alone; WinErrorCode is -1.
    explicit EComPort(std::int32_t code);

    std::int32_t ErrorCode() const { return errorCode_; }
    // The OS error number (errno) that came with the failure, or -1.
    std::int32_t WinErrorCode() const { return winErrorCode_; }
    QString Message() const { return QString::fromUtf8(what()); }

private:
    std::int32_t winErrorCode_;
    std::int32_t errorCode_;
};
