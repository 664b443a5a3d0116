// The directory prefix both programs name their working files with.
#include "common/ProgramStart.h"

#include <QTest>

class TstProgramStart : public QObject {
    Q_OBJECT
private slots:
    void directoryPrefix_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("a folder") << "/home/tech/qrv" << "/home/tech/qrv/";
        QTest::newRow("the root: one slash, not two") << "/" << "/";
        QTest::newRow("unreadable") << "" << "";
    }
    void directoryPrefix()
    {
        QFETCH(QString, directory);
        QFETCH(QString, prefix);
        QCOMPARE(DirectoryPrefix(directory), prefix);
    }
};

QTEST_GUILESS_MAIN(TstProgramStart)
#include "tst_programstart.moc"
