#pragma once

#include "bitmap.h"

namespace kadrix::bench {

// Smooth shapes with sensor-like noise, so that the entropy coder has
// realistic work; the same pixels for the same seed on every run.
Bitmap photoBitmap(int width, int height, unsigned seed);

} // namespace kadrix::bench
