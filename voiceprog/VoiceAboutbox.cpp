#include "voiceprog/VoiceAboutbox.h"
#include "common/ProgramIcons.h"
#include "voiceprog/VoiceTexts.h"

#include <QLabel>
#include <QPlainTextEdit>

TAboutBox::TAboutBox(QWidget *mainWindow)
    : TAboutBoxBase(mainWindow, QStringLiteral("Ver.: 1.2.20"), VoiceProgrammerIcon(), 1.2, 300),
      mainCaption_(mainWindow != nullptr ? mainWindow->windowTitle() : QString())
{
    Label1->setText(mainCaption_);
    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(SupportedVersions().join(QLatin1Char('\n')));
    Memo1->setFixedHeight(110);
    SetDetail(Memo1);
}
