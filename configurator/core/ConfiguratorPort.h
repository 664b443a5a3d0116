#pragma once
// The configurator's line to the controller, one definition for the window,
// the benchmarks and the tests that drive the flows without a window.
class TCustomComPort;

// 19200 baud, 8 data bits, no parity, one stop bit, no flow control, and the
// time-outs the exchanges are timed by (interval 500 ms; read 3 ms a byte +
// 100 ms; write 4 ms a byte + 200 ms). DTR and RTS go up after each open
// (the window's open handler).
void SetConfiguratorPortSettings(TCustomComPort &port);
