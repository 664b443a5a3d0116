#include "configurator/core/Configuration.h"
#include "toolkit/Win1251.h"

#include <QTest>

#include <vector>

namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// A text field as it must stand in the image: the text, then NUL up to size.
QByteArray Text(const QString &text, int size)
{
    QByteArray bytes = ToWin1251(text);
    bytes.append(size - bytes.size(), '\0');
    return bytes;
}

struct GoldenRow {
    QString name;
    int offset;
    QByteArray bytes;
};

// Every non-zero byte of the default image, from the field tables.
std::vector<GoldenRow> GoldenRows()
{
    std::vector<GoldenRow> rows{
        {"format marker", 0, Hex("01")},
        {"version text", 1, Text("v.01.02", 8)},
        {"pause 10 s, ACK, control only from list (SMS and DTMF)", 12, Hex("39")},
        {"outdated SMS 30 min, V.110", 13, Hex("1F")},
        {"DTMF password", 38, Text("8462", 5)},
        {"SMS password", 43, Text("vomu", 9)},
        {"input power always on, loop reset 40 s", 356, Hex("07")},
        {"time zone +4", 2672, Hex("04")},
        {"main power 4 s, messages on fault and return, 32 min", 2808, Hex("C9")},
        {"second discharge border 20, message", 2812, Hex("94")},
        {"first discharge border 40, message", 2813, Hex("A8")},
        {"alarm blinking", 2817, Hex("04")},
        {"temperature event", 2842, Hex("01")},
        {"temperature borders -25 and 60, levels -20", 2843, Hex("E73CEC")},
        {"high level -15", 2847, Hex("F1")},
        {"tamper", 2849, Hex("01")},
        {"GPRS access point", 2852, Text("internet", 33)},
        {"GPRS user", 2885, Text("qov", 17)},
        {"GPRS password", 2902, Text("qov", 17)},
        {"larger model 2920", 2920, Hex("01")},
        {"larger model 2922", 2922, Hex("57D5010157D5")},
        {"larger model 2935", 2935, Hex("021E03")},
        {"server 1", 2940, Hex("C0000201")},
        {"port 1", 2976, Hex("60EA")},
        {"server 2", 2984, Hex("C0000201")},
        {"port 2", 3020, Hex("61EA")},
        {"server 3", 3028, Hex("C0000201")},
        {"port 3", 3064, Hex("62EA")},
        {"larger model 3080", 3080, Hex("100E64")},
        {"larger model 3084", 3084, Hex("3C")},
    };
    for (int k = 0; k < 8; ++k) {
        const int base = 68 + 36 * k;
        const QString c = QStringLiteral("connection %1 ").arg(k + 1);
        rows.push_back({c + "group", base + 16, QByteArray(1, char(k << 2))});
        rows.push_back({c + "voice give-up 10 min", base + 17, Hex("09")});
        rows.push_back({c + "SMS give-up 10 min", base + 28, Hex("09")});
        rows.push_back({c + "Russian, user name", base + 29, Hex("05")});
    }
    for (int i = 0; i < 16; ++i) {
        const int base = 360 + 92 * i;
        const QString in = QStringLiteral("input %1 ").arg(i + 1);
        rows.push_back({in + "name", base, Text(QStringLiteral("ВХОД%1").arg(i + 1), 17)});
        rows.push_back({in + "active name", base + 17, Text("АКТИВЕН", 17)});
        rows.push_back({in + "passive name", base + 34, Text("НЕАКТИВЕН", 17)});
        rows.push_back({in + "240 ms, free level", base + 52, Hex("22")});
        rows.push_back({in + "relays by alarm with blocking", base + 54, Hex("40")});
        rows.push_back({in + "discrete", base + 55, Hex("02")});
        rows.push_back({in + "borders 1365 and 2730", base + 58, Hex("5505AA0A")});
        rows.push_back({in + "sensor power other", base + 63, Hex("02")});
        rows.push_back({in + "scale upper 10.0", base + 72, Hex("00002041")});
    }
    const QStringList outputs{"РЕЛЕ1", "РЕЛЕ2", "ВЫХОД1", "ВЫХОД2", "ВЫХОД3", "ВЫХОД4", "ВЫХОД5"};
    for (int k = 0; k < 7; ++k) {
        const int base = 1832 + 52 * k;
        rows.push_back({"output name " + outputs[k], base, Text(outputs[k], 17)});
        rows.push_back({"output on name " + outputs[k], base + 17, Text("ВКЛ", 17)});
        rows.push_back({"output off name " + outputs[k], base + 34, Text("ВЫКЛ", 17)});
        rows.push_back({"output flags " + outputs[k], base + 51, Hex("A0")});
    }
    const char *const scenarios[14] = {
        "0000" "01800100",
        "0000" "0280020002800200",
        "0000" "058005000A800A00",
        "0100" "028002000280",
        "0100" "0100018002000080",
        "0000" "02800300",
        "0100" "0580",
        "0100" "018000000080", "0100" "018000000080", "0100" "018000000080", "0100" "018000000080",
        "0100" "018000000080", "0100" "018000000080", "0100" "018000000080",
    };
    for (int s = 0; s < 14; ++s)
        rows.push_back({QStringLiteral("scenario %1").arg(s + 1), 2196 + 34 * s, Hex(scenarios[s])});
    for (int p = 0; p < 4; ++p)
        rows.push_back({QStringLiteral("perimeter %1 name").arg(p + 1), 3087 + 51 * p,
                        Text(QStringLiteral("ПЕРИМЕТР%1").arg(p + 1), 17)});
    const QStringList profiles{"КОМФОРТ", "ЭКОНОМ", "ПРОФИЛЬ3", "ПРОФИЛЬ4",
                               "ПРОФИЛЬ5", "ПРОФИЛЬ6", "ПРОФИЛЬ7", "ПРОФИЛЬ8"};
    for (int p = 0; p < 8; ++p) {
        const int base = 4316 + 122 * p;
        rows.push_back({"profile name " + profiles[p], base, Text(profiles[p], 20)});
        rows.push_back({"profile entries " + profiles[p], base + 20, Hex("5505AA0A0000").repeated(16)});
    }
    return rows;
}

QByteArray Slice(const ConfigImage &image, int offset, qsizetype size)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()) + offset, size);
}

} // namespace

class TstConfiguration : public QObject {
    Q_OBJECT
private slots:
    void defaultImage_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        for (const GoldenRow &row : GoldenRows())
            QTest::newRow(qPrintable(row.name)) << row.offset << row.bytes;
    }
    void defaultImage()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Slice(DefaultImage(), offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    void defaultImageIsZeroElsewhere()
    {
        std::vector<bool> named(ConfigImageSize, false);
        for (const GoldenRow &row : GoldenRows()) {
            for (int i = 0; i < row.bytes.size(); ++i) {
                QVERIFY2(!named[row.offset + i], qPrintable(row.name + " overlaps another row"));
                named[row.offset + i] = true;
            }
        }
        for (int i = 0; i < ConfigImageSize; ++i) {
            if (!named[i])
                QVERIFY2(DefaultImage()[i] == 0, qPrintable(QStringLiteral("byte %1").arg(i)));
        }
    }

    void factoryDefaultsFillsTheWholeRecord()
    {
        ControllerConfig config;
        config.ConfigImage.fill(0x55);
        config.ModeMemory.fill(0x55);
        config.SystemParameters.fill(0x55);
        QCOMPARE(&FactoryDefaults(config), &config);
        QVERIFY(config.ConfigImage == DefaultImage());
        QCOMPARE(config.ModeMemory, (ModeMemory{0x00, 0x00, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x00}));
        QCOMPARE(config.SystemParameters, SystemParameters{});
    }

    void copyDefaultImageLeavesTheOtherAreas()
    {
        ControllerConfig config;
        FactoryDefaults(config);
        config.ConfigImage[100] ^= 0xFF;
        config.ModeMemory[0] = 7;
        config.SystemParameters[3] = 9;
        CopyDefaultImage(config.ConfigImage);
        QVERIFY(config.ConfigImage == DefaultImage());
        QCOMPARE(config.ModeMemory[0], quint8(7));
        QCOMPARE(config.SystemParameters[3], quint8(9));
    }

    void defaultHeader()
    {
        ConfigImage image = DefaultImage();
        QVERIFY(HasDefaultHeader(image));
        image[9] = 0xFF; // past the header
        QVERIFY(HasDefaultHeader(image));
        image[7] = '1';  // "v.01.01"
        QVERIFY(!HasDefaultHeader(image));
        image = DefaultImage();
        image[0] = 0x02;
        QVERIFY(!HasDefaultHeader(image));
    }

    void stripSpaces_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray nul16(16, '\0');
        QTest::newRow("no blanks") << QByteArray("+79161234567\0\0\0\0", 16)
                                   << QByteArray("+79161234567\0\0\0\0", 16);
        QTest::newRow("no blanks, no terminator") << QByteArray("123456789012345X", 16)
                                                  << QByteArray("123456789012345X", 16);
        QTest::newRow("15 blanks and a NUL") << QByteArray("               \0", 16) << nul16;
        QTest::newRow("digit groups") << QByteArray("+7 916 123 45 6\0", 16)
                                      << QByteArray("+7916123456\0\0\0\0\0", 16);
        QTest::newRow("consecutive blanks") << QByteArray("1   2  3\0\0\0\0\0\0\0\0", 16)
                                            << QByteArray("123\0\0\0\0\0\0\0\0\0\0\0\0\0", 16);
        QTest::newRow("blanks behind the NUL") << QByteArray("12\0 3 \0\0\0\0\0\0\0\0\0\0", 16)
                                               << QByteArray("12\0" "3\0\0\0\0\0\0\0\0\0\0\0\0", 16);
        QTest::newRow("blank in the last byte") << QByteArray("123456789012345 ", 16)
                                                << QByteArray("123456789012345\0", 16);
    }
    void stripSpaces()
    {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, expected);
        QCOMPARE(field.size(), 16);
        // The field stands between guard bytes that must stay as they are.
        std::array<quint8, 18> bytes;
        bytes.front() = ' ';
        bytes.back() = ' ';
        std::copy(field.begin(), field.end(), bytes.begin() + 1);
        StripSpaces(std::span(bytes).subspan(1, 16));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes.data()) + 1, 16), expected);
        QCOMPARE(bytes.front(), quint8(' '));
        QCOMPARE(bytes.back(), quint8(' '));
    }

    void stripSpacesOnAConnectionPhone()
    {
        ConfigImage image = DefaultImage();
        const FieldView c = RecordView<ConnectionRecord>(image, 0);
        c.Set(ConnectionRecord::Phone, u" 8 916 000 11 2");
        const quint8 next = image[68 + 16];
        StripSpaces(c.Bytes(ConnectionRecord::Phone));
        QCOMPARE(c.Get(ConnectionRecord::Phone), QStringLiteral("8916000112"));
        QCOMPARE(image[68 + 16], next);
    }
};

QTEST_GUILESS_MAIN(TstConfiguration)
#include "tst_configuration.moc"
