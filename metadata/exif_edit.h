#pragma once

#include <QByteArray>

#include <optional>

namespace kadrix {

// The largest EXIF block one JPEG APP1 marker holds (its length field counts
// itself): the bound of an edited block, whatever the result's format.
constexpr qsizetype MaxExifBytes = 65533;

// How a result differs from the source its EXIF block describes.
struct ExifResultEdit {
    int width = 0;       // the result's size, for PixelXDimension and
    int height = 0;      // PixelYDimension
    bool turned = false; // the pixels were turned upright: Orientation becomes 1
};

// The source's EXIF block ("Exif\0\0" and the TIFF data) edited for a result
// with libexif: Orientation set to 1 when turned (or when the source's could
// not be read, so that the picture was framed as stored), the pixel
// dimensions set, the embedded thumbnail and the maker note removed (a framed
// result never matches the one; the other's offsets would no longer hold),
// and everything else (GPS, unknown tags) kept as libexif read it: parts it
// read past (an offset past the end, a directory met twice) are left out.
// Nothing when the block holds no entry (see loadExifBlock()), does not read
// back as written, or comes out too large for one APP1 marker.
std::optional<QByteArray> exifForResult(const QByteArray& block, const ExifResultEdit& edit);

} // namespace kadrix
