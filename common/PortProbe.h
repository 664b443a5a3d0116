#pragma once
// The start-up look at the port: the status bar tells whether it opens.
class TCustomComPort;

// What a port panel shows while no port is open.
inline constexpr char NotConnectedText[] = "NC";

// Where an exception out of the probe's close goes.
enum class CloseFailure { Ignored, Reported };

// Opens the port and closes it again; true if it opened. A port that does
// not open is no error here: every device action tries it again.
bool ProbePort(TCustomComPort &port, CloseFailure closeFailure);
