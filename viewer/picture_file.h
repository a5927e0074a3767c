#pragma once

#include "bitmap.h"

#include <QString>

namespace kadrix {

// Loads a picture file with the type its extension selects and returns it
// as a 24-bit bitmap, a transparent picture composed over `background` (as
// a result shows it). Throws the loader's error.
Bitmap loadPictureAs24(const QString& path, Colour background);

} // namespace kadrix
