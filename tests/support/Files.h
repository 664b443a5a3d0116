#pragma once
// Whole files read and written in one call.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Empty when the file cannot be read.
inline QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether all of bytes was written.
[[nodiscard]] inline bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The calling test fails unless all of bytes is written.
inline void WriteAll(const QString &path, const QByteArray &bytes)
{
    QVERIFY2(WriteFile(path, bytes), qPrintable(path));
}
