#include "configurator/core/ConfigFiles.h"
#include "tests/support/Files.h"
#include "tests/support/SaveFailures.h"
#include "toolkit/CheckByte.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/stat.h>

namespace {

// An edited image with a password, as the window would hold it.
ConfigImage EditedImage()
{
    ConfigImage image = DefaultImage();
    View(image).Set(GeneralFields::SystemPassword, u"secret12");
    RecordView<InputRecord>(image, 3).Set(InputRecord::SensName, u"Дверь");
    View(image).Set(ClockFields::TimeZone, -3);
    return image;
}

// What a file keeps of an image: everything but the password.
ConfigImage WithoutPassword(ConfigImage image)
{
    std::fill(image.begin() + 20, image.begin() + 29, quint8(0));
    return image;
}

using Mutation = std::function<void(QByteArray &)>;

// A sentinel image that a failed load must leave as it is.
ConfigImage Sentinel()
{
    ConfigImage image;
    image.fill(0x5A);
    return image;
}

} // namespace

Q_DECLARE_METATYPE(Mutation)

class TstConfigFiles : public QObject {
    Q_OBJECT
private slots:
    void roundTripDropsThePasswordOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.cnt");
        const ConfigImage image = EditedImage();
        const ConfigImage before = image;
        QCOMPARE(SaveConfigFile(path, image), int(frOk));
        QVERIFY(image == before); // the window's own password stays

        const QByteArray file = ReadAll(path);
        QCOMPARE(file.size(), 5328);
        QCOMPARE(file.left(35), QByteArray("[QRVControllerConfiguration_v01.02]"));
        QCOMPARE(file.mid(35 + 20, 9), QByteArray(9, '\0'));

        ConfigImage loaded = Sentinel();
        QCOMPARE(LoadConfigFile(path, loaded), int(frOk));
        QVERIFY(loaded == WithoutPassword(image));
        QCOMPARE(RecordView<InputRecord>(loaded, 3).Get(InputRecord::SensName), QStringLiteral("Дверь"));
    }

    void checkByteIsTheNegatedXor()
    {
        ConfigImage zero{};
        QCOMPARE(CheckByte(zero), quint8(0x00));
        zero[17] = 0x01;
        zero[4000] = 0x10;
        QCOMPARE(CheckByte(zero), quint8(0xEF)); // -(0x11)
        QTemporaryDir dir;
        const QString path = dir.filePath("z.cnt");
        QCOMPARE(SaveConfigFile(path, zero), int(frOk));
        QCOMPARE(quint8(ReadAll(path).back()), quint8(0xEF));
    }

    void loadResults_data()
    {
        QTest::addColumn<Mutation>("mutate");
        QTest::addColumn<int>("expected");
        const auto set = [](int at, char c) { return Mutation([=](QByteArray &f) { f[at] = c; }); };
        QTest::newRow("good file") << Mutation([](QByteArray &) {}) << int(frOk);
        QTest::newRow("longer file") << Mutation([](QByteArray &f) { f += "extra bytes"; }) << int(frOk);
        QTest::newRow("empty") << Mutation([](QByteArray &f) { f.clear(); }) << int(frFormatError);
        QTest::newRow("header cut") << Mutation([](QByteArray &f) { f.truncate(20); }) << int(frFormatError);
        QTest::newRow("header only") << Mutation([](QByteArray &f) { f.truncate(35); }) << int(frFormatError);
        QTest::newRow("image cut") << Mutation([](QByteArray &f) { f.truncate(1000); }) << int(frFormatError);
        QTest::newRow("check byte missing") << Mutation([](QByteArray &f) { f.chop(1); }) << int(frFormatError);
        QTest::newRow("image byte changed") << Mutation([](QByteArray &f) { f[35 + 3000] ^= 0x01; })
                                            << int(frFormatError);
        QTest::newRow("check byte changed") << Mutation([](QByteArray &f) { f[5327] ^= 0x80; })
                                            << int(frFormatError);
        QTest::newRow("version v01.01") << set(33, '1') << int(frVersionMismatch);
        QTest::newRow("version v11.02") << set(29, '1') << int(frVersionMismatch);
        QTest::newRow("closing bracket") << set(34, ')') << int(frVersionMismatch);
        QTest::newRow("foreign header") << set(5, 'X') << int(frFormatError);
        QTest::newRow("foreign header, last fixed character") << set(28, 'V') << int(frFormatError);
    }
    void loadResults()
    {
        QFETCH(Mutation, mutate);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("m.cnt");
        QCOMPARE(SaveConfigFile(path, EditedImage()), int(frOk));
        QByteArray file = ReadAll(path);
        mutate(file);
        WriteAll(path, file);

        ConfigImage image = Sentinel();
        QCOMPARE(LoadConfigFile(path, image), expected);
        if (expected == frOk)
            QVERIFY(image == WithoutPassword(EditedImage()));
        else
            QVERIFY(image == Sentinel());
    }

    void loadFailsToOpen()
    {
        QTemporaryDir dir;
        ConfigImage image = Sentinel();
        QCOMPARE(LoadConfigFile(dir.filePath("missing.cnt"), image), int(frIoError));
        QCOMPARE(LoadConfigFile(dir.path(), image), int(frIoError)); // a directory
        QVERIFY(image == Sentinel());
    }

    void readOnlyFileLoads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ro.cnt");
        QCOMPARE(SaveConfigFile(path, DefaultImage()), int(frOk));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        ConfigImage image = Sentinel();
        QCOMPARE(LoadConfigFile(path, image), int(frOk));
        QVERIFY(image == DefaultImage());
    }

    void foreignVersionIsSavedUnderItsOwnHeaderAndRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.cnt");
        ConfigImage image = DefaultImage();
        View(image).Set(HeaderFields::VersionText, u"v.01.01");
        QCOMPARE(SaveConfigFile(path, image), int(frOk));
        QCOMPARE(ReadAll(path).left(35), QByteArray("[QRVControllerConfiguration_v01.01]"));
        ConfigImage loaded = Sentinel();
        QCOMPARE(LoadConfigFile(path, loaded), int(frVersionMismatch));
        QVERIFY(loaded == Sentinel());
    }

    void saveReplacesAnExistingFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("0640, as a technician shares the working copy") << 0640;
        QTest::newRow("0604") << 0604;
        QTest::newRow("0600") << 0600;
    }
    // The new file takes the old one's place and its permission bits.
    void saveReplacesAnExistingFile()
    {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1StringView(WorkingCopyName));
        WriteAll(path, QByteArray(9000, 'x'));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
        QCOMPARE(SaveConfigFile(path, DefaultImage()), int(frOk));
        QCOMPARE(ReadAll(path).size(), 5328);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QLatin1StringView(WorkingCopyName)});
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
    }

    void saveFailures_data()
    {
        savefailures::AddColumns();
        savefailures::AddRows("configuration file", 0);
        savefailures::AddRows("settings file", 1);
    }
    void saveFailures()
    {
        QFETCH(int, writer);
        QFETCH(int, which);
        const ConfigImage image = EditedImage();
        const QString name = QLatin1StringView(writer == 0 ? WorkingCopyName : SettingsFileName);
        const savefailures::Save save = [&](const QString &folder) {
            return writer == 0 ? SaveConfigFile(QDir(folder).filePath(name), image)
                               : SaveProgramSettings(folder, QStringLiteral("COM5"));
        };
        QTemporaryDir clean;
        QCOMPARE(save(clean.path()), int(frOk));
        savefailures::Run(savefailures::Case(which), save, name, ReadAll(clean.filePath(name)));
    }

    void failedCommitKeepsTheOldFileWhole()
    {
        QTemporaryDir dir;
        // No temporary file can be named next to a name this long, so the
        // write fails after the target exists.
        const QString path = dir.filePath(QString(250, u'c'));
        const QByteArray old("the old configuration");
        WriteAll(path, old);
        QCOMPARE(SaveConfigFile(path, DefaultImage()), int(frIoError));
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

        QCOMPARE(SaveConfigFile(dir.filePath("no/such/dir.cnt"), DefaultImage()), int(frIoError));
    }

    void settingsFileLayout()
    {
        QTemporaryDir dir;
        QCOMPARE(SaveProgramSettings(dir.path(), "COM12"), int(frOk));
        const QByteArray file = ReadAll(dir.filePath("QRVConfig.cfg"));
        QCOMPARE(file, QByteArray("[QRVProgCfg]COM12\0\0\0\x86\x42\xB8\x20", 24));
        QString port = "COM1";
        QCOMPARE(LoadProgramSettings(dir.path(), port), int(frOk));
        QCOMPARE(port, QStringLiteral("COM12"));
    }

    void longPortNameIsCutToSeven()
    {
        QTemporaryDir dir;
        QCOMPARE(SaveProgramSettings(dir.path(), "COM12345678"), int(frOk));
        QCOMPARE(ReadAll(dir.filePath("QRVConfig.cfg")).mid(12, 8), QByteArray("COM1234\0", 8));
        QString port;
        QCOMPARE(LoadProgramSettings(dir.path(), port), int(frOk));
        QCOMPARE(port, QStringLiteral("COM1234"));
    }

    void loadSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("port");
        const QByteArray magic("\x86\x42\xB8\x20", 4);
        const QByteArray header("[QRVProgCfg]");
        const auto field = [](const char *name) { return QByteArray(name).leftJustified(8, '\0', true); };
        QTest::newRow("COM12") << header + field("COM12") + magic << int(frOk) << "COM12";
        QTest::newRow("letters in any order") << header + field("xMOC") + magic << int(frOk) << "xMOC";
        QTest::newRow("eight characters, no NUL") << header + QByteArray("COMABCDE") + magic << int(frOk)
                                                  << "COMABCDE";
        QTest::newRow("longer file") << header + field("COM3") + magic + "tail" << int(frOk) << "COM3";
        QTest::newRow("LPT1") << header + field("LPT1") + magic << int(frIoError) << "before";
        QTest::newRow("lower-case com") << header + field("com3") + magic << int(frIoError) << "before";
        QTest::newRow("empty name") << header + field("") + magic << int(frIoError) << "before";
        QTest::newRow("wrong header") << QByteArray("[QRVProgCfX]") + field("COM3") + magic << int(frIoError)
                                      << "before";
        QTest::newRow("ends in the port field") << header + "COM" << int(frIoError) << "before";
        // The port is taken over before the magic number is read.
        QTest::newRow("wrong magic") << header + field("COM5") + QByteArray("\x86\x42\xB8\x21", 4)
                                     << int(frIoError) << "COM5";
        QTest::newRow("magic cut") << header + field("COM5") + magic.left(3) << int(frIoError) << "COM5";
        QTest::newRow("empty file") << QByteArray() << int(frIoError) << "before";
    }
    void loadSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, expected);
        QFETCH(QString, port);
        QTemporaryDir dir;
        WriteAll(dir.filePath("QRVConfig.cfg"), file);
        QString got = "before";
        QCOMPARE(LoadProgramSettings(dir.path(), got), expected);
        QCOMPARE(got, port);
    }

    void settingsFailures()
    {
        QTemporaryDir dir;
        QString port = "before";
        QCOMPARE(LoadProgramSettings(dir.path(), port), int(frIoError)); // no file
        QCOMPARE(port, QStringLiteral("before"));
        QCOMPARE(SaveProgramSettings(dir.filePath("missing"), "COM1"), int(frIoError));
    }
};

QTEST_GUILESS_MAIN(TstConfigFiles)
#include "tst_configfiles.moc"
