#pragma once
// The offscreen platform with one screen of a given size, for the tests of
// how windows fit a screen: the value for QT_QPA_PLATFORM, set before the
// application is made. The screen's description is written into `dir`.
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

inline QByteArray OffscreenWithScreen(const QTemporaryDir &dir, int width, int height)
{
    const QString file = dir.filePath(QStringLiteral("screen.json"));
    QFile config(file);
    if (!config.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file));
    config.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2,
                                    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                     .arg(width)
                     .arg(height)
                     .toUtf8());
    return "offscreen:configfile=" + file.toLocal8Bit();
}

// A test's main: its functions run on one screen of this size.
template <class Test>
int RunOnScreen(int width, int height, int argc, char *argv[])
{
    QTemporaryDir configDir;
    qputenv("QT_QPA_PLATFORM", OffscreenWithScreen(configDir, width, height));
    QApplication application(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
