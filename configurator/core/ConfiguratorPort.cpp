#include "configurator/core/ConfiguratorPort.h"
#include "serial/ComPort.h"

void SetConfiguratorPortSettings(TCustomComPort &port)
{
    port.SetBaudRate(br19200);
    port.SetDataBits(dbEight);
    port.Parity()->SetBits(prNone);
    port.SetStopBits(sbOneStopBit);
    port.FlowControl()->SetFlowControl(fcNone);
    TComTimeouts *timeouts = port.Timeouts();
    timeouts->SetReadInterval(500);
    timeouts->SetReadTotalM(3);
    timeouts->SetReadTotalC(100);
    timeouts->SetWriteTotalM(4);
    timeouts->SetWriteTotalC(200);
}
