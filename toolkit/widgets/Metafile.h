#pragma once
// Windows metafile (WMF) pictures, drawn with our own reader: the common
// drawing, object and text records are played into a QPicture; records it
// does not know are passed over.
#include <QByteArray>
#include <QString>

class QPicture;

// A picture's file is a few megabytes at most.
inline constexpr qint64 MaxMetafileSize = 16 * 1024 * 1024;

// Reads a metafile, with or without the placeable header. False for a file
// that cannot be read, is no regular file, is larger than MaxMetafileSize or
// is not a metafile; picture is then not changed.
bool LoadMetafilePicture(const QString &path, QPicture &picture);
bool LoadMetafilePicture(const QByteArray &data, QPicture &picture);
