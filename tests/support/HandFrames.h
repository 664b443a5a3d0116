#pragma once
// Frames built by hand, not by the programs' own frame code, so that the
// simulator's tests cannot share a fault with that code.
#include <QByteArray>

// The check byte over bytes [from, to): the XOR of them, negated.
inline quint8 Sum(const QByteArray &bytes, int from, int to)
{
    quint8 x = 0;
    for (int i = from; i < to; ++i)
        x ^= quint8(bytes[i]);
    return quint8(-x);
}

// 0x05, the command, the payload's size (low byte first), the payload, the check byte.
inline QByteArray Frame(quint8 command, const QByteArray &payload = QByteArray())
{
    QByteArray f;
    f.append(char(0x05)).append(char(command)).append(char(payload.size() & 0xFF)).append(char(payload.size() >> 8));
    f.append(payload);
    f.append(char(Sum(f, 1, int(f.size()))));
    return f;
}
