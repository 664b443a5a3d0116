#include "toolkit/TextRules.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale.h>

// Every case runs twice: under the C locale of the test environment, then
// with a process locale and a Qt default locale whose decimal separator is ",".
class TstTextRules : public QObject {
    Q_OBJECT
private slots:
    void typedNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("comma") << "1,5" << 1.5;
        QTest::newRow("point") << "1.5" << 1.5;
        QTest::newRow("blanks in front, junk behind") << " \t-2,25 V" << -2.25;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("exponent") << "1,5e3" << 1500.0;
        QTest::newRow("incomplete exponent is not taken") << "2e+" << 2.0;
        QTest::newRow("second separator ends it") << "1,5,7" << 1.5;
        QTest::newRow("leading separator") << ",5" << 0.5;
        QTest::newRow("trailing separator") << "5," << 5.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("separator only") << "," << 0.0;
        QTest::newRow("hexadecimal is not decimal") << "0x1A" << 0.0;
        QTest::newRow("inf is no number") << "inf" << 0.0;
        QTest::newRow("blank inside") << "1 5" << 1.0;
    }
    void typedNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(TypedNumber(text), expected);
    }

    void typedNumberOverflowsLikeStrtod()
    {
        QCOMPARE(TypedNumber(u"1e999"), std::numeric_limits<double>::infinity());
        QCOMPARE(TypedNumber(u"1e-999"), 0.0);
    }

    void typedInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("plain") << "300" << qint64(300);
        QTest::newRow("negative") << "-1" << qint64(-1);
        QTest::newRow("blanks in front") << "  12" << qint64(12);
        QTest::newRow("stops at a non-digit") << "12abc" << qint64(12);
        QTest::newRow("no fraction") << "1,5" << qint64(1);
        QTest::newRow("no number") << "x1" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("saturates up") << "99999999999999999999999" << std::numeric_limits<qint64>::max();
        QTest::newRow("saturates down") << "-99999999999999999999999" << std::numeric_limits<qint64>::min();
        QTest::newRow("qint64 minimum") << "-9223372036854775808" << std::numeric_limits<qint64>::min();
    }
    void typedInteger()
    {
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        QCOMPARE(TypedInteger(text), expected);
    }

    void formatGeneral_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("precision");
        QTest::addColumn<int>("exponentDigits");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free seconds") << 2094136 * 0.000125 << 4 << 0 << "." << "261.8";
        QTest::newRow("free seconds, comma") << 2094136 * 0.000125 << 4 << 0 << "," << "261,8";
        QTest::newRow("no trailing zeros") << 12000 * 0.000125 << 4 << 0 << "." << "1.5";
        QTest::newRow("zero") << 0.0 << 4 << 0 << "." << "0";
        QTest::newRow("negative zero") << -0.0 << 4 << 0 << "." << "0";
        QTest::newRow("integer") << 117.0 << 3 << 0 << "." << "117";
        QTest::newRow("rounded to an integer") << 116.97 << 3 << 0 << "." << "117";
        QTest::newRow("negative") << -50.2 << 3 << 0 << "." << "-50.2";
        QTest::newRow("volts") << 1365 * 10.0 / 4095 << 3 << 0 << "." << "3.33";
        QTest::newRow("percent") << 2730 * 100.0 / 4095 << 3 << 0 << "." << "66.7";
        QTest::newRow("small fixed") << -0.001221001221 << 7 << 2 << "." << "-0.001221001";
        QTest::newRow("seven digits") << 9.998778998779 << 7 << 2 << "." << "9.998779";
        QTest::newRow("smallest fixed") << 0.00001 << 4 << 0 << "." << "0.00001";
        QTest::newRow("below fixed range") << 0.000001 << 4 << 2 << "." << "1E-06";
        QTest::newRow("as many digits as precision") << 1234567.0 << 7 << 2 << "." << "1234567";
        QTest::newRow("more digits than precision") << 12345678.0 << 7 << 2 << "." << "1.234568E07";
        QTest::newRow("scientific, comma") << 12345678.0 << 7 << 0 << "," << "1,234568E7";
        QTest::newRow("rounding carries into the exponent") << 9.5 << 1 << 2 << "." << "1E01";
        QTest::newRow("half away from zero") << 0.125 << 2 << 0 << "." << "0.13";
        QTest::newRow("half away from zero, negative") << -0.125 << 2 << 0 << "." << "-0.13";
        QTest::newRow("float scale value") << double(10.0f) << 7 << 2 << "." << "10";
        QTest::newRow("float fraction") << double(0.1f) << 7 << 2 << "." << "0.1";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 7 << 2 << "." << "INF";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 7 << 2 << "." << "NAN";
    }
    void formatGeneral()
    {
        QFETCH(double, value);
        QFETCH(int, precision);
        QFETCH(int, exponentDigits);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(FormatGeneral(value, precision, exponentDigits, separator), expected);
    }

    void formatGeneralReadsBackWithTypedNumber()
    {
        const double shown = TypedNumber(FormatGeneral(-0.001221001221, 7, 2, u","));
        QCOMPARE(shown, -0.001221001);
    }

    void formatCurrency_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("thousands");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        const int suffixSpace = int(CurrencyPosition::SuffixSpace);
        QTest::newRow("plain") << 12.5 << suffixSpace << " " << 2 << "12,50 р.";
        QTest::newRow("negative") << -12.5 << suffixSpace << " " << 2 << "-12,50 р.";
        QTest::newRow("below one") << 0.5 << suffixSpace << " " << 2 << "0,50 р.";
        QTest::newRow("rounds up to a cent") << 0.005 << suffixSpace << " " << 2 << "0,01 р.";
        QTest::newRow("rounds to zero, no sign") << -0.004 << suffixSpace << " " << 2 << "0,00 р.";
        QTest::newRow("grouped") << 1234567.891 << suffixSpace << " " << 2 << "1 234 568,00 р.";
        QTest::newRow("no grouping") << 1234.5 << suffixSpace << "" << 2 << "1234,50 р.";
        QTest::newRow("no decimals") << 99.5 << suffixSpace << " " << 0 << "100 р.";
        QTest::newRow("prefix") << 3.0 << int(CurrencyPosition::Prefix) << " " << 2 << "р.3,00";
        QTest::newRow("suffix") << 3.0 << int(CurrencyPosition::Suffix) << " " << 2 << "3,00р.";
        QTest::newRow("prefix, space") << -3.0 << int(CurrencyPosition::PrefixSpace) << " " << 2 << "-р. 3,00";
    }
    void formatCurrency()
    {
        QFETCH(double, value);
        QFETCH(int, position);
        QFETCH(QString, thousands);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        CurrencyFormat format;
        format.position = CurrencyPosition(position);
        format.thousandSeparator = thousands;
        format.decimals = decimals;
        QCOMPARE(FormatCurrency(value, 7, format), expected);
    }
};

namespace {

bool HasCommaDecimalPoint()
{
    return QByteArray(std::localeconv()->decimal_point) == ",";
}

// Sets a process locale with "," as decimal separator: an installed one, or
// one compiled from the system's locale sources into dir.
bool SetCommaLocale(const QString &dir)
{
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "ru_RU.UTF-8", "ru_RU.utf8"}) {
        if (std::setlocale(LC_ALL, name) && HasCommaDecimalPoint())
            return true;
    }
    const QString compiled = dir + QStringLiteral("/de_DE.UTF-8");
    if (QProcess::execute(QStringLiteral("localedef"),
                          {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                           QStringLiteral("UTF-8"), compiled}) != 0)
        return false;
    qputenv("LOCPATH", dir.toLocal8Bit());
    return std::setlocale(LC_ALL, "de_DE.UTF-8") && HasCommaDecimalPoint();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TstTextRules test;
    int failures = QTest::qExec(&test, argc, argv);

    QTemporaryDir dir;
    if (SetCommaLocale(dir.path()))
        qInfo("again under the process locale %s", std::setlocale(LC_ALL, nullptr));
    else
        qWarning("no locale with a decimal comma could be set; only the Qt default locale changes");
    QLocale::setDefault(QLocale(QLocale::German));
    failures += QTest::qExec(&test, argc, argv);
    return failures;
}

#include "tst_textrules.moc"
