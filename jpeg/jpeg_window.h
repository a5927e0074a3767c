#pragma once

#include "bitmap.h"
#include "jpeg_defaults.h"

#include <QByteArray>
#include <QRect>

#include <optional>

namespace kadrix::jpegcodec {

// Decodes only `window` (in output pixels, at the options' scale) of the
// stream into a 24-bit bitmap of the window's size (clipped to the picture),
// holding exactly the pixels the whole decode has there. Only the rows down
// to the window's bottom edge are read, and only the columns around it are
// turned into pixels, so damage below the window goes unnoticed.
//
// Returns nothing when the options or the stream give anything but 24-bit
// colour without a palette (grey levels, 8-bit output, grey files without
// ExactGrey, CMYK files): those need the whole decode. Throws EJPEG for codec failures.
std::optional<Bitmap> decodeWindow(const QByteArray& data, const TJPEGDefaults& options,
                                   const QRect& window);

} // namespace kadrix::jpegcodec
