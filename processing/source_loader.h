#pragma once

#include "bitmap.h"

namespace kadrix {

class PictureLoader;

// How a source larger than the canvas is decoded: only the part that lands
// on the canvas where the picture type can, or always as a whole (kept to
// compare the two).
enum class SourceDecoding { Windowed, Full };

// Fills `source` with the loaded picture as it composes onto a W x H canvas,
// in 24 bits per pixel. A JPEG picture decoding to 24-bit colour that is
// larger than the canvas on some axis gives only its visible window (see
// visibleWindow()); every other picture gives the whole picture. Either way
// ComposeResult() makes the same canvas of it. Throws the picture's errors.
void assignVisibleSource(const PictureLoader& loader, int W, int H, Bitmap& source,
                         SourceDecoding decoding = SourceDecoding::Windowed);

} // namespace kadrix
