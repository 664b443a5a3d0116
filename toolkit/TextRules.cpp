#include "toolkit/TextRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace {

bool IsAsciiBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

bool IsDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

qsizetype SkipBlanks(QStringView text, qsizetype i)
{
    while (i < text.size() && IsAsciiBlank(text[i]))
        ++i;
    return i;
}

qsizetype SkipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

// strtod in the "C" locale, whatever the process locale is.
double CStrtod(const std::string &text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// A value rounded to a number of digits: 0.d1 d2 ... dn x 10^exponent, with
// no trailing zero digit; no digits at all is zero.
struct RoundedDecimal {
    std::string digits;
    int exponent = 0;
};

constexpr int MaxDecimals = 400; // no limit by the decimal places

// Rounds |value| (finite) half away from zero at `significant` digits or at
// `decimals` places after the point, whichever comes first.
RoundedDecimal RoundDecimal(double value, int significant, int decimals)
{
    RoundedDecimal r;
    value = std::fabs(value);
    if (value == 0.0)
        return r;
    // Far more digits than a double holds, so the digit after the rounding
    // position is that of the exact binary value.
    constexpr int Shown = 40;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, Shown);
    const std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = s.find('e');
    std::string all;
    all += s[0];
    all.append(s.substr(2, e - 2));
    int exp10 = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exp10);
    r.exponent = exp10 + 1;

    const int keep = std::min(significant, r.exponent + decimals);
    if (keep < 0)
        return {};
    std::string kept = all.substr(0, static_cast<std::size_t>(keep));
    if (all[static_cast<std::size_t>(keep)] >= '5') {
        int i = keep - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
            kept[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++kept[static_cast<std::size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
            ++r.exponent;
        }
    }
    while (!kept.empty() && kept.back() == '0')
        kept.pop_back();
    r.digits = std::move(kept);
    if (r.digits.empty())
        r.exponent = 0;
    return r;
}

// The digit at position i (0-based) of the rounded value, 0 beyond its digits.
char DigitAt(const RoundedDecimal &r, int i)
{
    return i >= 0 && i < static_cast<int>(r.digits.size()) ? r.digits[static_cast<std::size_t>(i)] : '0';
}

QString NonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace

double TypedNumber(QStringView text)
{
    qsizetype i = SkipBlanks(text, 0);
    std::string number;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number += static_cast<char>(text[i++].unicode());
    const auto isPoint = [&](qsizetype k) { return k < text.size() && (text[k] == u'.' || text[k] == u','); };
    const auto take = [&](qsizetype from, qsizetype to) {
        for (qsizetype k = from; k < to; ++k)
            number += static_cast<char>(text[k].unicode());
    };

    qsizetype end = SkipDigits(text, i);
    bool digits = end > i;
    take(i, end);
    i = end;
    if (isPoint(i)) {
        end = SkipDigits(text, i + 1);
        if (end > i + 1 || digits) {
            number += '.';
            take(i + 1, end);
            digits = true;
            i = end;
        }
    }
    if (!digits)
        return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype k = i + 1;
        if (k < text.size() && (text[k] == u'+' || text[k] == u'-'))
            ++k;
        end = SkipDigits(text, k);
        if (end > k) {
            number += 'e';
            take(i + 1, end);
        }
    }
    return CStrtod(number);
}

qint64 TypedInteger(QStringView text)
{
    qsizetype i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    constexpr quint64 Limit = quint64(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    constexpr quint64 Saturated = Limit + 1; // magnitude of the qint64 minimum
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const quint64 digit = text[i].unicode() - '0';
        magnitude = magnitude > (Saturated - digit) / 10 ? Saturated : magnitude * 10 + digit;
    }
    if (negative)
        return magnitude > Limit ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
    return magnitude > Limit ? std::numeric_limits<qint64>::max() : qint64(magnitude);
}

QString FormatGeneral(double value, int precision, int exponentDigits, QStringView decimalSeparator)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = std::clamp(precision, 1, 18);
    exponentDigits = std::clamp(exponentDigits, 0, 4);
    const RoundedDecimal r = RoundDecimal(value, precision, MaxDecimals);
    if (r.digits.empty())
        return QStringLiteral("0");

    QString out;
    if (value < 0)
        out += u'-';
    const int count = static_cast<int>(r.digits.size());
    const int e = r.exponent - 1; // scientific exponent of the rounded value
    if (e >= -5 && e < precision) {
        if (r.exponent <= 0) {
            out += u'0';
            out += decimalSeparator;
            out += QString(-r.exponent, u'0');
            out += QLatin1StringView(r.digits.data(), count);
        } else {
            for (int i = 0; i < r.exponent; ++i)
                out += QLatin1Char(DigitAt(r, i));
            if (count > r.exponent) {
                out += decimalSeparator;
                out += QLatin1StringView(r.digits.data() + r.exponent, count - r.exponent);
            }
        }
        return out;
    }
    out += QLatin1Char(r.digits[0]);
    if (count > 1) {
        out += decimalSeparator;
        out += QLatin1StringView(r.digits.data() + 1, count - 1);
    }
    out += u'E';
    if (e < 0)
        out += u'-';
    out += QString::number(std::abs(e)).rightJustified(exponentDigits, u'0');
    return out;
}

QString FormatCurrency(double value, int precision, const CurrencyFormat &format)
{
    QString number;
    bool negative = false;
    if (!std::isfinite(value)) {
        number = NonFinite(std::fabs(value));
        negative = value < 0;
    } else {
        const int decimals = std::clamp(format.decimals, 0, 18);
        const RoundedDecimal r = RoundDecimal(value, std::clamp(precision, 1, 18), decimals);
        negative = value < 0 && !r.digits.empty();
        QString integer;
        for (int i = 0; i < r.exponent; ++i) {
            if (i > 0 && (r.exponent - i) % 3 == 0)
                integer += format.thousandSeparator;
            integer += QLatin1Char(DigitAt(r, i));
        }
        number = integer.isEmpty() ? QStringLiteral("0") : integer;
        if (decimals > 0) {
            number += format.decimalSeparator;
            for (int i = 0; i < decimals; ++i)
                number += QLatin1Char(DigitAt(r, r.exponent + i));
        }
    }

    QString out = negative ? QStringLiteral("-") : QString();
    switch (format.position) {
    case CurrencyPosition::Prefix:
        return out + format.currencyString + number;
    case CurrencyPosition::Suffix:
        return out + number + format.currencyString;
    case CurrencyPosition::PrefixSpace:
        return out + format.currencyString + u' ' + number;
    case CurrencyPosition::SuffixSpace:
        break;
    }
    return out + number + u' ' + format.currencyString;
}
