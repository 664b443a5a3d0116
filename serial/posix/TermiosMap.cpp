#include "serial/posix/TermiosMap.h"

#include <array>
#include <cerrno>

namespace {

speed_t SpeedConstant(unsigned baud)
{
    struct Entry {
        unsigned baud;
        speed_t constant;
    };
    static constexpr std::array<Entry, 30> Speeds = {{
        {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200}, {300, B300},
        {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400}, {4800, B4800}, {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
        {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600},
        {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
        {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
    }};
    for (const Entry &e : Speeds) {
        if (e.baud == baud)
            return e.constant;
    }
    return B0;
}

} // namespace

void MakeRaw(termios &t)
{
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1; // with O_NONBLOCK: no data is EAGAIN, 0 is the end of the device
    t.c_cc[VTIME] = 0;
}

int DcbToTermios(const DCB &dcb, termios &t, bool &arbitrarySpeed)
{
    static constexpr std::array<tcflag_t, 4> Sizes = {CS5, CS6, CS7, CS8};
    static constexpr std::array<tcflag_t, 5> Parities = {
        0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR, PARENB | CMSPAR};
    if (dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS)
        return EINVAL;
    // Speed 0 would hang the line up.
    if (dcb.BaudRate == 0 || dcb.BaudRate > 0x7FFFFFFFu)
        return EINVAL;

    MakeRaw(t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= Sizes[dcb.ByteSize - 5] | Parities[dcb.Parity];
    if (dcb.StopBits != ONESTOPBIT)
        t.c_cflag |= CSTOPB; // 1.5 stop bits where the UART offers them (5 data bits)
    if ((dcb.Flags & DCB_fOutxCtsFlow) != 0 || (dcb.Flags & DCB_fRtsControlMask) == DCB_RtsControlHandshake)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(INPCK | IXON | IXOFF | IXANY);
    if ((dcb.Flags & DCB_fParity) != 0)
        t.c_iflag |= INPCK;
    if ((dcb.Flags & DCB_fOutX) != 0)
        t.c_iflag |= IXON;
    if ((dcb.Flags & DCB_fInX) != 0)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);

    const speed_t speed = SpeedConstant(dcb.BaudRate);
    arbitrarySpeed = speed == B0;
    if (!arbitrarySpeed) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    }
    return 0;
}
