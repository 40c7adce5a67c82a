#pragma once

#include <QByteArray>
#include <QString>

namespace sonvex {

// Text encodings of the files the program exchanges: UTF-8 where it is valid,
// otherwise the Windows ANSI code page 1252 (which is not Latin-1 for 0x80-0x9F).
namespace TextCodec {

// True when `bytes` is well-formed UTF-8. With `allowFourByte` false, any
// four-byte sequence (a character outside the BMP) counts as invalid.
bool isValidUtf8(const QByteArray& bytes, bool allowFourByte = true);
bool hasUtf8Bom(const QByteArray& bytes);

QString fromWindows1252(const QByteArray& bytes);
// Characters that code page 1252 cannot hold become '?' (and `lossless` false).
QByteArray toWindows1252(const QString& text, bool* lossless = nullptr);

// UTF-8 when valid (a BOM is dropped), else Windows-1252.
QString decodeText(const QByteArray& bytes, bool* wasUtf8 = nullptr);

} // namespace TextCodec
} // namespace sonvex
