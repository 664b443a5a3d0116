// QRV_CONF as a process: one copy per user, and closing on a signal saves
// the settings and the working copy.
#include "configurator/core/ConfigFiles.h"
#include "simulator/ScopedPortTable.h"
#include "tests/support/ProgramEnvironment.h"
#include "tests/support/SaveFailures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

namespace {

constexpr int Generous = 60000;

// A working directory, a home and a runtime directory of its own (so the lock
// is this test's) and a port table in which COM1 is a device that does not exist.
struct Run {
    QTemporaryDir work;
    QTemporaryDir home;
    QTemporaryDir runtime;
    QTemporaryDir tableDir;

    Run()
    {
        qrvsim::setPortTableEntry(Table(), QStringLiteral("COM1"), work.filePath(QStringLiteral("no-such-tty")));
    }

    QString Table() const { return tableDir.filePath(QStringLiteral("serialcomm")); }

    // fileSizeLimit: the largest file the program may write, 0 for no limit.
    std::unique_ptr<QProcess> Start(rlim_t fileSizeLimit = 0) const
    {
        auto process = std::make_unique<QProcess>();
        if (fileSizeLimit != 0)
            savefailures::LimitFileSize(*process, fileSizeLimit);
        process->setProcessEnvironment(ProgramEnvironment(home.path(), runtime.path(), Table()));
        process->setWorkingDirectory(work.path());
        process->start(QStringLiteral(QRV_CONF_PATH), {});
        return process;
    }

    // The running copy holds its lock from before its window is built.
    bool Locked() const { return !QDir(runtime.path()).entryList({QStringLiteral("*.lock")}, QDir::Files).isEmpty(); }
};

} // namespace

class TstMainWindowProcess : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsRefused();
    void closingSignalSaves_data();
    void closingSignalSaves();
    void saveBeyondTheFileSizeLimitKeepsTheOldCopy();
};

void TstMainWindowProcess::secondCopyIsRefused()
{
    Run run;
    const auto first = run.Start();
    QVERIFY(first->waitForStarted(Generous));
    QTRY_VERIFY_WITH_TIMEOUT(run.Locked(), Generous);

    const auto second = run.Start();
    QVERIFY(second->waitForFinished(Generous));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY2(QString::fromUtf8(second->readAllStandardError()).contains(QStringLiteral("Программа уже запущена")),
             "no warning shown");
    QCOMPARE(first->state(), QProcess::Running);

    ::kill(pid_t(first->processId()), SIGTERM);
    QVERIFY(first->waitForFinished(Generous));
    QCOMPARE(first->exitCode(), 0);
    QVERIFY(!run.Locked());
}

void TstMainWindowProcess::closingSignalSaves_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TstMainWindowProcess::closingSignalSaves()
{
    QFETCH(int, signal);
    Run run;
    const auto process = run.Start();
    QVERIFY(process->waitForStarted(Generous));
    QTRY_VERIFY_WITH_TIMEOUT(run.Locked(), Generous);

    // Sent as early as possible: one that comes during start-up is held until the window can take it.
    ::kill(pid_t(process->processId()), signal);
    QVERIFY(process->waitForFinished(Generous));
    QCOMPARE(process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(process->exitCode(), 0);

    ConfigImage saved{};
    QCOMPARE(LoadConfigFile(run.work.filePath(QStringLiteral("default.cnt")), saved), int(frOk));
    QVERIFY(saved == DefaultImage());
    QString port;
    QCOMPARE(LoadProgramSettings(run.work.path(), port), int(frOk));
    QCOMPARE(port, QStringLiteral("COM1"));
}

// The working copy meets the file-size limit at close: the save fails like
// any other, the program ends normally and the old copy stands.
void TstMainWindowProcess::saveBeyondTheFileSizeLimitKeepsTheOldCopy()
{
    Run run;
    const QString copy = run.work.filePath(QStringLiteral("default.cnt"));
    const QByteArray old("not a configuration: the default image is used, and would be saved");
    {
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
    }
    const auto process = run.Start(4096);
    QVERIFY(process->waitForStarted(Generous));
    QTRY_VERIFY_WITH_TIMEOUT(run.Locked(), Generous);
    ::kill(pid_t(process->processId()), SIGTERM);
    QVERIFY(process->waitForFinished(Generous));
    QCOMPARE(process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(process->exitCode(), 0);

    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QStringList files = QDir(run.work.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    QCOMPARE(files, QStringList({QStringLiteral("QRVConfig.cfg"), QStringLiteral("default.cnt")}));
    QString port;
    QCOMPARE(LoadProgramSettings(run.work.path(), port), int(frOk));
}

QTEST_GUILESS_MAIN(TstMainWindowProcess)
#include "tst_mainwindow_process.moc"
