#include "common/PortProbe.h"
#include "serial/ComPort.h"
#include "toolkit/ExceptionReport.h"

#include <exception>

bool ProbePort(TCustomComPort &port, CloseFailure closeFailure)
{
    try {
        port.Open();
    } catch (...) {
    }
    const bool opened = port.Connected();
    try {
        port.Close();
    } catch (...) {
        if (closeFailure == CloseFailure::Reported)
            ApplicationHandleException(std::current_exception());
    }
    return opened;
}
