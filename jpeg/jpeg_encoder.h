#pragma once

#include "bitmap.h"
#include "jpeg_defaults.h"

#include <QByteArray>

namespace kadrix::jpegcodec {

// Encodes the bitmap (8 or 24 bits) with the options' quality (baseline
// tables), colour space, progression and sub-sampling. An empty bitmap gives
// empty data. Throws EJPEG for codec failures.
QByteArray encode(const Bitmap& bitmap, const TJPEGDefaults& options);

} // namespace kadrix::jpegcodec
