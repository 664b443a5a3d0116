#pragma once
// The language file "Vcelng.txt": 175 Windows-1251 lines, each standing for
// one text of the window by its line number. It is applied whole or not at
// all; a missing, unreadable or malformed file changes nothing.
#include "common/LanguageFile.h"
#include "voiceprog/VoiceTexts.h"

#include <QString>
#include <QStringList>

class QWidget;

inline const QString VoiceLanguageFileName = QStringLiteral("Vcelng.txt");
inline constexpr char VoiceLanguageMarker[] = "// VORAZE Language file - do not change this line!";
constexpr int VoiceLanguageLineCount = 175;
inline constexpr language::Format VoiceLanguageFormat{VoiceLanguageLineCount, VoiceLanguageMarker,
                                                       language::LineEnds::CrLfOrLf,
                                                       language::Unreadable::Ignored, std::nullopt};

// Reads path and puts an accepted file into the window's controls, its texts
// and its status messages.
void ApplyVoiceLanguageFile(QWidget &window, VoiceTexts &texts, QStringList &statusMessages,
                            const QString &path = VoiceLanguageFileName);

// What the line table names but the window lacks, or has of a kind the
// line's rule cannot change: "name: reason", one entry each.
QStringList VoiceLanguageTargetFaults(const QWidget &window);
