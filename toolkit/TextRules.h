#pragma once
// How numbers are read from what the user typed and how they are shown.
// Nothing here looks at the process locale: the separators are parameters,
// and "1,5" reads as 1.5 whatever LC_NUMERIC or QLocale::setDefault say.
#include <QString>
#include <QStringView>

// A typed decimal number: every "," counts as ".", ASCII blanks in front are
// skipped, then the longest decimal prefix ([sign] digits [. digits]
// [e [sign] digits]) is converted as C's strtod would; no number gives 0.
// Hexadecimal, "inf" and "nan" are not numbers here.
double TypedNumber(QStringView text);

// A typed integer: the leading decimal integer after ASCII blanks and an
// optional sign; no number gives 0; values beyond the qint64 range saturate.
qint64 TypedInteger(QStringView text);

// The general format with `precision` significant digits (1..18), rounded
// half away from zero, trailing zeros removed: fixed notation while the
// decimal exponent e of the rounded value is -5 <= e < precision, otherwise
// scientific notation as mantissa, "E", "-" for a negative exponent and at
// least `exponentDigits` (0..4) exponent digits. Examples with "." and
// precision 4: 261.8, 1.5, 0, 0.00001, 1E-6; precision 7 with 2 exponent
// digits: 1.234568E07. Infinities and NaN give "INF", "-INF" and "NAN".
QString FormatGeneral(double value, int precision, int exponentDigits,
                      QStringView decimalSeparator);

// Where the currency string stands, as the classic regional settings know it.
enum class CurrencyPosition {
    Prefix,      // "р.12,50"
    Suffix,      // "12,50р."
    PrefixSpace, // "р. 12,50"
    SuffixSpace, // "12,50 р."
};

struct CurrencyFormat {
    QString decimalSeparator = QStringLiteral(",");
    QString thousandSeparator = QStringLiteral(" "); // empty: no grouping
    int decimals = 2;
    QString currencyString = QStringLiteral("р.");
    CurrencyPosition position = CurrencyPosition::SuffixSpace;
};

// A money amount: rounded half away from zero to `format.decimals` places,
// but to no more than `precision` significant digits (the digits beyond them
// show as 0); the integer part grouped by threes; a negative amount gets "-"
// in front of the whole text ("-12,50 р."). With the defaults above 12.5
// gives "12,50 р." and 1234567.891 with precision 7 gives "1 234 568,00 р.".
QString FormatCurrency(double value, int precision, const CurrencyFormat &format);
