#pragma once
// The Windows-1251 code page: every text of an image, a file or a frame is
// stored in it. Bytes 0x00..0x7F are ASCII; 0x80..0xFF come from a table, so
// nothing here depends on the process locale or on iconv.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <span>

// The character of one byte. 0x98, which the code page leaves undefined,
// reads as U+0098, so that such a byte survives a decode and an encode.
char16_t Win1251ToUnicode(quint8 byte);

// The byte of one character; '?' for a character the code page lacks.
quint8 UnicodeToWin1251(char32_t ch);

QString FromWin1251(QByteArrayView bytes);
QByteArray ToWin1251(QStringView text);

// Encodes the characters of text into out until out is full (one byte per
// character, a surrogate pair counts once); returns the bytes written.
qsizetype ToWin1251(QStringView text, std::span<quint8> out);
