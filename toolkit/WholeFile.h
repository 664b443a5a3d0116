#pragma once
// Files handled whole: a save that either puts every new byte on disk or
// reports failure, exact reads, and a guarded read of the optional input files.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

#include <initializer_list>

// What the programs' file functions return; the numbers are part of their
// interfaces, and each function says which of them it gives.
enum FileResult : int {
    frOk = 0,
    frIoError = 1,         // the file could not be used
    frFormatError = 2,     // its content is not in the format
    frVersionMismatch = 3, // in the format, but of another version
};

// Writes the parts, in order, as the whole content of the file at path,
// creating it or replacing a regular file (through symbolic links: the
// file a link names is written). The new content goes into a file beside
// the target that replaces it only once it is whole on disk; where the
// folder allows no new file, an existing file is written in place. Anything
// that is not a regular file (a directory, device node, FIFO, socket) and a
// file the caller may not write are refused and left alone. frOk only when
// the file holds exactly the parts, else frIoError.
FileResult SaveWholeFile(const QString &path, std::initializer_list<QByteArrayView> parts);

// Reads n bytes into to: frOk when they all came, frIoError on a read error,
// whenShort when the data ends first.
FileResult ReadExactly(QIODevice &device, void *to, qint64 n, FileResult whenShort = frIoError);

// An optional input file, read whole only when it is a regular file of at
// most the given size; opening it never waits (a FIFO is not opened).
struct OptionalFile {
    enum Status {
        Missing,    // no such file; a directory counts as none
        Unreadable, // anything else that is not a readable regular file within the size
        Read,
    };
    Status status = Missing;
    QByteArray bytes;
    QString error; // why it is unreadable
};
OptionalFile ReadOptionalFile(const QString &path, qint64 maxSize);
