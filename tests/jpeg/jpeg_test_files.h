#pragma once

// JPEG streams made with libjpeg directly, independent of the adapter, for
// layouts the adapter itself never writes.

#include "exif_blocks.h"
#include "raw_jpeg.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace kadrix::test {

// Writes the bytes to a file and returns its path (a failure fails the test).
QString writeBytes(const QString& path, const QByteArray& bytes);

// Three vertical bands: red, green, blue (components in that order).
RawImage colourBands(int width, int height);
// A smooth two-way gradient, in colour or grey.
RawImage gradient(int width, int height, int components = 3);

// Smooth shapes with pixel noise, in colour or grey: every pixel differs from
// its neighbours, so that a wrong neighbour in up-sampling shows.
RawImage photoLike(int width, int height, int components = 3, unsigned seed = 1);

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
