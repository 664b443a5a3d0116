#pragma once
// PhraseLoader's line to the controller, one definition for the window and
// the benchmarks.
class TCustomComPort;

// 115200 baud, 8 data bits, no parity, one stop bit, DTR on, RTS off, no
// handshake, and the time-outs of its exchanges (interval 200 ms; read and
// write 1 ms a byte + 400 ms).
void SetVoiceProgrammerPortSettings(TCustomComPort &port);
