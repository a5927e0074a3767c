#pragma once

// EXIF blocks written and read back through libexif, for the test files, the
// fuzz seeds and the benchmark sets.

#include <QByteArray>

namespace kadrix::test {

// The fields a test EXIF block is made of.
struct ExifFields {
    bool bigEndian = false;
    int orientation = 0;  // left out when 0
    QByteArray dateTaken; // DateTimeOriginal, left out when empty
    QByteArray make;      // left out when empty
    bool gps = false;     // a GPSLatitudeRef "N"
    bool interoperability = false; // an InteroperabilityIndex "R98"
    QByteArray makerNote;          // left out when empty
    QByteArray thumbnail; // the embedded thumbnail, left out when empty
    int pixelWidth = 0;   // PixelXDimension and PixelYDimension (SHORT),
    int pixelHeight = 0;  // left out when 0
};
// "Exif\0\0" and the TIFF data, as a camera stores it in APP1.
QByteArray makeExif(const ExifFields& fields);

// A camera-like block: `orientation` as the first directory's Orientation tag
// (no tag when not positive) and a date taken in the EXIF directory, in
// big-endian ("MM") or little-endian ("II") order.
QByteArray exifBlock(int orientation, bool bigEndian = true);

// What a test reads back from an EXIF block.
struct ExifFacts {
    bool readable = false;
    int orientation = 0;
    QByteArray dateTaken;
    QByteArray make;
    bool gps = false;
    bool makerNote = false;
    bool thumbnail = false; // embedded data or a thumbnail directory
    long pixelWidth = -1, pixelHeight = -1;
};
ExifFacts readExif(const QByteArray& block);

// `jpeg` with an APP1 marker holding `payload` right after its start marker.
QByteArray withApp1(const QByteArray& jpeg, const QByteArray& payload);

} // namespace kadrix::test
