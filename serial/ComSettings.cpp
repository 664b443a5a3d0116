#include "serial/ComSettings.h"
#include "serial/ComPort.h"

// ---- TComTimeouts

void TComTimeouts::Change(std::int32_t &field, std::int32_t value)
{
    if (field == value)
        return;
    field = value;
    if (comPort_ != nullptr)
        comPort_->ApplyTimeouts();
}

void TComTimeouts::SetReadInterval(std::int32_t value) { Change(readInterval_, value); }
void TComTimeouts::SetReadTotalM(std::int32_t value) { Change(readTotalM_, value); }
void TComTimeouts::SetReadTotalC(std::int32_t value) { Change(readTotalC_, value); }
void TComTimeouts::SetWriteTotalM(std::int32_t value) { Change(writeTotalM_, value); }
void TComTimeouts::SetWriteTotalC(std::int32_t value) { Change(writeTotalC_, value); }

void TComTimeouts::AssignTo(TComTimeouts &dest) const
{
    dest.readInterval_ = readInterval_;
    dest.readTotalM_ = readTotalM_;
    dest.readTotalC_ = readTotalC_;
    dest.writeTotalM_ = writeTotalM_;
    dest.writeTotalC_ = writeTotalC_;
}

// ---- TComFlowControl

template <typename T>
void TComFlowControl::Change(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    Apply();
}

void TComFlowControl::Apply()
{
    if (comPort_ != nullptr)
        comPort_->ApplyDCB();
}

void TComFlowControl::SetOutCTSFlow(bool value) { Change(outCTSFlow_, value); }
void TComFlowControl::SetOutDSRFlow(bool value) { Change(outDSRFlow_, value); }
void TComFlowControl::SetControlDTR(TDTRFlowControl value) { Change(controlDTR_, value); }
void TComFlowControl::SetControlRTS(TRTSFlowControl value) { Change(controlRTS_, value); }
void TComFlowControl::SetXonXoffOut(bool value) { Change(xonXoffOut_, value); }
void TComFlowControl::SetXonXoffIn(bool value) { Change(xonXoffIn_, value); }
void TComFlowControl::SetDSRSensitivity(bool value) { Change(dsrSensitivity_, value); }
void TComFlowControl::SetTxContinueOnXoff(bool value) { Change(txContinueOnXoff_, value); }
void TComFlowControl::SetXonChar(char value) { Change(xonChar_, value); }
void TComFlowControl::SetXoffChar(char value) { Change(xoffChar_, value); }

TFlowControl TComFlowControl::FlowControl() const
{
    if (controlRTS_ == rtsHandshake && outCTSFlow_ && !xonXoffIn_ && !xonXoffOut_)
        return fcHardware;
    if (controlRTS_ == rtsDisable && !outCTSFlow_ && xonXoffIn_ && xonXoffOut_)
        return fcSoftware;
    if (controlRTS_ == rtsDisable && !outCTSFlow_ && !xonXoffIn_ && !xonXoffOut_)
        return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value)
{
    if (value != fcCustom) {
        controlRTS_ = rtsDisable;
        outCTSFlow_ = false;
        xonXoffIn_ = false;
        xonXoffOut_ = false;
        if (value == fcHardware) {
            controlRTS_ = rtsHandshake;
            outCTSFlow_ = true;
        } else if (value == fcSoftware) {
            xonXoffIn_ = true;
            xonXoffOut_ = true;
        }
    }
    Apply();
}

void TComFlowControl::AssignTo(TComFlowControl &dest) const
{
    dest.outCTSFlow_ = outCTSFlow_;
    dest.outDSRFlow_ = outDSRFlow_;
    dest.controlDTR_ = controlDTR_;
    dest.controlRTS_ = controlRTS_;
    dest.xonXoffOut_ = xonXoffOut_;
    dest.xonXoffIn_ = xonXoffIn_;
    dest.dsrSensitivity_ = dsrSensitivity_;
    dest.txContinueOnXoff_ = txContinueOnXoff_;
    dest.xonChar_ = xonChar_;
    dest.xoffChar_ = xoffChar_;
}

// ---- TComParity

template <typename T>
void TComParity::Change(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    if (comPort_ != nullptr)
        comPort_->ApplyDCB();
}

void TComParity::SetBits(TParityBits value) { Change(bits_, value); }
void TComParity::SetCheck(bool value) { Change(check_, value); }
void TComParity::SetReplace(bool value) { Change(replace_, value); }
void TComParity::SetReplaceChar(char value) { Change(replaceChar_, value); }

void TComParity::AssignTo(TComParity &dest) const
{
    dest.bits_ = bits_;
    dest.check_ = check_;
    dest.replace_ = replace_;
    dest.replaceChar_ = replaceChar_;
}

// ---- TComBuffer

void TComBuffer::Change(std::int32_t &field, std::int32_t value)
{
    if (field == value)
        return;
    // Driver queues come in even sizes.
    field = (value > 0 && value % 2 == 1) ? value - 1 : value;
    if (comPort_ != nullptr)
        comPort_->ApplyBuffer();
}

void TComBuffer::SetInputSize(std::int32_t value) { Change(inputSize_, value); }
void TComBuffer::SetOutputSize(std::int32_t value) { Change(outputSize_, value); }

void TComBuffer::AssignTo(TComBuffer &dest) const
{
    dest.inputSize_ = inputSize_;
    dest.outputSize_ = outputSize_;
}
