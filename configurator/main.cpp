// QRV_CONF, the configurator.
#include "toolkit/widgets/CloseOnSignal.h"
#include "toolkit/widgets/Desktop.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/ExceptionReport.h"
#include "configurator/Main.h"
#include "common/ProgramIcons.h"
#include "common/ProgramStart.h"
#include "link/Readdata.h"
#include "toolkit/widgets/SingleInstance.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>

namespace {

const QString ApplicationTitle = QStringLiteral("QRV Configurator");

// On a platform that shows nothing (offscreen, minimal) nobody could answer
// a box: its text goes to the error output and the box takes its safe answer.
class UnseenDialogs : public IDialogProvider {
public:
    int ShowMessageBox(QWidget *, const QString &text, const QString &caption, unsigned flags) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
        switch (flags & 0x0F) {
        case MB_OK: return IDOK;
        case MB_YESNO: return IDNO;
        default: return IDCANCEL;
        }
    }
    bool ShowFileDialog(QWidget *, TFileDialog &) override { return false; }
};

bool PlatformShowsNothing()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

int main(int argc, char *argv[])
{
    PrepareProcess();
    TApplication application(argc, argv);
    SetUpDesktop(ConfiguratorIcon());
    UnseenDialogs unseenDialogs;
    if (PlatformShowsNothing())
        SetDialogProvider(&unseenDialogs);
    ReportExceptionsInBoxes(ApplicationTitle);

    const SingleInstance instance(ApplicationTitle);
    if (!IsOnlyCopy(instance, ApplicationTitle))
        return 0;

    try {
        QApplication::setApplicationName(ApplicationTitle);
        SelectMemoryAreaTable(MemoryAreaTable::Configurator);
        TForm1 form;
        new CloseOnSignal(&form);
        form.show();
        QApplication::exec();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
    SetExceptionReporter(nullptr);
    return 0;
}
