#pragma once

// The decoder set-up shared by the whole-picture and the windowed decoders.

#include "jpeg_codec.h"
#include "jpeg_defaults.h"

namespace kadrix::jpegcodec {

// The decoder settings of the last output pass in progressive display.
struct FinalPass {
    J_DCT_METHOD dctMethod;
    boolean twoPassQuantize;
    J_DITHER_MODE ditherMode;
};

// Reads the header and sets the decoder up from the options: scale,
// smoothing, output colour space (blue, green, red for colour), grey and
// palette output, speed settings and progressive display. Throws EJPEG.
FinalPass PrepareDecoder(Decompressor& decompressor, const TJPEGDefaults& options);

} // namespace kadrix::jpegcodec
