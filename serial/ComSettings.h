#pragma once
// The four settings groups a port owns. Each change of a stored value makes the
// owning port re-apply its group at once (the port decides whether it is open
// and not in an update); a device that refuses raises out of the setter with
// the new value kept.
#include "serial/ComTypes.h"

class TCustomComPort;

// Shared by the four groups: the back reference to the owning port, never owning.
class TComSettingsGroup {
public:
    void SetComPort(TCustomComPort *port) { comPort_ = port; }
    TCustomComPort *ComPort() const { return comPort_; }

protected:
    TCustomComPort *comPort_ = nullptr;
};

class TComTimeouts : public TComSettingsGroup {
public:
    std::int32_t ReadInterval() const { return readInterval_; }
    std::int32_t ReadTotalMultiplier() const { return readTotalM_; }
    std::int32_t ReadTotalConstant() const { return readTotalC_; }
    std::int32_t WriteTotalMultiplier() const { return writeTotalM_; }
    std::int32_t WriteTotalConstant() const { return writeTotalC_; }

    void SetReadInterval(std::int32_t value);
    void SetReadTotalM(std::int32_t value);
    void SetReadTotalC(std::int32_t value);
    void SetWriteTotalM(std::int32_t value);
    void SetWriteTotalC(std::int32_t value);

    // Copies every field; the destination re-applies nothing.
    void AssignTo(TComTimeouts &dest) const;

private:
    void Change(std::int32_t &field, std::int32_t value);

    std::int32_t readInterval_ = -1;
    std::int32_t readTotalM_ = 0;
    std::int32_t readTotalC_ = 0;
    std::int32_t writeTotalM_ = 100;
    std::int32_t writeTotalC_ = 1000;
};

class TComFlowControl : public TComSettingsGroup {
public:
    bool OutCTSFlow() const { return outCTSFlow_; }
    bool OutDSRFlow() const { return outDSRFlow_; }
    TDTRFlowControl ControlDTR() const { return controlDTR_; }
    TRTSFlowControl ControlRTS() const { return controlRTS_; }
    bool XonXoffOut() const { return xonXoffOut_; }
    bool XonXoffIn() const { return xonXoffIn_; }
    bool DSRSensitivity() const { return dsrSensitivity_; }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }
    char XonChar() const { return xonChar_; }
    char XoffChar() const { return xoffChar_; }

    void SetOutCTSFlow(bool value);
    void SetOutDSRFlow(bool value);
    void SetControlDTR(TDTRFlowControl value);
    void SetControlRTS(TRTSFlowControl value);
    void SetXonXoffOut(bool value);
    void SetXonXoffIn(bool value);
    void SetDSRSensitivity(bool value);
    void SetTxContinueOnXoff(bool value);
    void SetXonChar(char value);
    void SetXoffChar(char value);

    // The summary of RTS control, CTS flow and XON/XOFF; the other fields play no part.
    TFlowControl FlowControl() const;
    // fcCustom changes nothing; the others first clear the four fields the
    // summary reads. The port's line state is applied again in every case.
    void SetFlowControl(TFlowControl value);

    void AssignTo(TComFlowControl &dest) const;

private:
    template <typename T>
    void Change(T &field, T value);
    void Apply();

    bool outCTSFlow_ = false;
    bool outDSRFlow_ = false;
    TDTRFlowControl controlDTR_ = dtrDisable;
    TRTSFlowControl controlRTS_ = rtsDisable;
    bool xonXoffOut_ = false;
    bool xonXoffIn_ = false;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = false;
    char xonChar_ = 17;
    char xoffChar_ = 19;
};

class TComParity : public TComSettingsGroup {
public:
    TParityBits Bits() const { return bits_; }
    bool Check() const { return check_; }
    bool Replace() const { return replace_; }
    char ReplaceChar() const { return replaceChar_; }

    void SetBits(TParityBits value);
    void SetCheck(bool value);
    void SetReplace(bool value);
    void SetReplaceChar(char value);

    void AssignTo(TComParity &dest) const;

private:
    template <typename T>
    void Change(T &field, T value);

    TParityBits bits_ = prNone;
    bool check_ = false;
    bool replace_ = false;
    char replaceChar_ = 0;
};

class TComBuffer : public TComSettingsGroup {
public:
    std::int32_t InputSize() const { return inputSize_; }
    std::int32_t OutputSize() const { return outputSize_; }

    // A positive odd size is stored one less.
    void SetInputSize(std::int32_t value);
    void SetOutputSize(std::int32_t value);

    void AssignTo(TComBuffer &dest) const;

private:
    void Change(std::int32_t &field, std::int32_t value);

    std::int32_t inputSize_ = 1024;
    std::int32_t outputSize_ = 1024;
};
