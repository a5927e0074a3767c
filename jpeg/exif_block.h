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
// dropped (unknown tags included), and a save writes the maker note back
// unchanged. Null for an empty block, for one without any entry in its
// first directory, and for a damaged one, which libexif's loader reports
// (a byte order mark that is neither "II" nor "MM", counts or offsets
// reaching past the end, directories that loop); the maker note, which
// cameras fill in their own ways, does not count.
ExifDataPtr loadExifBlock(const QByteArray& block);

} // namespace kadrix
