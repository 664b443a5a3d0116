#pragma once
// How the device's line state becomes termios: raw (no byte of a frame is
// translated or swallowed), with the size, parity, stop bits, flow control and
// speed of the DCB. Fields with no termios meaning are accepted and ignored.
#include "serial/CommRecords.h"

#include <termios.h>

// cfmakeraw, plus a receiver that ignores the modem lines; reads of an empty
// queue are EAGAIN (O_NONBLOCK), a read of 0 bytes is the device's end.
void MakeRaw(termios &t);

// 0, or EINVAL for a DCB no line can carry. arbitrarySpeed is set when the rate
// has no Bxxx constant and has to be set apart (termios2).
int DcbToTermios(const DCB &dcb, termios &t, bool &arbitrarySpeed);
