#pragma once

#include "bitmap.h"
#include "decode_mode.h"
#include "frame_geometry.h"
#include "framing_options.h"

#include <QPoint>

namespace kadrix {

class PictureLoader;

// How the framing step decodes each source. One record, so that a new way
// of decoding is one more field here, read in assignVisibleSource().
struct DecodeOptions {
    // Whole is kept to compare with: Window and Seek give the same pixels.
    DecodeMode mode = DecodeMode::Seek;

    friend bool operator==(const DecodeOptions&, const DecodeOptions&) = default;
};

// Fills `source` with the loaded picture as it composes into `frame`, in 24
// bits per pixel, and returns where the top-left pixel of `source` lies in
// the picture. A picture larger than the frame on some axis whose type can
// decode a part alone (Picture::decodeWindow()) gives only the part the
// frame shows (see visibleWindow()); every other picture gives the whole
// picture. A picture with transparency is composed over `wipe` (the canvas
// colour), only where it lands on the canvas; opaque pixels keep their
// values. Throws the picture's errors.
QPoint assignFramedSource(const PictureLoader& loader, const FrameGeometry& frame, Colour wipe,
                          Bitmap& source, const DecodeOptions& decode = {});

// The same for a W x H canvas placed by `anchor`: ComposeResult() with that
// anchor makes the same canvas of `source` as of the whole picture.
void assignVisibleSource(const PictureLoader& loader, int W, int H, Colour wipe, Bitmap& source,
                         const DecodeOptions& decode = {}, Anchor anchor = Anchor::Centre);

} // namespace kadrix
