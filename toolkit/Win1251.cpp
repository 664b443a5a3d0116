#include "toolkit/Win1251.h"

#include <array>

namespace {

constexpr char16_t Undefined98 = 0x0098;

// Characters of the bytes 0x80..0xFF; 0xC0..0xFF are the Cyrillic capitals
// and small letters in alphabetical order (U+0410..U+044F).
constexpr std::array<char16_t, 128> HighHalf = [] {
    std::array<char16_t, 128> t{
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
        0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
        0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
        Undefined98, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
        0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
        0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
        0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
        0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    };
    for (int i = 0x40; i < 0x80; ++i)
        t[i] = static_cast<char16_t>(0x0410 + (i - 0x40));
    return t;
}();

} // namespace

char16_t Win1251ToUnicode(quint8 byte)
{
    return byte < 0x80 ? char16_t(byte) : HighHalf[byte - 0x80];
}

quint8 UnicodeToWin1251(char32_t ch)
{
    if (ch < 0x80)
        return static_cast<quint8>(ch);
    if (ch >= 0x0410 && ch <= 0x044F)
        return static_cast<quint8>(0xC0 + (ch - 0x0410));
    for (int i = 0; i < 0x40; ++i) {
        if (HighHalf[i] == ch)
            return static_cast<quint8>(0x80 + i);
    }
    return '?';
}

QString FromWin1251(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(Win1251ToUnicode(static_cast<quint8>(bytes[i])));
    return text;
}

qsizetype ToWin1251(QStringView text, std::span<quint8> out)
{
    std::size_t written = 0;
    for (qsizetype i = 0; i < text.size() && written < out.size(); ++i) {
        char32_t ch = text[i].unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        out[written++] = UnicodeToWin1251(ch);
    }
    return static_cast<qsizetype>(written);
}

QByteArray ToWin1251(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    const qsizetype n = ToWin1251(text, std::span(reinterpret_cast<quint8 *>(bytes.data()),
                                                  static_cast<std::size_t>(bytes.size())));
    bytes.truncate(n);
    return bytes;
}
