#pragma once

// JPEG streams written with libjpeg directly, independent of the program's
// JPEG picture type, for the layouts it never writes. Shared by the tests
// and the fuzz seed maker.

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include <jpeglib.h>

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

// Encodes with the colour space that fits the component count (CMYK files
// carry the Adobe marker, as libjpeg writes it). `configure` may change the
// encoder's settings last, before compression starts (restart markers,
// arithmetic coding, another colour space).
QByteArray encodeRaw(const RawImage& image, const EncodeSettings& settings = {},
                     const TestMarkers& markers = {},
                     const std::function<void(jpeg_compress_struct&)>& configure = {});

} // namespace kadrix::test
