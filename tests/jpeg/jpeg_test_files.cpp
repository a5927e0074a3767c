#include "jpeg_test_files.h"

#include <QColorSpace>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include <jpeglib.h>

namespace kadrix::test {

QString writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

RawImage colourBands(int width, int height) {
    RawImage image{width, height, 3, {}};
    image.pixels.resize(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t(y) * width + x) * 3];
            const int band = x * 3 / width;
            p[0] = band == 0 ? 255 : 0;
            p[1] = band == 1 ? 255 : 0;
            p[2] = band == 2 ? 255 : 0;
        }
    return image;
}

RawImage gradient(int width, int height, int components) {
    RawImage image{width, height, components, {}};
    image.pixels.resize(std::size_t(width) * height * components);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < components; ++k)
                image.pixels[(std::size_t(y) * width + x) * components + k] =
                    std::uint8_t((x * 255 / std::max(width - 1, 1) + k * 60 +
                                  y * 128 / std::max(height - 1, 1)) %
                                 256);
    return image;
}

RawImage photoLike(int width, int height, int components, unsigned seed) {
    RawImage image{width, height, components, {}};
    image.pixels.resize(std::size_t(width) * height * components);
    std::mt19937 noise(seed);
    std::uniform_int_distribution<int> grain(-40, 40);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < components; ++k) {
                const double u = double(x) / width, v = double(y) / height;
                const double base = 128 + 90 * std::sin(7.0 * u + 3.0 * v + 2.0 * k);
                image.pixels[(std::size_t(y) * width + x) * components + k] =
                    std::uint8_t(std::clamp(int(base) + grain(noise), 0, 255));
            }
    return image;
}

QByteArray rgbProfile(int padding) {
    QByteArray profile = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    profile.append(QByteArray(padding, '\x5A'));
    const quint32 size = quint32(profile.size());
    for (int i = 0; i < 4; ++i)
        profile[i] = char((size >> (24 - 8 * i)) & 0xFF);
    return profile;
}

QByteArray withColourModel(QByteArray profile, const char (&model)[5]) {
    profile.replace(16, 4, QByteArray(model, 4));
    return profile;
}

namespace {

// libjpeg's own decoder over a stream in memory, its header read; released
// on every path out.
struct HeaderReader {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};

    explicit HeaderReader(const QByteArray& jpeg) {
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                     static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&d, TRUE);
    }
    ~HeaderReader() { jpeg_destroy_decompress(&d); }
    HeaderReader(const HeaderReader&) = delete;
    HeaderReader& operator=(const HeaderReader&) = delete;
};

} // namespace

std::vector<std::uint8_t> referenceGrey(const QByteArray& jpeg) {
    HeaderReader reader(jpeg);
    jpeg_decompress_struct& d = reader.d;
    d.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&d);
    std::vector<std::uint8_t> levels(std::size_t(d.output_width) * d.output_height);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = levels.data() + std::size_t(d.output_scanline) * d.output_width;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    return levels;
}

HeaderFacts inspect(const QByteArray& jpeg) {
    HeaderReader reader(jpeg);
    const jpeg_decompress_struct& d = reader.d;
    HeaderFacts facts;
    facts.width = int(d.image_width);
    facts.height = int(d.image_height);
    facts.components = d.num_components;
    facts.progressive = d.progressive_mode != FALSE;
    facts.baseline = !d.progressive_mode && !d.arith_code && jpeg.contains("\xFF\xC0");
    for (int i = 0; i < d.num_components && i < 4; ++i) {
        facts.hSamp[i] = d.comp_info[i].h_samp_factor;
        facts.vSamp[i] = d.comp_info[i].v_samp_factor;
    }
    if (d.quant_tbl_ptrs[0] != nullptr)
        facts.lumaQuant.assign(d.quant_tbl_ptrs[0]->quantval, d.quant_tbl_ptrs[0]->quantval + 64);
    return facts;
}

std::vector<unsigned> expectedLumaQuant(int quality) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    c.in_color_space = JCS_RGB;
    c.input_components = 3;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    std::vector<unsigned> table(c.quant_tbl_ptrs[0]->quantval, c.quant_tbl_ptrs[0]->quantval + 64);
    jpeg_destroy_compress(&c);
    return table;
}

} // namespace kadrix::test
