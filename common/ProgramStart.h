#pragma once
// What both programs' main() sets up before their window. Each keeps its
// own order of the steps.
#include <QApplication>
#include <QString>

class SingleInstance;

// The first thing in main(), before the application object starts any thread.
void PrepareProcess();

// An exception out of a handler is reported, and the program goes on.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override;
};

// Exceptions are reported in a box captioned title, shown once no wait
// runs: input to a box during a wait would be dropped.
void ReportExceptionsInBoxes(const QString &title);

// False when another copy runs; the user has been told so.
bool IsOnlyCopy(const SingleInstance &instance, const QString &title);

// The directory a program keeps its files in, as the prefix of their names:
// directory followed by one "/" ("/" stays "/"); "" for "" (unreadable).
QString DirectoryPrefix(const QString &directory);
