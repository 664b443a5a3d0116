#pragma once
// The output speed of a tty in bits per second, also for speeds without a
// Bxxx constant; 0 when the request fails.
unsigned ProbeLineSpeed(int fd);
