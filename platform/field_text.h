#pragma once

#include <QString>

#include <optional>

namespace kadrix {

// The rules of the window's text fields: numbers typed in them, folder
// texts, and the parts of the paths they hold.

// Reads a signed 32-bit integer the way the numeric fields expect: leading
// blanks are skipped, an optional "+" or "-" follows, then decimal digits up to
// the end of the text. Without a sign, hexadecimal digits are also read after
// "$", "x", "X", "0x" or "0X". Anything else (an empty or all-blank text, a
// trailing blank, a value outside the 32-bit range) gives nothing.
std::optional<qint32> ParseInteger(const QString& text);

// The text with leading and trailing characters of code 32 or below removed.
QString trimControls(const QString& text);

// How many characters trimControls() removes from the front of the text.
int leadingControlCount(const QString& text);

// A folder text trimmed of blanks and control characters and ending in "/".
// An empty (or all-blank) text stays empty.
QString normaliseFolder(const QString& text);

// Everything after the last "/" of a path (the whole text when there is none).
QString fileNamePart(const QString& path);

// Everything up to and including the last "/" of a path ("" when none).
QString folderPart(const QString& path);

} // namespace kadrix
