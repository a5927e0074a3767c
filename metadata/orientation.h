#pragma once

// How a camera stored a picture relative to the way it is meant to be seen,
// as the EXIF Orientation tag says, and the two rules that follow from it:
// which stored pixels an upright rectangle comes from, and how a stored
// bitmap is turned upright.

#include "bitmap.h"
#include "rows.h"

#include <memory>

#include <QRect>
#include <QSize>

#include <cstdint>

namespace kadrix {

// The EXIF Orientation values. The names say what turns the stored picture
// upright.
enum class Orientation : std::uint8_t {
    Normal = 1,
    MirrorHorizontal = 2,
    Rotate180 = 3,
    MirrorVertical = 4,
    Transpose = 5,  // mirror horizontally, then rotate 270 degrees clockwise
    Rotate90 = 6,   // rotate 90 degrees clockwise
    Transverse = 7, // mirror horizontally, then rotate 90 degrees clockwise
    Rotate270 = 8,  // rotate 270 degrees clockwise
};

// The orientation a tag value names; Normal for anything outside 1 to 8.
Orientation orientationFromTag(long value);

// Transpose, Rotate90, Transverse and Rotate270 exchange width and height.
bool swapsAxes(Orientation orientation);

// The size of the upright picture of a stored picture of size `stored`.
QSize uprightSize(Orientation orientation, QSize stored);

// The stored pixels that the pixels of `upright` (a rectangle of the upright
// picture, inside it) come from: a rectangle of the stored picture whose
// turned bitmap is exactly that part of the upright picture. Empty for an
// empty rectangle.
QRect storedRect(Orientation orientation, QSize stored, const QRect& upright);

// The upright picture of a stored bitmap (8 or 24 bits, palette kept).
Bitmap turnUpright(Bitmap stored, Orientation orientation);

// The rows of turnUpright() of a 24-bit stored bitmap, turned a band of rows
// at a time as they are read, without a turned copy of the whole.
std::unique_ptr<RowSource> uprightRows(Bitmap stored, Orientation orientation);
// The bytes uprightRows() holds besides the stored bitmap: its band of
// upright rows, `uprightWidth` pixels wide.
qint64 uprightRowsBytes(int uprightWidth);

} // namespace kadrix
