#pragma once
// The language file "Vcelng.txt": 175 Windows-1251 lines, each standing for
// one text of the window by its line number. It is applied whole or not at all.
#include "voiceprog/VoiceTexts.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

inline const QString VoiceLanguageFileName = QStringLiteral("Vcelng.txt");
inline const QString VoiceLanguageMarker = QStringLiteral("// VORAZE Language file - do not change this line!");
constexpr int VoiceLanguageLineCount = 175;

// A real file is a few kilobytes.
constexpr qint64 MaxVoiceLanguageFileSize = 1024 * 1024;

// The lines of a file with exactly 175 lines (CR LF or LF) whose first line is
// the marker; nothing for a missing or unreadable file, one that is no
// regular file or larger than MaxVoiceLanguageFileSize, or any other content.
std::optional<QStringList> ReadVoiceLanguageFile(const QString &path);

// What one of the lines 1..34 replaces.
struct VoiceLanguageLine {
    enum Kind {
        WindowCaption, // "QRV610/QRV240 " + the line
        Caption,       // the caption of the named menu, menu item, label or button
        GroupCaption,  // the named group box: " " + the line + " "
        Hint,          // the hint of the named control
        Text,          // one of the window's own texts
    };
    int line;
    Kind kind;
    const char *name = nullptr;
    QString VoiceTexts::*text = nullptr;
};

// In file order.
std::span<const VoiceLanguageLine> VoiceLanguageWindowLines();

// The window's status messages from lines 35..54, and the event names (in
// place, by slot) from the three runs of lines that name them.
void ApplyVoiceLanguageLists(const QStringList &lines, QStringList &statusMessages, QStringList &events);
