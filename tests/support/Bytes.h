#pragma once
// Byte strings for tests: the bytes of an image, numbers as the controller
// stores them (low byte first), and a pattern that shows a misplaced byte.
#include <QByteArray>

#include <span>

inline QByteArray Bytes(std::span<const quint8> bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// The low `bytes` bytes of v, low byte first.
inline QByteArray Le(quint32 v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char(v >> (8 * i)));
    return out;
}

inline QByteArray U32(quint32 v)
{
    return Le(v, 4);
}

inline QByteArray U16(quint16 v)
{
    return Le(v, 2);
}

// Bytes that differ from their neighbours, a different run for each seed.
inline QByteArray Pattern(int size, int seed)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 7 + seed) & 0xFF);
    return out;
}
