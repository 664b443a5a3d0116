#pragma once
// The language file "lng.txt": a Windows-1251 text of 413 lines whose line n
// always replaces the same text of the main window. It is read once at
// start-up; a missing or malformed file changes nothing, an unreadable one
// is reported.
#include "common/LanguageFile.h"

#include <QString>
#include <QStringList>

struct FormTexts;
class QTreeWidget;
class QWidget;

inline constexpr int LanguageFileLineCount = 413;
inline constexpr char LanguageFileHeader[] = "// QRV Language file - do not change this line!";
inline constexpr char LanguageFileName[] = "lng.txt";
inline constexpr language::Format LanguageFileFormat{LanguageFileLineCount, LanguageFileHeader,
                                                      language::LineEnds::CrLfCrOrLf,
                                                      language::Unreadable::Reported, Qt::PlainText};

// What the file fills of the main window.
struct LanguageParts {
    QWidget &window; // its caption and its named controls, actions and menu items
    FormTexts &texts;
    QTreeWidget &tree; // the navigation tree, a node per page
};

// Reads fileName and puts an accepted file into the window's captions,
// items, tree and texts.
void ApplyLanguageFileTo(const LanguageParts &parts, const QString &fileName = QLatin1String(LanguageFileName));

// What the line table names but the window lacks, or has of a kind the
// line's rule cannot change, and a tree without a node for each page:
// "name: reason", one entry each.
QStringList LanguageTargetFaults(const QWidget &window, const QTreeWidget &tree);
