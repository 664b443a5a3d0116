// The live-state and touch-key blocks as the values the window shows, read
// without a window.
#include "configurator/core/LiveState.h"

#include <QTest>

#include <cstring>
#include <initializer_list>
#include <tuple>
#include <utility>

Q_DECLARE_METATYPE(LiveState)
Q_DECLARE_METATYPE(LiveStateBlock)

namespace {

// The bytes given at their offsets, the balance at 32, the rest 0.
LiveStateBlock Block(std::initializer_list<std::pair<int, int>> bytes, float balance = 0)
{
    LiveStateBlock block{};
    for (const auto &[offset, value] : bytes)
        block[std::size_t(offset)] = quint8(value);
    std::memcpy(block.data() + 32, &balance, sizeof balance);
    return block;
}

// Inputs 1..4 at 6, 8, 10 and 12, little-endian.
LiveStateBlock WithInputs(LiveStateBlock block, std::array<quint16, 4> values)
{
    for (int input = 0; input < 4; ++input) {
        block[std::size_t(6 + 2 * input)] = quint8(values[std::size_t(input)] & 0xFF);
        block[std::size_t(7 + 2 * input)] = quint8(values[std::size_t(input)] >> 8);
    }
    return block;
}

LiveState Zero()
{
    LiveState s;
    s.clock = QStringLiteral("00.00.00 00:00:00");
    return s;
}

} // namespace

class TstLiveState : public QObject {
    Q_OBJECT
private slots:
    void stateBlock_data();
    void stateBlock();
    void touchKey_data();
    void touchKey();
};

void TstLiveState::stateBlock_data()
{
    QTest::addColumn<LiveStateBlock>("block");
    QTest::addColumn<LiveState>("expected");
    const std::array<quint16, 4> inputs{1000, 2000, 60000, 7};

    QTest::newRow("all zero") << LiveStateBlock{} << Zero();

    LiveState root = Zero();
    root.signalQuality = 21;
    root.inputsShown = true; // bit 5 of byte 25
    root.armState = 2;
    root.temperatureValid = true;
    root.balanceValid = true;
    root.ledMask = 0x05;
    root.outputMask = 0x02;
    root.gsmState = 8;
    root.temperature = -5;
    root.balance = 123.5f;
    QTest::newRow("root page")
        << Block({{25, 0x20 | 21}, {26, 2}, {27, 0x03}, {28, 0x05}, {29, 0x02}, {30, 8}, {31, -5}}, 123.5f) << root;

    // Byte 25 holds the signal quality in its five low bits, the two input flags above it.
    LiveState quality = Zero();
    quality.signalQuality = 31;
    QTest::newRow("signal quality, no input flag") << Block({{25, 0x1F}}) << quality;
    LiveState topBit = Zero();
    topBit.battery = 50;
    QTest::newRow("top bit of byte 25, no input flag") << Block({{24, 50}, {25, 0x80}}) << topBit;

    for (const auto &[name, code, shown] : {std::tuple{"GSM state 10", 10, 10}, std::tuple{"GSM state 11", 11, 11},
                                           std::tuple{"GSM state 12: unknown", 12, 11},
                                           std::tuple{"GSM state 255: unknown", 255, 11}}) {
        LiveState s = Zero();
        s.gsmState = shown;
        QTest::newRow(name) << Block({{30, code}}) << s;
    }

    LiveState temperature = Zero();
    temperature.temperatureValid = true;
    temperature.temperature = -128;
    temperature.balance = -1.25f;
    QTest::newRow("temperature valid, balance not") << Block({{27, 0x01}, {31, 0x80}}, -1.25f) << temperature;
    LiveState balance = Zero();
    balance.balanceValid = true;
    balance.temperature = 127;
    balance.balance = 0.5f;
    QTest::newRow("balance valid, temperature not") << Block({{27, 0x02}, {31, 127}}, 0.5f) << balance;

    LiveState power = Zero();
    power.mainPower = 123;
    power.battery = 100;
    // Byte 23 lies between the two and belongs to neither.
    QTest::newRow("supply and battery") << Block({{22, 123}, {23, 0xFF}, {24, 100}}) << power;

    // The input values are shown when measured, or measured on battery with a battery.
    struct InputRow {
        const char *name;
        int flags;
        int battery;
        bool shown;
    };
    for (const InputRow &row : {InputRow{"inputs measured", 0x20, 0, true},
                                InputRow{"inputs measured on battery, with a battery", 0x40, 50, true},
                                InputRow{"inputs measured on battery, without a battery", 0x40, 0, false},
                                InputRow{"inputs measured and on battery, without a battery", 0x60, 0, true},
                                InputRow{"inputs not measured", 0x00, 50, false}}) {
        LiveState s = Zero();
        s.battery = quint8(row.battery);
        s.inputsShown = row.shown;
        s.inputs = inputs;
        QTest::newRow(row.name) << WithInputs(Block({{24, row.battery}, {25, row.flags}}), inputs) << s;
    }

    // Bytes 0..5: year, month, day, hour, minute, second.
    LiveState clock = Zero();
    clock.clock = QStringLiteral("30.11.24 13:45:58");
    QTest::newRow("clock, every field its own") << Block({{0, 24}, {1, 11}, {2, 30}, {3, 13}, {4, 45}, {5, 58}})
                                                << clock;
    clock.clock = QStringLiteral("123.12.26 07:05:03");
    QTest::newRow("clock, a day of three digits") << Block({{0, 26}, {1, 12}, {2, 123}, {3, 7}, {4, 5}, {5, 3}})
                                                  << clock;
}

void TstLiveState::stateBlock()
{
    QFETCH(LiveStateBlock, block);
    QFETCH(LiveState, expected);
    const LiveState got = DecodeLiveState(block);
    QCOMPARE(got.signalQuality, expected.signalQuality);
    QCOMPARE(got.gsmState, expected.gsmState);
    QCOMPARE(got.armState, expected.armState);
    QCOMPARE(got.ledMask, expected.ledMask);
    QCOMPARE(got.outputMask, expected.outputMask);
    QCOMPARE(got.balanceValid, expected.balanceValid);
    QCOMPARE(got.balance, expected.balance);
    QCOMPARE(got.temperatureValid, expected.temperatureValid);
    QCOMPARE(got.temperature, expected.temperature);
    QCOMPARE(got.mainPower, expected.mainPower);
    QCOMPARE(got.battery, expected.battery);
    QCOMPARE(got.inputsShown, expected.inputsShown);
    for (int input = 0; input < LiveInputCount; ++input) {
        const auto i = std::size_t(input);
        QCOMPARE(got.inputs[i], expected.inputs[i]);
        QCOMPARE(got.ShownInput(input), expected.inputsShown ? int(expected.inputs[i]) : 0);
    }
    QCOMPARE(got.clock, expected.clock);
}

void TstLiveState::touchKey_data()
{
    QTest::addColumn<int>("flags"); // byte 8
    QTest::addColumn<bool>("read");
    QTest::newRow("both key bits") << 0x03 << true;
    QTest::newRow("only bit 0") << 0x01 << false;
    QTest::newRow("only bit 1") << 0x02 << false;
    QTest::newRow("none") << 0x00 << false;
    QTest::newRow("both key bits and the others") << 0xFF << true;
    QTest::newRow("only the other bits") << 0xFC << false;
}

void TstLiveState::touchKey()
{
    QFETCH(int, flags);
    QFETCH(bool, read);
    TouchKeyBlock block{0x01, 0xA2, 0x00, 0x0F, 0x10, 0x20, 0x30, 0xFF, quint8(flags), 0xEE, 0xEE, 0xEE};
    const TouchKeyRead key = DecodeTouchKey(block);
    QCOMPARE(key.read, read);
    QCOMPARE(key.code, QStringLiteral("01A2000F102030FF"));
}

QTEST_APPLESS_MAIN(TstLiveState)
#include "tst_livestate.moc"
