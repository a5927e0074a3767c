#pragma once

#include "picture.h"

namespace kadrix {

// What of a source's metadata a JPEG result of width x height carries: the
// colour profile when it is readable, of the result's colour model (grey
// levels or colour) and fits its markers; the EXIF block edited for the
// result (see exifForResult), or none when it is damaged or too large.
PictureMetadata jpegResultMetadata(const PictureMetadata& source, int width, int height,
                                   bool greyResult);

} // namespace kadrix
