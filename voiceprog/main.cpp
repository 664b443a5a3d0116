// PhraseLoader: one running copy per user, the main window until it closes.
#include "toolkit/widgets/CloseOnSignal.h"
#include "toolkit/widgets/Desktop.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/ExceptionReport.h"
#include "toolkit/GuiQueue.h"
#include "voiceprog/Mainform.h"
#include "common/ProgramIcons.h"
#include "common/ProgramStart.h"
#include "link/Readdata.h"
#include "toolkit/widgets/SingleInstance.h"
#include "voiceprog/VoiceTexts.h"

#include <QApplication>

#include <csignal>

int main(int argc, char **argv)
{
    // A save past the file-size limit then fails with EFBIG like any other
    // failed write, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    CloseOnSignal::HoldSignals();
    TApplication app(argc, argv);
    SetUpDesktop(VoiceProgrammerIcon());
    SingleInstance lock(VoiceProgramTitle);
    if (!lock.IsFirst()) {
        // The box ends on a closing signal too.
        const CloseOnSignal quitOnSignal(nullptr);
        MessageBox(nullptr, QStringLiteral("Программа уже запущена"), VoiceProgramTitle, MB_OK | MB_ICONWARNING);
        return 0;
    }
    QApplication::setApplicationName(VoiceProgramTitle);
    SetExceptionReporter([](const QString &message) {
        gui::PostAfterWaits([message] { MessageBox(nullptr, message, VoiceProgramTitle, MB_OK | MB_ICONERROR); });
    });
    SelectMemoryAreaTable(MemoryAreaTable::VoiceProgrammer);
    try {
        TForm1 window;
        CloseOnSignal closer(&window);
        window.show();
        return app.exec();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
        return 1;
    }
}
