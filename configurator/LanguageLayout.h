#pragma once
// The language file "lng.txt": a Windows-1251 text of 413 lines whose line n
// always replaces the same text of the main window. It is read once at
// start-up; a missing or malformed file changes nothing, an unreadable one
// is reported.
#include "common/LanguageFile.h"

#include <QString>
#include <QStringList>

class TForm1;

inline constexpr int LanguageFileLineCount = 413;
inline constexpr char LanguageFileHeader[] = "// QRV Language file - do not change this line!";
inline constexpr char LanguageFileName[] = "lng.txt";
inline constexpr language::Format LanguageFileFormat{LanguageFileLineCount, LanguageFileHeader,
                                                      language::LineEnds::CrLfCrOrLf,
                                                      language::Unreadable::Reported, Qt::PlainText};

// Reads fileName and puts an accepted file into the window's captions,
// items, tree and texts.
void ApplyLanguageFileTo(TForm1 &form, const QString &fileName = QLatin1String(LanguageFileName));

// What the line table names but the window lacks, or has of a kind the
// line's rule cannot change: "name: reason", one entry each.
QStringList LanguageTargetFaults(const TForm1 &form);
