#pragma once
// Line speeds that have no Bxxx constant go through termios2 (BOTHER), whose
// header cannot share a translation unit with <termios.h>.

// Sets both directions to baud bits per second; 0 or errno.
int SetArbitrarySpeed(int fd, unsigned baud);
