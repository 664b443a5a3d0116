#pragma once
// The voice programmer's own texts: the window title, the 98 event names,
// the words and captions the window shows, and the device versions it serves.
#include <QString>
#include <QStringList>

// The title that marks a running copy of the program.
inline const QString VoiceProgramTitle = QStringLiteral("Программатор голосовых сообщений");

// The single texts the language file may replace, read where they are shown.
struct VoiceTexts {
    QString FreeWord;
    QString UsedWord;
    QString SecondsWord;
    QString PortDialogCaption;
    QString PortOpenFailureText;
    QString AboutCaption;

    static VoiceTexts Defaults();
};

// The events the controller speaks a message for, by slot number.
QStringList BuiltInVoiceEvents();

// The controller editions whose voice memory this program serves, as the
// version text (modification + "." + firmware) reads after identification.
const QStringList &SupportedVersions();
