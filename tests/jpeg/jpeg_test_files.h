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

// Writes the bytes to a file and returns its path (a failure fails the test).
QString writeBytes(const QString& path, const QByteArray& bytes);

// Encodes with the colour space that fits the component count (CMYK files
// carry the Adobe marker, as libjpeg writes it).
QByteArray encodeRaw(const RawImage& image, const EncodeSettings& settings = {});

// Three vertical bands: red, green, blue (components in that order).
RawImage colourBands(int width, int height);
// A smooth two-way gradient, in colour or grey.
RawImage gradient(int width, int height, int components = 3);

// Smooth shapes with pixel noise, in colour or grey: every pixel differs from
// its neighbours, so that a wrong neighbour in up-sampling shows.
RawImage photoLike(int width, int height, int components = 3, unsigned seed = 1);

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
