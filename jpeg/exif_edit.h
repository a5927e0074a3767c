#pragma once

#include <QByteArray>

#include <optional>

namespace kadrix {

// How a result differs from the source its EXIF block describes.
struct ExifResultEdit {
    int width = 0;       // the result's size, for PixelXDimension and
    int height = 0;      // PixelYDimension
    bool turned = false; // the pixels were turned upright: Orientation becomes 1
};

// The source's EXIF block ("Exif\0\0" and the TIFF data) edited for a result
// with libexif: Orientation set to 1 when turned, the pixel dimensions set,
// the embedded thumbnail removed (a framed result never matches it), and
// everything else (GPS, maker note, unknown tags) kept as it was. Nothing
// when the block is damaged (libexif reports corrupt data), holds no entry,
// or comes out too large for one APP1 marker.
std::optional<QByteArray> exifForResult(const QByteArray& block, const ExifResultEdit& edit);

} // namespace kadrix
