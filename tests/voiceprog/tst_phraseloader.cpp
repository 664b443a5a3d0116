// The PhraseLoader program as a process: it holds the one-copy lock while it
// runs, a closing signal ends it through the window's close, which saves the
// settings and the working copy, and a second copy's warning ends on one too.
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
#include <memory>

namespace {

constexpr int Generous = 30000;

// A working directory, a home and a runtime directory of its own (so the lock
// is this test's), and a port table that names the start-up port after
// nothing, so no real port is touched.
struct Run {
    QTemporaryDir work;
    QTemporaryDir home;
    QTemporaryDir runtime;

    Run()
    {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile tableFile(Table());
        if (tableFile.open(QIODevice::WriteOnly))
            tableFile.write("COM2 " + work.filePath(QStringLiteral("no-such-device")).toUtf8() + "\n");
    }

    QString Table() const { return work.filePath(QStringLiteral("serialcomm")); }

    std::unique_ptr<QProcess> Start() const
    {
        auto program = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QRV_SERIALCOMM"), Table());
        program->setProcessEnvironment(env);
        program->setWorkingDirectory(work.path());
        program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program->start(QStringLiteral(PHRASELOADER_PATH), QStringList());
        return program;
    }

    QString LockPath() const
    {
        return QDir(runtime.path()).filePath(QFileInfo(SingleInstance::LockFilePath(VoiceProgramTitle)).fileName());
    }
};

// Ends a copy that a failed check left running.
struct Reaper {
    QProcess &process;
    ~Reaper()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(Generous);
        }
    }
};

} // namespace

class TstPhraseLoader : public QObject {
    Q_OBJECT
private slots:
    void closingSignalSavesAndEnds_data();
    void closingSignalSavesAndEnds();
    void refusedSecondCopyEndsOnSignal();
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
    Run run;
    QVERIFY(run.work.isValid() && run.home.isValid() && run.runtime.isValid());
    const auto program = run.Start();
    const Reaper reaper{*program};
    QVERIFY(program->waitForStarted(Generous));

    // The lock is taken before the signals could be lost.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(run.LockPath()), Generous);
    {
        qputenv("XDG_RUNTIME_DIR", run.runtime.path().toLocal8Bit());
        SingleInstance second(VoiceProgramTitle);
        qunsetenv("XDG_RUNTIME_DIR");
        QVERIFY(!second.IsFirst());
    }

    QVERIFY(::kill(pid_t(program->processId()), signal) == 0);
    QVERIFY(program->waitForFinished(Generous));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 0);

    QFile settings(run.work.filePath(QLatin1String(VoiceSettingsFileName)));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), QByteArray("[PhraseLoaderProgramCfg]\x02\x12\xB9\xF5\x58", 29));
    QCOMPARE(QFileInfo(run.work.filePath(QLatin1String(VoiceWorkingCopyName))).size(), VoiceFileSize);
}

// The second copy shows its warning (a real box: this platform shows it to
// nobody, so nobody answers it) until a closing signal ends it.
void TstPhraseLoader::refusedSecondCopyEndsOnSignal()
{
    Run run;
    QVERIFY(run.work.isValid() && run.home.isValid() && run.runtime.isValid());
    const auto first = run.Start();
    const Reaper firstReaper{*first};
    QVERIFY(first->waitForStarted(Generous));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(run.LockPath()), Generous);

    const auto second = run.Start();
    const Reaper secondReaper{*second};
    QVERIFY(second->waitForStarted(Generous));
    QVERIFY(!second->waitForFinished(500)); // the box waits for an answer
    QVERIFY(::kill(pid_t(second->processId()), SIGTERM) == 0);
    QVERIFY(second->waitForFinished(Generous));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);

    QVERIFY(::kill(pid_t(first->processId()), SIGTERM) == 0);
    QVERIFY(first->waitForFinished(Generous));
    QCOMPARE(first->exitCode(), 0);
}

QTEST_GUILESS_MAIN(TstPhraseLoader)
#include "tst_phraseloader.moc"
