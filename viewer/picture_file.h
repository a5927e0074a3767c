#pragma once

#include "bitmap.h"

#include <QString>

namespace kadrix {

// Loads a picture file with the type its extension selects and returns it
// as a 24-bit bitmap. Throws the loader's error.
Bitmap loadPictureAs24(const QString& path);

} // namespace kadrix
