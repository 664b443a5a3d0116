#include "link/Readdata.h"

#include <QTest>
#include <vector>

class TstFrames : public QObject {
    Q_OBJECT
private slots:
    void checksumOfWorkedExamples_data();
    void checksumOfWorkedExamples();
    void checksumOfNothingIsZero();
    void areaTables_data();
    void areaTables();
};

void TstFrames::checksumOfWorkedExamples_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("identify") << QByteArray::fromHex("050500 00FB");
    QTest::newRow("state") << QByteArray::fromHex("050C0000F4");
    QTest::newRow("restart") << QByteArray::fromHex("0510010000EF");
    QTest::newRow("reconfigure") << QByteArray::fromHex("050F010000F2");
    QTest::newRow("first config block") << QByteArray::fromHex("05070800000000000001 0000F2");
    QTest::newRow("last config block") << QByteArray::fromHex("0507080000140000AC00000049");
    QTest::newRow("empty password") << QByteArray::fromHex("05110000EF");
}

void TstFrames::checksumOfWorkedExamples()
{
    QFETCH(QByteArray, frame);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(frame.constData());
    QCOMPARE(FrameChecksum(bytes + 1, frame.size() - 2), bytes[frame.size() - 1]);
}

void TstFrames::checksumOfNothingIsZero()
{
    const std::uint8_t none = 0xAA;
    QCOMPARE(FrameChecksum(&none, 0), std::uint8_t(0));
    QCOMPARE(FrameChecksum(&none, -3), std::uint8_t(0));
}

void TstFrames::areaTables_data()
{
    QTest::addColumn<bool>("voice");
    QTest::addColumn<int>("area");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("write");
    QTest::addColumn<int>("read");
    QTest::newRow("config 1") << false << 1 << true << 0x06 << 0x07;
    QTest::newRow("config 2") << false << 2 << true << 0x01 << 0x02;
    QTest::newRow("config 4") << false << 4 << true << 0x08 << 0x09;
    QTest::newRow("config 5") << false << 5 << true << 0x12 << 0x13;
    QTest::newRow("config 6 is area 7's pair") << false << 6 << true << 0x0A << 0x0B;
    QTest::newRow("config 7 invalid") << false << 7 << false << 0 << 0;
    QTest::newRow("config 0 invalid") << false << 0 << false << 0 << 0;
    QTest::newRow("config -1 invalid") << false << -1 << false << 0 << 0;
    QTest::newRow("voice 6") << true << 6 << true << 0x16 << 0x17;
    QTest::newRow("voice 7") << true << 7 << true << 0x0A << 0x0B;
    QTest::newRow("voice 3") << true << 3 << true << 0x03 << 0x04;
    QTest::newRow("voice 8 invalid") << true << 8 << false << 0 << 0;
}

void TstFrames::areaTables()
{
    QFETCH(bool, voice);
    QFETCH(int, area);
    QFETCH(bool, valid);
    QFETCH(int, write);
    QFETCH(int, read);
    SelectMemoryAreaTable(voice ? MemoryAreaTable::VoiceProgrammer : MemoryAreaTable::Configurator);
    std::uint8_t w = 0, r = 0;
    QCOMPARE(AreaCommands(area, w, r), valid);
    if (valid) {
        QCOMPARE(int(w), write);
        QCOMPARE(int(r), read);
    }
    SelectMemoryAreaTable(MemoryAreaTable::Configurator);
}

QTEST_APPLESS_MAIN(TstFrames)
#include "tst_frames.moc"
