#pragma once
// The language file "lng.txt": a Windows-1251 text of 413 lines whose line n
// always replaces the same text of the main window. It is read once at
// start-up; a missing or malformed file changes nothing.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

class TForm1;

inline constexpr int LanguageFileLineCount = 413;
inline constexpr char LanguageFileHeader[] = "// QRV Language file - do not change this line!";
inline constexpr char LanguageFileName[] = "lng.txt";

// The lines of a text: CR LF, CR or LF end a line; a break after the last
// line adds no empty line.
QStringList SplitLanguageLines(QByteArrayView bytes);

// A real file is a few tens of kilobytes.
inline constexpr qint64 MaxLanguageFileSize = 1024 * 1024;

// The lines of an acceptable file (413 lines, line 0 the header); none when
// the file is missing or not acceptable. Throws std::runtime_error when the
// file exists but cannot be read, is no regular file or is larger than
// MaxLanguageFileSize.
std::optional<QStringList> ReadLanguageFile(const QString &fileName);

// Puts accepted lines into the window's captions, items, tree and texts.
void ApplyLanguageLines(TForm1 &form, const QStringList &lines);

// Reads fileName and applies it when accepted. A file that cannot be read
// goes to the application's exception report and changes nothing.
void ApplyLanguageFileTo(TForm1 &form, const QString &fileName = QLatin1String(LanguageFileName));

// What the line table names but the window lacks, or has of a kind the
// line's rule cannot change: "name: reason", one entry each.
QStringList LanguageTargetFaults(const TForm1 &form);
