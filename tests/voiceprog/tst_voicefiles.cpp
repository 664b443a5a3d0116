#include "voiceprog/core/VoiceFiles.h"
#include "tests/support/Files.h"
#include "tests/support/SaveFailures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstring>

namespace {

// A bank with a few messages, its image built.
void FillBank(VoiceBank &bank)
{
    for (int k = 0; k < 5001; ++k)
        bank.AppendSample(0, std::int16_t(k * 101));
    for (int k = 0; k < 800; ++k)
        bank.AppendSample(42, std::int16_t(-k * 29));
    bank.BuildImage();
}

const QByteArray SettingsHeader = "[PhraseLoaderProgramCfg]";
const QByteArray Magic = QByteArray::fromHex("12B9F558");

} // namespace

class TestVoiceFiles : public QObject {
    Q_OBJECT

private slots:
    void emptyBankFile();
    void loadResults_data();
    void loadResults();
    void foreignFormatTextLoads();
    void failedSaveNamesNoFile();
    void saveFailures_data();
    void saveFailures();
    void saveSettings_data();
    void saveSettings();
    void loadSettings_data();
    void loadSettings();
};

void TestVoiceFiles::emptyBankFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    bank.BuildImage();
    const QString path = dir.filePath(VoiceWorkingCopyName);
    QCOMPARE(SaveVoiceFile(path, bank.Image()), 0);

    const QByteArray file = ReadAll(path);
    QCOMPARE(file.size(), VoiceFileSize);
    QCOMPARE(file.size(), 1048599);
    QVERIFY(file.startsWith(QByteArray("[VoiceMessage H.01.00]v.01.00\0", 30)));
    for (int i = 0; i < VoiceSlotCount; ++i)
        QCOMPARE(file.mid(30 + 6 * i, 6), QByteArray::fromHex("DC0500000000"));
    QVERIFY(std::all_of(file.begin() + 22 + VoiceDataStart, file.end() - 1, [](char b) { return b == 0; }));
    QCOMPARE(quint8(file.back()), 0x89);
}

void TestVoiceFiles::loadResults_data()
{
    QTest::addColumn<int>("change"); // byte position to change, or -1
    QTest::addColumn<int>("size");   // file size after trimming or padding
    QTest::addColumn<int>("result");

    const int full = int(VoiceFileSize);
    QTest::newRow("as saved") << -1 << full << 0;
    QTest::newRow("image byte changed") << 22 + 5000 << full << 2;
    QTest::newRow("check byte changed") << full - 1 << full << 2;
    QTest::newRow("one byte short") << -1 << full - 1 << 1;
    QTest::newRow("bytes after the check byte") << -1 << full + 3 << 0;
    QTest::newRow("header changed") << 13 << full << 1;
    QTest::newRow("header only") << -1 << 22 << 1;
    QTest::newRow("shorter than the header") << -1 << 21 << 1;
    QTest::newRow("empty") << -1 << 0 << 1;
}

void TestVoiceFiles::loadResults()
{
    QFETCH(int, change);
    QFETCH(int, size);
    QFETCH(int, result);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    FillBank(bank);
    const QString path = dir.filePath("messages.vce");
    QCOMPARE(SaveVoiceFile(path, bank.Image()), 0);
    QByteArray file = ReadAll(path);
    if (change >= 0)
        file[change] = char(file[change] ^ 0x40);
    file.resize(size, '\x33');
    WriteAll(path, file);

    VoiceBank loaded;
    QCOMPARE(LoadVoiceFile(path, loaded.Image()), result);
    if (result == 0) {
        QVERIFY(std::equal(bank.Image().begin(), bank.Image().end(), loaded.Image().begin()));
        loaded.ParseImage();
        QCOMPARE(loaded.SampleCount(0), 5001u);
        QCOMPARE(loaded.SampleCount(42), 800u);
    }
}

void TestVoiceFiles::foreignFormatTextLoads()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    FillBank(bank);
    std::memcpy(bank.Image().data(), "v.02.17", 7);
    const QString path = dir.filePath("foreign.vce");
    QCOMPARE(SaveVoiceFile(path, bank.Image()), 0);

    VoiceBank loaded;
    QCOMPARE(LoadVoiceFile(path, loaded.Image()), 0);
    loaded.ParseImage();
    QCOMPARE(loaded.SampleCount(42), 800u);
    QVERIFY(std::equal(bank.SlotCodes(42).begin(), bank.SlotCodes(42).end(),
                       loaded.SlotCodes(42).begin(), loaded.SlotCodes(42).end()));
}

void TestVoiceFiles::failedSaveNamesNoFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    VoiceBank bank;
    bank.BuildImage();
    QCOMPARE(SaveVoiceFile(dir.filePath("no/such/dir/x.vce"), bank.Image()), 1);
    QCOMPARE(SaveVoiceSettings(dir.filePath("no/such/dir/plp.cfg"), QStringLiteral("COM5")), 1);
}

void TestVoiceFiles::saveFailures_data()
{
    savefailures::AddColumns();
    savefailures::AddRows("voice file", 0);
    savefailures::AddRows("settings file", 1);
}

void TestVoiceFiles::saveFailures()
{
    QFETCH(int, writer);
    QFETCH(int, which);
    VoiceBank bank;
    FillBank(bank);
    const QString name = QLatin1StringView(writer == 0 ? VoiceWorkingCopyName : VoiceSettingsFileName);
    const savefailures::Save save = [&](const QString &folder) {
        const QString path = QDir(folder).filePath(name);
        return writer == 0 ? SaveVoiceFile(path, bank.Image()) : SaveVoiceSettings(path, QStringLiteral("COM5"));
    };
    QTemporaryDir clean;
    QCOMPARE(save(clean.path()), 0);
    savefailures::Run(savefailures::Case(which), save, name, ReadAll(clean.filePath(name)));
}

void TestVoiceFiles::saveSettings_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("stored");

    QTest::newRow("COM5") << "COM5" << 5;
    QTest::newRow("COM1") << "COM1" << 1;
    QTest::newRow("COM8") << "COM8" << 8;
    QTest::newRow("COM9") << "COM9" << 2;
    QTest::newRow("COM10") << "COM10" << 2;
    QTest::newRow("lower case") << "com5" << 2;
    QTest::newRow("device path") << "/dev/ttyUSB0" << 2;
    QTest::newRow("empty") << "" << 2;
}

void TestVoiceFiles::saveSettings()
{
    QFETCH(QString, port);
    QFETCH(int, stored);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(VoiceSettingsFileName);
    QCOMPARE(SaveVoiceSettings(path, port), 0);
    const QByteArray file = ReadAll(path);
    QCOMPARE(file, SettingsHeader + char(stored) + Magic);
    QCOMPARE(file.size(), VoiceSettingsFileSize);

    QString loaded = QStringLiteral("COM3");
    QCOMPARE(LoadVoiceSettings(path, loaded), 0);
    QCOMPARE(loaded, QStringLiteral("COM%1").arg(stored));
}

void TestVoiceFiles::loadSettings_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file at all
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("port"); // starting from "COM1"

    QTest::newRow("COM5") << SettingsHeader + '\x05' + Magic << 0 << "COM5";
    QTest::newRow("COM8") << SettingsHeader + '\x08' + Magic << 0 << "COM8";
    QTest::newRow("port byte 9") << SettingsHeader + '\x09' + Magic << 0 << "COM1";
    QTest::newRow("port byte 0") << SettingsHeader + '\x00' + Magic << 0 << "COM1";
    QTest::newRow("bytes after the magic") << SettingsHeader + '\x04' + Magic + "xyz" << 0 << "COM4";
    QTest::newRow("wrong magic") << SettingsHeader + '\x05' + QByteArray::fromHex("12B9F559") << 1 << "COM1";
    QTest::newRow("wrong header") << "[PhraseLoaderProgramCfG]" + QByteArray(1, '\x05') + Magic << 1
                                  << "COM1";
    QTest::newRow("one byte short") << SettingsHeader + '\x05' + Magic.left(3) << 1 << "COM1";
    QTest::newRow("empty") << QByteArray("") << 1 << "COM1";
    QTest::newRow("missing") << QByteArray() << 1 << "COM1";
}

void TestVoiceFiles::loadSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(int, result);
    QFETCH(QString, port);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(VoiceSettingsFileName);
    if (!file.isNull())
        WriteAll(path, file);
    QString loaded = QStringLiteral("COM1");
    QCOMPARE(LoadVoiceSettings(path, loaded), result);
    QCOMPARE(loaded, port);
}

QTEST_GUILESS_MAIN(TestVoiceFiles)
#include "tst_voicefiles.moc"
