#pragma once

// JPEG streams made with libjpeg directly, independent of the adapter, for
// layouts the adapter itself never writes.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace kadrix::test {

struct RawImage {
    int width = 0;
    int height = 0;
    int components = 3;               // 1 grey, 3 red-green-blue, 4 CMYK, 2 unknown
    std::vector<std::uint8_t> pixels; // interleaved rows, top row first
};

struct EncodeSettings {
    int quality = 90;
    bool progressive = false;
    int lumaH = 2, lumaV = 2;     // sampling of the first component (2, 2: 4:2:0)
    unsigned restartInterval = 0; // MCUs between restart markers (0: none)
};

// Metadata written into a test file, each block when not empty.
struct TestMarkers {
    QByteArray exif; // as an APP1 marker
    QByteArray icc;  // with jpeg_write_icc_profile
};

// Writes the bytes to a file and returns its path (a failure fails the test).
QString writeBytes(const QString& path, const QByteArray& bytes);

// Encodes with the colour space that fits the component count (CMYK files
// carry the Adobe marker, as libjpeg writes it).
QByteArray encodeRaw(const RawImage& image, const EncodeSettings& settings = {},
                     const TestMarkers& markers = {});

// Three vertical bands: red, green, blue (components in that order).
RawImage colourBands(int width, int height);
// A smooth two-way gradient, in colour or grey.
RawImage gradient(int width, int height, int components = 3);

// Smooth shapes with pixel noise, in colour or grey: every pixel differs from
// its neighbours, so that a wrong neighbour in up-sampling shows.
RawImage photoLike(int width, int height, int components = 3, unsigned seed = 1);

// The fields a test EXIF block is made of, written through libexif.
struct ExifFields {
    bool bigEndian = false;
    int orientation = 0;       // left out when 0
    QByteArray dateTaken;      // DateTimeOriginal, left out when empty
    QByteArray make;           // left out when empty
    bool gps = false;          // a GPSLatitudeRef "N"
    QByteArray thumbnail;      // the embedded thumbnail, left out when empty
    int pixelWidth = 0;        // PixelXDimension and PixelYDimension (SHORT),
    int pixelHeight = 0;       // left out when 0
};
// "Exif\0\0" and the TIFF data, as a camera stores it in APP1.
QByteArray makeExif(const ExifFields& fields);

// What a test reads back from an EXIF block through libexif.
struct ExifFacts {
    bool readable = false;
    int orientation = 0;
    QByteArray dateTaken;
    QByteArray make;
    bool gps = false;
    bool thumbnail = false; // embedded data or a thumbnail directory
    long pixelWidth = -1, pixelHeight = -1;
};
ExifFacts readExif(const QByteArray& block);

// An ICC profile Qt parses (Adobe RGB), padded with `padding` bytes after
// its tags so that it can be made to span several markers.
QByteArray rgbProfile(int padding = 0);
// The profile's header with another colour model ("GRAY", "CMYK").
QByteArray withColourModel(QByteArray profile, const char (&model)[5]);

// The grey levels libjpeg itself decodes from a stream, one byte per pixel,
// top row first.
std::vector<std::uint8_t> referenceGrey(const QByteArray& jpeg);

// Header fields read back through libjpeg.
struct HeaderFacts {
    int width = 0, height = 0, components = 0;
    bool progressive = false;
    bool baseline = false; // SOF0
    int hSamp[4] = {}, vSamp[4] = {};
    std::vector<unsigned> lumaQuant; // the first quantisation table
};
HeaderFacts inspect(const QByteArray& jpeg);

// The first quantisation table jpeg_set_quality(quality, baseline) makes.
std::vector<unsigned> expectedLumaQuant(int quality);

} // namespace kadrix::test
