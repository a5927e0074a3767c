#pragma once

#include "bitmap.h"

#include <QString>

namespace kadrix {

class Picture;

enum class SaveOutcome {
    Saved,
    WriteFailed, // nothing written; an existing target is left as it was
};

// The file formats a result can be written in.
enum class ResultFormat { Bmp, Jpeg, Png, Tiff, WebP };

// The format a result path's extension selects, in any letter case: .JPEG
// and .JPG JPEG, .PNG PNG, .TIF and .TIFF TIFF, .WEBP WebP, and every other
// extension (or none) 24-bit BMP.
ResultFormat resultFormatOf(const QString& path);

// The result formats as a file-dialog filter, one item and mask per format
// in the order of ComboBoxDstExt: "*.BMP", "*.JPG;*.JPEG", "*.PNG",
// "*.TIF;*.TIFF", "*.WEBP".
QString resultFormatFilter();

// True when the path's extension is ".JPEG" or ".JPG" in any letter case.
bool isJpegPath(const QString& path);

// Writes `canvas` to `path` in the format its extension selects: JPEG
// through the JPEG picture type (with the options in force), PNG (lossless),
// TIFF (lossless) and WebP (at the JPEG quality) through Qt's image writers,
// an uncompressed 24-bit BMP otherwise. With JpegDefaults.KeepMetadata, a
// JPEG result carries the `source` picture's colour profile and its edited
// EXIF block, and a PNG, TIFF or WebP result its colour profile when Qt can
// read it; BMP carries neither. The bytes go to a temporary file beside the
// target that replaces it only once complete and flushed, so a failure
// never leaves a truncated file nor harms an existing one.
SaveOutcome saveResult(const Bitmap& canvas, const QString& path,
                       const Picture* source = nullptr);

// Whether an existing file at `path` could be replaced: not a folder, the
// file writable, and its folder writable (the new file is renamed into it).
bool canReplace(const QString& path);

} // namespace kadrix
