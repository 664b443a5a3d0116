#include "voiceprog/core/VoiceProgrammerPort.h"
#include "serial/ComPort.h"

void SetVoiceProgrammerPortSettings(TCustomComPort &port)
{
    port.SetBaudRate(br115200);
    port.SetDataBits(dbEight);
    port.Parity()->SetBits(prNone);
    port.SetStopBits(sbOneStopBit);
    TComFlowControl *flow = port.FlowControl();
    flow->SetControlDTR(dtrEnable);
    flow->SetControlRTS(rtsDisable);
    flow->SetOutCTSFlow(false);
    flow->SetOutDSRFlow(false);
    flow->SetXonXoffOut(false);
    flow->SetXonXoffIn(false);
    TComTimeouts *timeouts = port.Timeouts();
    timeouts->SetReadInterval(200);
    timeouts->SetReadTotalM(1);
    timeouts->SetReadTotalC(400);
    timeouts->SetWriteTotalM(1);
    timeouts->SetWriteTotalC(400);
}
