#pragma once

#include <QString>
#include <QStringList>

namespace sonvex {

// Text data files: read as UTF-8 when the bytes are valid UTF-8, otherwise as
// Windows-1252; written with CR LF after every line, atomically.
namespace TextFile {

struct Content
{
    QStringList lines;
    bool utf8 = false; // the bytes were UTF-8 (with non-ASCII characters or a BOM)
};

bool read(const QString& path, Content* out, QString* error);
// Writes in Windows-1252 when every character fits and `preferUtf8` is false,
// else in UTF-8. A failure leaves the previous file as it was.
bool write(const QString& path, const QStringList& lines, bool preferUtf8, QString* error);
// True when the first line of the file begins with "<?xml".
bool startsWithXml(const QString& path);

} // namespace TextFile
} // namespace sonvex
