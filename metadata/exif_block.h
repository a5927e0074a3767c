#pragma once

// An EXIF block loaded with libexif, for reading tags from it.

#include <QByteArray>

#include <libexif/exif-data.h>

#include <memory>

namespace kadrix {

struct ExifDataRelease {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};
using ExifDataPtr = std::unique_ptr<ExifData, ExifDataRelease>;

// Loads an EXIF block (the "Exif" identifier, its two zero bytes and the
// TIFF-structured data) as it is stored: nothing is added, corrected or
// dropped (unknown tags included). libexif reads past what it cannot place
// (an offset past the end, a directory met twice, a loop), leaving that
// part out; the block is then judged only on what Kadrix reads of it (see
// orientationEntry()). Null for an empty block, one without any entry in
// its first directory (not TIFF data, a wrong byte order mark, a first
// directory past the end), and when memory runs out.
ExifDataPtr loadExifBlock(const QByteArray& block);

// The value of the first directory's Orientation entry: 0 when there is
// none, -1 when it cannot be read as one SHORT from 1 to 8.
int orientationEntry(ExifData* data);

} // namespace kadrix
