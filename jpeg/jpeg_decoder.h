#pragma once

#include "bitmap.h"
#include "jpeg_defaults.h"
#include "orientation.h"

#include <QByteArray>

namespace kadrix::jpegcodec {

// What the header of a JPEG stream says, read without decoding any pixel.
struct JpegHeader {
    int width = 0;
    int height = 0;
    bool grayScale = false;   // the stream's own colour space is greyscale
    bool progressive = false; // the stream has more than one scan
    // What the EXIF block says turns the stored picture upright (Normal
    // without a block, or with a damaged one).
    Orientation orientation = Orientation::Normal;
};

// Throws EJPEG when the data is not a JPEG stream with an image.
JpegHeader readHeader(const QByteArray& data);

// The size the decoder would output with these options (the full size
// divided by 1, 2, 4 or 8, rounded up), and whether the stream has several
// scans. Throws EJPEG.
struct ScaledSize {
    int width = 0;
    int height = 0;
    bool progressive = false;
};
ScaledSize scaledSize(const QByteArray& data, const TJPEGDefaults& options);

// Decodes the stream: 8 bits per pixel with the codec's palette for grey or
// 8-bit output (at most 236 colours), otherwise 24 bits per pixel in blue,
// green, red order. With ExactGrey, grey files give 24 bits and colour
// turned grey gives 8 bits over the 256 grey levels. Four-component (CMYK, YCCK) streams are converted to 24
// bits whatever the options say. Throws EJPEG for codec failures and Error
// when the output bitmap would be too large.
Bitmap decode(const QByteArray& data, const TJPEGDefaults& options);

} // namespace kadrix::jpegcodec
