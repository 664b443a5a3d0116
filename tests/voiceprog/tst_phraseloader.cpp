// The PhraseLoader program as a process: it holds the one-copy lock while it
// runs, a closing signal ends it through the window's close, which saves the
// settings and the working copy, and a second copy's warning ends on one too.
#include "tests/support/ProgramEnvironment.h"
#include "tests/support/SaveFailures.h"
#include "toolkit/widgets/SingleInstance.h"
#include "voiceprog/core/VoiceFiles.h"
#include "voiceprog/VoiceTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

class TstPhraseLoader : public QObject {
    Q_OBJECT
private slots:
    void closingSignalSavesAndEnds_data();
    void closingSignalSavesAndEnds();
    void saveBeyondTheFileSizeLimitKeepsTheOldCopy();
    void refusedSecondCopyEndsOnSignal();
};

void TstPhraseLoader::closingSignalSavesAndEnds_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

namespace {

constexpr int Generous = 30000;

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

// A run of the program in folders of its own, with a port table that names
// the start-up port after nothing, so no real port is touched.
struct Run {
    QTemporaryDir work;
    QTemporaryDir home;
    QTemporaryDir runtime;
    std::unique_ptr<QProcess> program;
    std::unique_ptr<Reaper> reaper;

    // A started copy of the program; fileSizeLimit: the largest file it may
    // write, 0 for no limit.
    std::unique_ptr<QProcess> Launch(rlim_t fileSizeLimit = 0) const
    {
        auto process = std::make_unique<QProcess>();
        [&] {
            QVERIFY(work.isValid() && home.isValid() && runtime.isValid());
            QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            const QString table = home.filePath(QStringLiteral("serialcomm"));
            QFile tableFile(table);
            QVERIFY(tableFile.open(QIODevice::WriteOnly));
            tableFile.write("COM2 " + work.filePath(QStringLiteral("no-such-device")).toUtf8() + "\n");
            tableFile.close();

            if (fileSizeLimit != 0)
                savefailures::LimitFileSize(*process, fileSizeLimit);
            process->setProcessEnvironment(ProgramEnvironment(home.path(), runtime.path(), table));
            process->setWorkingDirectory(work.path());
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(QStringLiteral(PHRASELOADER_PATH), QStringList());
            QVERIFY(process->waitForStarted(Generous));
        }();
        return process;
    }

    void Start(rlim_t fileSizeLimit = 0)
    {
        program = Launch(fileSizeLimit);
        reaper.reset(new Reaper{*program});
    }

    QString LockPath() const
    {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        const QString path = SingleInstance::LockFilePath(VoiceProgramTitle);
        qunsetenv("XDG_RUNTIME_DIR");
        return path;
    }

    // Ends the program with the signal once it holds its lock, which it
    // takes before the signals could be lost.
    void Close(int signal)
    {
        const QString lockPath = LockPath();
        QVERIFY(lockPath.startsWith(runtime.path()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockPath), Generous);
        QVERIFY(::kill(pid_t(program->processId()), signal) == 0);
        QVERIFY(program->waitForFinished(Generous));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
    }

    QByteArray Settings() const
    {
        QFile settings(work.filePath(QLatin1String(VoiceSettingsFileName)));
        return settings.open(QIODevice::ReadOnly) ? settings.readAll() : QByteArray();
    }
};

const QByteArray SavedSettings("[PhraseLoaderProgramCfg]\x02\x12\xB9\xF5\x58", 29);

} // namespace

void TstPhraseLoader::closingSignalSavesAndEnds()
{
    QFETCH(int, signal);
    Run run;
    run.Start();
    const QString lockPath = run.LockPath();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockPath), Generous);
    {
        qputenv("XDG_RUNTIME_DIR", run.runtime.path().toLocal8Bit());
        SingleInstance second(VoiceProgramTitle);
        qunsetenv("XDG_RUNTIME_DIR");
        QVERIFY(!second.IsFirst());
    }
    run.Close(signal);
    QCOMPARE(run.Settings(), SavedSettings);
    QCOMPARE(QFileInfo(run.work.filePath(QLatin1String(VoiceWorkingCopyName))).size(), VoiceFileSize);
}

// The working copy meets the file-size limit at close: the save fails like
// any other, the program ends normally and the old copy stands.
void TstPhraseLoader::saveBeyondTheFileSizeLimitKeepsTheOldCopy()
{
    Run run;
    const QString copy = run.work.filePath(QLatin1String(VoiceWorkingCopyName));
    const QByteArray old("not a voice file: the program starts with an empty bank, and would save it");
    {
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
    }
    run.Start(64 * 1024);
    run.Close(SIGTERM);
    QCOMPARE(run.Settings(), SavedSettings);
    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
}

// The second copy shows its warning (a real box: this platform shows it to
// nobody, so nobody answers it) until a closing signal ends it.
void TstPhraseLoader::refusedSecondCopyEndsOnSignal()
{
    Run run;
    run.Start();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(run.LockPath()), Generous);

    const auto second = run.Launch();
    const Reaper secondReaper{*second};
    QVERIFY(!second->waitForFinished(500)); // the box waits for an answer
    QVERIFY(::kill(pid_t(second->processId()), SIGTERM) == 0);
    QVERIFY(second->waitForFinished(Generous));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(run.program->state(), QProcess::Running);

    run.Close(SIGTERM);
}

QTEST_GUILESS_MAIN(TstPhraseLoader)
#include "tst_phraseloader.moc"
