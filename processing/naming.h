#pragma once

#include "field_text.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kadrix {

// The destination that "Auto" gives a source folder: its sub-folder
// "cropped", appended to the folder text as it stands (which normally ends
// in "/"), without a trailing "/".
QString automaticDestination(const QString& sourceFolder);

// The part of a file name before its first "." (the whole name without one).
QString nameBeforeFirstDot(const QString& name);

// The extension a destination item stands for, in upper case: the part from
// the last "." that follows the last "/" or ":". "*.BMP" gives ".BMP",
// "*.JPG;*.JPEG" gives ".JPEG", and an empty item gives "".
QString extensionOfItem(const QString& item);

// The item of the extension box a text names: the item itself in any letter
// case, or one of its masks with or without "*." or "." and in any letter
// case ("jpg", ".jpeg", "*.PNG" and "tif" each name their item). -1 when the
// text names none of them.
int itemNamedBy(const QStringList& items, const QString& text);

// The longest run of digits a number is written with. A file name holds at
// most 255 bytes, so a wider number could never be saved anyway; the bound
// keeps an absurd digit count from building a gigantic text.
constexpr int MaxNumberDigits = 255;

// The decimal value with leading zeros up to at least `digits` digits (the
// sign, when negative, before them). A longer number is written whole.
QString zeroPadded(qint64 value, int digits);

// The rename scheme and destination as the window's fields hold them.
struct RenameScheme {
    bool prefixOn = true;
    QString prefix;
    bool nameOn = true;
    bool suffixOn = false;
    QString suffix;
    bool numberOn = false;
    QString digits;        // count of digits, as typed
    QString start;         // first number, as typed
    QString extensionItem; // the chosen extension item, "" when none is chosen
    QString destination;   // the destination folder, as typed
};

// A result path and what the window's fields must show after building it.
struct ResultName {
    QString path;
    std::optional<QString> currentName;     // shown as the current name when that part is on
    std::optional<QString> correctedStart;  // set when the start does not parse and
    std::optional<QString> correctedDigits; // ... the digit count does not parse (write-back only)
    QString destination;                    // the normalised destination folder
};

// Builds the result path of a row: destination folder, then prefix, the
// source's name before its first ".", suffix, running number and extension.
// `entry` is the row's SourceList entry, or nothing when the list is empty.
// With `writeBack`, numeric fields that do not parse get corrected texts.
ResultName buildResultName(const RenameScheme& scheme, const std::optional<QString>& entry, int row,
                           bool writeBack);

} // namespace kadrix
