#include "tests/serial/LineSpeedProbe.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

unsigned ProbeLineSpeed(int fd)
{
    struct termios2 t;
    if (ioctl(fd, TCGETS2, &t) != 0)
        return 0;
    return t.c_ospeed;
}
