#pragma once

// EXIF blocks written with libexif, and JPEG streams that carry them.

#include <QByteArray>

namespace kadrix::test {

// An EXIF block ("Exif", two zero bytes, TIFF data) with `orientation` as
// the first directory's Orientation tag (no tag when negative) and a date taken in
// the EXIF directory, in big-endian ("MM") or little-endian ("II") order.
QByteArray exifBlock(int orientation, bool bigEndian = true);

// `jpeg` with an APP1 marker holding `payload` right after its start marker.
QByteArray withApp1(const QByteArray& jpeg, const QByteArray& payload);

} // namespace kadrix::test
