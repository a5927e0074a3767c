#pragma once

#include "bitmap.h"
#include "jpeg_defaults.h"
#include "jpeg_error.h"
#include "picture.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <optional>

class QIODevice;

namespace kadrix::jpegcodec {

class Compressor;

// Encodes the bitmap (8 or 24 bits) with the options' quality (baseline
// tables), colour space, progression and sub-sampling. The EXIF block and
// the ICC profile of `markers` are written as they are (the profile spread
// over as many markers as it needs); one too large for its markers is left
// out. An empty bitmap gives empty data. Throws EJPEG for codec failures.
QByteArray encode(const Bitmap& bitmap, const TJPEGDefaults& options,
                  const PictureMetadata& markers = {});

// The same encoding of a width x height picture (neither 0) given a 24-bit
// row at a time from the top and written to `device` as the codec goes:
// the bytes encode() gives for those pixels. Throws EJPEG for codec failures,
// a device that takes fewer bytes included.
class RowEncoder {
public:
    RowEncoder(QIODevice& device, int width, int height, const TJPEGDefaults& options,
               const PictureMetadata& markers = {});
    ~RowEncoder();
    RowEncoder(const RowEncoder&) = delete;
    RowEncoder& operator=(const RowEncoder&) = delete;

    // The next row (width pixels, blue, green, red); the codec only reads it.
    void write(const std::uint8_t* row);
    // Ends the stream once every row is written.
    void finish();

    // The error the codec throws for a picture of that size before any row,
    // whatever its pixels (a side past 65500), or nothing when it takes it.
    static std::optional<EJPEG> refusal(int width, int height);

    // The most memory an encoder of a width x height picture with `options`
    // holds: its rows and blocks of a few MCU rows, and for a progressive
    // file the coefficients of the whole picture (2 bytes a sample).
    static qint64 heldBytes(int width, int height, const TJPEGDefaults& options);

private:
    std::unique_ptr<Compressor> compressor_;
};

} // namespace kadrix::jpegcodec
