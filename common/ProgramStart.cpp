#include "common/ProgramStart.h"
#include "toolkit/ExceptionReport.h"
#include "toolkit/GuiQueue.h"
#include "toolkit/widgets/CloseOnSignal.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/SingleInstance.h"

#include <csignal>
#include <exception>

void PrepareProcess()
{
    // A save past the file-size limit then fails with EFBIG like any other
    // failed write, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // A close request that comes during start-up waits until the window can take it.
    CloseOnSignal::HoldSignals();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ApplicationHandleException(std::current_exception());
        return false;
    }
}

void ReportExceptionsInBoxes(const QString &title)
{
    SetExceptionReporter([title](const QString &message) {
        gui::PostAfterWaits([title, message] { MessageBox(nullptr, message, title, MB_OK | MB_ICONERROR); });
    });
}

bool IsOnlyCopy(const SingleInstance &instance, const QString &title)
{
    if (instance.IsFirst())
        return true;
    // The box ends on a closing signal too.
    const CloseOnSignal quitOnSignal(nullptr);
    MessageBox(nullptr, QStringLiteral("Программа уже запущена"), title, MB_OK | MB_ICONWARNING);
    return false;
}

QString DirectoryPrefix(const QString &directory)
{
    return directory.isEmpty() || directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}
