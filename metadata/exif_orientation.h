#pragma once

#include "orientation.h"

#include <QByteArray>

namespace kadrix {

// The Orientation tag of the first image directory of an EXIF block (as
// exifBlockOf() gives it), read with libexif. A missing or damaged block, a
// missing tag, a tag of the wrong type or a value outside 1 to 8 all mean
// Normal: the picture is then shown as it is stored, never refused.
Orientation exifOrientation(const QByteArray& exifBlock);

} // namespace kadrix
