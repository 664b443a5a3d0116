#pragma once
// The device records the port hands to its device: line state, time-outs,
// queue status, and the request codes of purges, escapes and line status.
// They keep the classic serial-communications layout and values, so that the
// settings map onto them one field at a time.
#include <cstdint>

struct DCB {
    std::uint32_t DCBlength = 0;
    std::uint32_t BaudRate = 0;
    std::uint32_t Flags = 0; // the DCB_ flag bits and the DTR / RTS control fields
    std::uint16_t wReserved = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t Parity = 0;
    std::uint8_t StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    std::uint16_t wReserved1 = 0;
};

constexpr std::uint32_t DCB_fBinary = 0x0001;
constexpr std::uint32_t DCB_fParity = 0x0002;
constexpr std::uint32_t DCB_fOutxCtsFlow = 0x0004;
constexpr std::uint32_t DCB_fOutxDsrFlow = 0x0008;
constexpr std::uint32_t DCB_fDtrControlMask = 0x0030;
constexpr std::uint32_t DCB_DtrControlEnable = 0x0010;
constexpr std::uint32_t DCB_DtrControlHandshake = 0x0020;
constexpr std::uint32_t DCB_fDsrSensitivity = 0x0040;
constexpr std::uint32_t DCB_fTXContinueOnXoff = 0x0080;
constexpr std::uint32_t DCB_fOutX = 0x0100;
constexpr std::uint32_t DCB_fInX = 0x0200;
constexpr std::uint32_t DCB_fErrorChar = 0x0400;
constexpr std::uint32_t DCB_fNull = 0x0800;
constexpr std::uint32_t DCB_fRtsControlMask = 0x3000;
constexpr std::uint32_t DCB_RtsControlEnable = 0x1000;
constexpr std::uint32_t DCB_RtsControlHandshake = 0x2000;
constexpr std::uint32_t DCB_RtsControlToggle = 0x3000;
constexpr std::uint32_t DCB_fAbortOnError = 0x4000;

constexpr std::uint8_t NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
constexpr std::uint8_t ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;

constexpr std::uint32_t MAXDWORD = 0xFFFFFFFFu;

struct COMMTIMEOUTS {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

struct COMSTAT {
    std::uint32_t Flags = 0; // the COMSTAT_ hold bits
    std::uint32_t cbInQue = 0;
    std::uint32_t cbOutQue = 0;
};

constexpr std::uint32_t PURGE_TXABORT = 0x0001;
constexpr std::uint32_t PURGE_RXABORT = 0x0002;
constexpr std::uint32_t PURGE_TXCLEAR = 0x0004;
constexpr std::uint32_t PURGE_RXCLEAR = 0x0008;

constexpr std::uint32_t SETXOFF = 1, SETXON = 2, SETRTS = 3, CLRRTS = 4, SETDTR = 5, CLRDTR = 6,
                        SETBREAK = 8, CLRBREAK = 9;

constexpr std::uint32_t CE_RXOVER = 0x0001;
constexpr std::uint32_t CE_OVERRUN = 0x0002;
constexpr std::uint32_t CE_RXPARITY = 0x0004;
constexpr std::uint32_t CE_FRAME = 0x0008;
constexpr std::uint32_t CE_BREAK = 0x0010;
constexpr std::uint32_t CE_TXFULL = 0x0100;
constexpr std::uint32_t CE_IOE = 0x0400;
constexpr std::uint32_t CE_MODE = 0x8000;

constexpr std::uint32_t MS_CTS_ON = 0x0010;
constexpr std::uint32_t MS_DSR_ON = 0x0020;
constexpr std::uint32_t MS_RING_ON = 0x0040;
constexpr std::uint32_t MS_RLSD_ON = 0x0080;

constexpr std::uint32_t EV_RXCHAR = 0x0001;
constexpr std::uint32_t EV_RXFLAG = 0x0002;
constexpr std::uint32_t EV_TXEMPTY = 0x0004;
constexpr std::uint32_t EV_CTS = 0x0008;
constexpr std::uint32_t EV_DSR = 0x0010;
constexpr std::uint32_t EV_RLSD = 0x0020;
constexpr std::uint32_t EV_BREAK = 0x0040;
constexpr std::uint32_t EV_ERR = 0x0080;
constexpr std::uint32_t EV_RING = 0x0100;
constexpr std::uint32_t EV_RX80FULL = 0x0400;
