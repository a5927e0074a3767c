#pragma once

// The metadata markers the codec keeps while it reads a header: jpeg_read_header
// drops every application marker unless asked to keep it beforehand.

#include <QByteArray>

#include <cstdio>

#include <jpeglib.h>

namespace kadrix::jpegcodec {

// Asks the codec to keep every APP1 marker of the header (EXIF, and XMP,
// which shares the marker), whole. Call before jpeg_read_header.
void keepExifMarkers(j_decompress_ptr c);

// The payload of the first kept APP1 marker that holds EXIF: the "Exif"
// identifier with its two zero bytes, then the TIFF-structured data. Empty
// when the header has none (or nothing was kept).
QByteArray exifBlockOf(j_decompress_ptr c);

} // namespace kadrix::jpegcodec
