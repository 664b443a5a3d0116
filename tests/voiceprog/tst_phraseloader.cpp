// The PhraseLoader program as a process: it holds the one-copy lock while it
// runs, and a closing signal ends it through the window's close, which saves
// the settings and the working copy.
#include "SingleInstance.h"
#include "VoiceFiles.h"
#include "VoiceTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TstPhraseLoader : public QObject {
    Q_OBJECT
private slots:
    void closingSignalSavesAndEnds_data();
    void closingSignalSavesAndEnds();
};

void TstPhraseLoader::closingSignalSavesAndEnds_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TstPhraseLoader::closingSignalSavesAndEnds()
{
    QFETCH(int, signal);
    QTemporaryDir work;
    QTemporaryDir runtime;
    QVERIFY(work.isValid() && runtime.isValid());
    QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // A port table that names the start-up port after nothing, so no real port is touched.
    const QString table = work.filePath(QStringLiteral("serialcomm"));
    QFile tableFile(table);
    QVERIFY(tableFile.open(QIODevice::WriteOnly));
    tableFile.write("COM2 " + work.filePath(QStringLiteral("no-such-device")).toUtf8() + "\n");
    tableFile.close();

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QRV_SERIALCOMM"), table);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(work.path());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(PHRASELOADER_PATH), QStringList());
    QVERIFY(program.waitForStarted(30000));

    // The lock is taken before the signals could be lost.
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString lockPath = SingleInstance::LockFilePath(VoiceProgramTitle);
    QVERIFY(lockPath.startsWith(runtime.path()));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockPath), 30000);
    {
        SingleInstance second(VoiceProgramTitle);
        QVERIFY(!second.IsFirst());
    }

    QVERIFY(::kill(pid_t(program.processId()), signal) == 0);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    QFile settings(work.filePath(QLatin1String(VoiceSettingsFileName)));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), QByteArray("[PhraseLoaderProgramCfg]\x02\x12\xB9\xF5\x58", 29));
    QCOMPARE(QFileInfo(work.filePath(QLatin1String(VoiceWorkingCopyName))).size(), VoiceFileSize);
    qunsetenv("XDG_RUNTIME_DIR");
}

QTEST_GUILESS_MAIN(TstPhraseLoader)
#include "tst_phraseloader.moc"
