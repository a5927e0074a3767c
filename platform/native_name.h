#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kadrix {

// File names as the file system holds them: bytes, most often UTF-8, but not
// always (Latin-1 names of old archives and Windows copies). Qt decodes a
// name's invalid bytes to U+FFFD, so two such names become one that opens
// neither file. These functions keep every byte instead: a byte that is not
// part of valid UTF-8 becomes the lone surrogate U+DC00 + byte (as Python's
// "surrogateescape" does), and goes back to the same byte.

// The name of `bytes` as text, every byte kept.
QString nameFromNative(const QByteArray& bytes);
// The bytes of a name made by nameFromNative() (plain UTF-8 for any other).
QByteArray nativeName(const QString& name);
// The byte a character stands for, when it is the escape of one.
std::optional<unsigned char> escapedByte(QChar c);
// Whether the name holds bytes that are not UTF-8.
bool hasEscapedBytes(const QString& name);
// The name with U+FFFD for each byte that is not UTF-8, for JSON and other
// Unicode texts.
QString unicodeName(const QString& name);

} // namespace kadrix
