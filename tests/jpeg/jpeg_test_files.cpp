#include "jpeg_test_files.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <jpeglib.h>

namespace kadrix::test {

QString writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

QByteArray encodeRaw(const RawImage& image, const EncodeSettings& settings) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(image.width);
    c.image_height = JDIMENSION(image.height);
    c.input_components = image.components;
    c.in_color_space = image.components == 1   ? JCS_GRAYSCALE
                       : image.components == 3 ? JCS_RGB
                       : image.components == 4 ? JCS_CMYK
                                               : JCS_UNKNOWN;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, settings.quality, TRUE);
    if (settings.progressive)
        jpeg_simple_progression(&c);
    if (image.components == 3) {
        c.comp_info[0].h_samp_factor = settings.lumaH;
        c.comp_info[0].v_samp_factor = settings.lumaV;
    }
    c.restart_interval = settings.restartInterval;
    jpeg_start_compress(&c, TRUE);
    const std::size_t stride = std::size_t(image.width) * std::size_t(image.components);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + stride * c.next_scanline);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
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

HeaderFacts inspect(const QByteArray& jpeg) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d, TRUE);
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
    jpeg_destroy_decompress(&d);
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
