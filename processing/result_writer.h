#pragma once

#include "bitmap.h"

#include <QString>

namespace kadrix {

enum class SaveOutcome {
    Saved,
    WriteFailed, // nothing written; an existing target is left as it was
};

// True when the path's extension is ".JPEG" or ".JPG" in any letter case.
bool isJpegPath(const QString& path);

// Writes `canvas` to `path`: JPEG through the JPEG picture type (with the
// options in force) for a JPEG extension, an uncompressed 24-bit BMP
// otherwise. The bytes go to a temporary file beside the target that
// replaces it only once complete and flushed, so a failure never leaves a
// truncated file nor harms an existing one.
SaveOutcome saveResult(const Bitmap& canvas, const QString& path);

// Whether an existing file at `path` could be replaced: not a folder, the
// file writable, and its folder writable (the new file is renamed into it).
bool canReplace(const QString& path);

} // namespace kadrix
