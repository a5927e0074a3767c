#pragma once

#include "bitmap.h"
#include "decode_mode.h"
#include "framing_options.h"

namespace kadrix {

class PictureLoader;

// How the framing step decodes each source. One record, so that a new way
// of decoding is one more field here, read in assignVisibleSource().
struct DecodeOptions {
    // Whole is kept to compare with: Window and Seek give the same pixels.
    DecodeMode mode = DecodeMode::Seek;

    friend bool operator==(const DecodeOptions&, const DecodeOptions&) = default;
};

// Fills `source` with the loaded picture as it composes onto a W x H canvas,
// in 24 bits per pixel. A picture larger than the canvas on some axis whose
// type can decode a part alone (Picture::decodeWindow()) gives only its
// visible window with that anchor (see visibleWindow()); every other picture
// gives the whole picture. A picture with transparency is composed over
// `wipe` (the canvas colour), only where it lands on the canvas; opaque
// pixels keep their values. Either way ComposeResult() makes the same canvas
// of it. Throws the picture's errors.
void assignVisibleSource(const PictureLoader& loader, int W, int H, Colour wipe, Bitmap& source,
                         const DecodeOptions& decode = {}, Anchor anchor = Anchor::Centre);

} // namespace kadrix
