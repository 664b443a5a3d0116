#pragma once
// Windows metafile (WMF) pictures, drawn with our own reader: the common
// drawing, object and text records are played into a QPicture; records it
// does not know are passed over.
#include <QByteArray>
#include <QString>

class QPicture;

// Reads a metafile, with or without the placeable header. False for a file
// that cannot be read or is not a metafile; picture is then not changed.
bool LoadMetafilePicture(const QString &path, QPicture &picture);
bool LoadMetafilePicture(const QByteArray &data, QPicture &picture);
