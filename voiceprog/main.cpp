// PhraseLoader: one running copy per user, the main window until it closes.
#include "toolkit/widgets/CloseOnSignal.h"
#include "toolkit/widgets/Desktop.h"
#include "toolkit/ExceptionReport.h"
#include "voiceprog/Mainform.h"
#include "common/ProgramIcons.h"
#include "common/ProgramStart.h"
#include "link/Readdata.h"
#include "toolkit/widgets/SingleInstance.h"
#include "voiceprog/VoiceTexts.h"

#include <exception>

int main(int argc, char **argv)
{
    PrepareProcess();
    TApplication app(argc, argv);
    SetUpDesktop(VoiceProgrammerIcon());
    SingleInstance lock(VoiceProgramTitle);
    if (!IsOnlyCopy(lock, VoiceProgramTitle))
        return 0;
    QApplication::setApplicationName(VoiceProgramTitle);
    ReportExceptionsInBoxes(VoiceProgramTitle);
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
