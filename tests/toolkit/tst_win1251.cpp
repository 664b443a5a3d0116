#include "toolkit/Win1251.h"

#include <QTest>
#include <QtEndian>

#include <iconv.h>

#include <array>
#include <optional>

namespace {

// One conversion through glibc's iconv; nullopt where iconv refuses.
std::optional<QByteArray> Iconv(const char *to, const char *from, QByteArray in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    std::array<char, 16> out{};
    char *inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char *outPtr = out.data();
    size_t outLeft = out.size();
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == size_t(-1) || inLeft != 0)
        return std::nullopt;
    return QByteArray(out.data(), qsizetype(out.size() - outLeft));
}

std::optional<char32_t> IconvDecode(quint8 byte)
{
    const auto utf32 = Iconv("UTF-32LE", "CP1251", QByteArray(1, char(byte)));
    if (!utf32 || utf32->size() != 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(utf32->constData());
}

} // namespace

class TstWin1251 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(Iconv("UTF-32LE", "CP1251", "A"), "glibc iconv has no CP1251");
    }

    void everyByteDecodesAsIconvDoes()
    {
        for (int b = 0; b < 256; ++b) {
            const char16_t ours = Win1251ToUnicode(quint8(b));
            const auto theirs = IconvDecode(quint8(b));
            if (theirs) {
                QCOMPARE(char32_t(ours), *theirs);
            } else {
                // The one byte the code page leaves undefined.
                QCOMPARE(b, 0x98);
                QCOMPARE(ours, u'\u0098');
            }
        }
    }

    void everyByteEncodesBackAsIconvDoes()
    {
        for (int b = 0; b < 256; ++b) {
            const char16_t ch = Win1251ToUnicode(quint8(b));
            QCOMPARE(UnicodeToWin1251(ch), quint8(b));
            if (b == 0x98)
                continue;
            QByteArray utf32(4, '\0');
            qToLittleEndian<quint32>(ch, utf32.data());
            const auto theirs = Iconv("CP1251", "UTF-32LE", utf32);
            QVERIFY(theirs);
            QCOMPARE(*theirs, QByteArray(1, char(b)));
        }
    }

    void stringsBothWays()
    {
        const QString text = QStringLiteral("ВХОД1 «Ёж» №5 ґ");
        const QByteArray bytes = ToWin1251(text);
        QCOMPARE(bytes, QByteArray("\xC2\xD5\xCE\xC4" "1 \xAB\xA8\xE6\xBB \xB9" "5 \xB4"));
        QCOMPARE(FromWin1251(bytes), text);
    }

    void charactersOutsideTheCodePageBecomeQuestionMarks()
    {
        // A character beyond the BMP is one '?' although it takes two UTF-16 units.
        QCOMPARE(ToWin1251(QStringView(u"a\u4E2Db\U0001F600c")), QByteArray("a?b?c"));
    }

    void boundedEncodingStopsWhenFull()
    {
        std::array<quint8, 4> out{9, 9, 9, 9};
        QCOMPARE(ToWin1251(QStringView(u"ПРОФИЛЬ"), std::span(out).first(3)), 3);
        QCOMPARE(out, (std::array<quint8, 4>{0xCF, 0xD0, 0xCE, 9}));
    }
};

QTEST_GUILESS_MAIN(TstWin1251)
#include "tst_win1251.moc"
