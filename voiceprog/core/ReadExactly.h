#pragma once
// Reads until n bytes have arrived, the data ends or the device fails.
#include <QIODevice>

inline bool ReadExactly(QIODevice &device, void *to, qint64 n)
{
    char *p = static_cast<char *>(to);
    while (n > 0) {
        const qint64 got = device.read(p, n);
        if (got <= 0)
            return false;
        p += got;
        n -= got;
    }
    return true;
}
