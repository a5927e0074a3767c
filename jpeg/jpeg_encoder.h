#pragma once

#include "bitmap.h"
#include "jpeg_defaults.h"
#include "picture.h"

#include <QByteArray>

namespace kadrix::jpegcodec {

// Encodes the bitmap (8 or 24 bits) with the options' quality (baseline
// tables), colour space, progression and sub-sampling. The EXIF block and
// the ICC profile of `markers` are written as they are (the profile spread
// over as many markers as it needs); one too large for its markers is left
// out. An empty bitmap gives empty data. Throws EJPEG for codec failures.
QByteArray encode(const Bitmap& bitmap, const TJPEGDefaults& options,
                  const PictureMetadata& markers = {});

} // namespace kadrix::jpegcodec
